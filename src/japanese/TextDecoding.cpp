#include "TextDecoding.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Whether the sample is UTF-8, allowing a character cut off at its end.
bool isUtf8(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int more = 0;
        if (c < 0x80)
            more = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n) return true;
            if ((p[i + k] & 0xC0) != 0x80) return false;
        }
        i += more + 1;
    }
    return true;
}

// Faults of a reading: an invalid sequence counts 8, a half-width katakana 1 (real
// text rarely has them, other encodings read as Shift-JIS produce many).
int shiftJisFaults(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    int faults = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const unsigned char c = p[i];
        if (c < 0x80) continue;
        if (c >= 0xA1 && c <= 0xDF) {
            ++faults;
            continue;
        }
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= s.size()) break;
            const unsigned char t = p[i + 1];
            if (t >= 0x40 && t <= 0xFC && t != 0x7F)
                ++i;
            else
                faults += 8;
            continue;
        }
        faults += 8;
    }
    return faults;
}

int eucJpFaults(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    int faults = 0;
    auto inRange = [&](qsizetype i) { return i < s.size() && p[i] >= 0xA1 && p[i] <= 0xFE; };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const unsigned char c = p[i];
        if (c < 0x80) continue;
        if (i + 1 >= s.size()) break;
        if (c == 0x8E) {
            if (p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF) {
                ++faults;
                ++i;
            } else {
                faults += 8;
            }
        } else if (c == 0x8F) {
            if (inRange(i + 1) && inRange(i + 2))
                i += 2;
            else
                faults += 8;
        } else if (c >= 0xA1 && c <= 0xFE && inRange(i + 1)) {
            ++i;
        } else {
            faults += 8;
        }
    }
    return faults;
}

// Control characters other than tabs and line ends carry nothing to show or type.
QString withoutControls(QString text) {
    text.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || (u >= 0x7F && u < 0xA0);
    });
    return text;
}

} // namespace

TextEncoding detectEncoding(QByteArrayView sample) {
    if (sample.startsWith("\xEF\xBB\xBF") || isUtf8(sample)) return TextEncoding::Utf8;
    return eucJpFaults(sample) < shiftJisFaults(sample) ? TextEncoding::EucJp
                                                        : TextEncoding::ShiftJis;
}

TextDecoder::TextDecoder(TextEncoding encoding) : encoding_(encoding) {
    if (encoding == TextEncoding::Utf8) return;
    const iconv_t cd = iconv_open("UTF-8", encoding == TextEncoding::ShiftJis ? "CP932" : "EUC-JP");
    if (cd != iconv_t(-1)) iconv_ = cd;
}

TextDecoder::~TextDecoder() {
    if (iconv_) iconv_close(iconv_t(iconv_));
}

QString TextDecoder::decode(QByteArrayView bytes) {
    if (encoding_ == TextEncoding::Utf8) {
        if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
        QString text = QString::fromUtf8(bytes);
        text.remove(QChar::ReplacementCharacter);
        return withoutControls(std::move(text));
    }
    if (!iconv_) return {};
    const iconv_t cd = iconv_t(iconv_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray out(bytes.size() * 3 + 8, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char* dst = out.data();
    std::size_t outLeft = std::size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != std::size_t(-1)) break;
        if (errno == EILSEQ) { // not text: skip the byte and carry on
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            break; // a character cut off at the end, or (never) a full buffer
        }
    }
    out.truncate(dst - out.data());
    return withoutControls(QString::fromUtf8(out));
}
