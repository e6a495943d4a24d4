#include "KanaText.h"

namespace kana {

bool isHiragana(QChar c) {
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3096;
}

bool isKatakana(QChar c) {
    return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c.unicode() == 0x30FC;
}

bool isKanji(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0xF900 && u <= 0xFAFF) || u == 0x3005 || u == 0x3006 || c.isHighSurrogate() ||
           c.isLowSurrogate();
}

QChar toHiragana(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x30A1 && u <= 0x30F6) return QChar(char16_t(u - 0x60));
    return c;
}

QString toHiragana(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) out += toHiragana(c);
    return out;
}

QChar foldWidth(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E) return QChar(char16_t(u - 0xFEE0));
    if (u == 0x301C) return QChar(u'~');
    return c;
}

char punctuationAscii(QChar c) {
    switch (c.unicode()) {
    case u'、':
        return ',';
    case u'。':
        return '.';
    case u'・':
        return '/';
    case u'「':
        return '[';
    case u'」':
        return ']';
    case u'ー':
        return '-';
    default:
        return 0;
    }
}

bool isTypeable(QChar c) {
    const char16_t u = c.unicode();
    if (u > 0x20 && u < 0x7F) return true;
    if (isHiragana(c)) return true;
    if (u >= 0x30A1 && u <= 0x30F6) return true;
    return punctuationAscii(c) != 0;
}

QString typeablePart(QStringView s) {
    QString out;
    for (QChar c : s) {
        c = foldWidth(c);
        if (isTypeable(c)) out += c;
    }
    return out;
}

bool needsReading(QStringView s) {
    for (QChar c : s)
        if (isKanji(c)) return true;
    return false;
}

} // namespace kana
