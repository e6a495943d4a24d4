#include "TextBytes.h"

QByteArray captionBytes(const QString& s) {
    QByteArray out;
    out.reserve(s.size() * 2);
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(char(u));
        } else if (u >= 0xFF61 && u <= 0xFF9F) {
            out.append(char(0xA1 + (u - 0xFF61)));
        } else if (u == 0x00A5) { // the yen sign is the byte 0x5C of the code page
            out.append('\\');
        } else if (!ch.isLowSurrogate()) {
            out.append(char(0x81)).append(char(0x48));
        }
    }
    return out;
}

QString byteText(char c) {
    return QString(QChar(char16_t(static_cast<unsigned char>(c))));
}
