#include "TextDecoding.h"

#include <cerrno>
#include <iconv.h>
#include <utility>

namespace {

// What reading a sample in one encoding makes of it: faults (an invalid sequence counts
// 8, a half-width katakana 1: real text rarely has them, other encodings read this way
// produce many) and the multi-byte characters read.
struct Reading {
    int faults = 0;
    int characters = 0;
    // Fewer faults first, then more characters.
    bool betterThan(const Reading& o) const {
        return faults != o.faults ? faults < o.faults : characters > o.characters;
    }
};

// A character cut off at the sample's end is no fault.
Reading readUtf8(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const qsizetype n = s.size();
    Reading r;
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
            more = -1;
        int k = 1;
        while (more > 0 && k <= more && i + k < n && (p[i + k] & 0xC0) == 0x80) ++k;
        if (more < 0 || (k <= more && i + k < n)) {
            r.faults += 8;
            i += k;
            continue;
        }
        if (more > 0) ++r.characters;
        i += more + 1;
    }
    return r;
}

Reading readShiftJis(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    Reading r;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const unsigned char c = p[i];
        if (c < 0x80) continue;
        if (c >= 0xA1 && c <= 0xDF) {
            ++r.faults;
            continue;
        }
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= s.size()) break;
            const unsigned char t = p[i + 1];
            if (t >= 0x40 && t <= 0xFC && t != 0x7F) {
                ++i;
                ++r.characters;
            } else {
                r.faults += 8;
            }
            continue;
        }
        r.faults += 8;
    }
    return r;
}

Reading readEucJp(QByteArrayView s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    Reading r;
    auto inRange = [&](qsizetype i) { return i < s.size() && p[i] >= 0xA1 && p[i] <= 0xFE; };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const unsigned char c = p[i];
        if (c < 0x80) continue;
        if (i + 1 >= s.size()) break;
        if (c == 0x8E) {
            if (p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF) {
                ++r.faults;
                ++i;
            } else {
                r.faults += 8;
            }
        } else if (c == 0x8F) {
            if (inRange(i + 1) && inRange(i + 2)) {
                i += 2;
                ++r.characters;
            } else {
                r.faults += 8;
            }
        } else if (c >= 0xA1 && c <= 0xFE && inRange(i + 1)) {
            ++i;
            ++r.characters;
        } else {
            r.faults += 8;
        }
    }
    return r;
}

// Bytes no text holds: NUL and the control codes other than tab, line ends, form
// feed and escape.
qsizetype controlBytes(QByteArrayView s) {
    qsizetype n = 0;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B) ++n;
    }
    return n;
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
    if (sample.startsWith("\xEF\xBB\xBF")) return TextEncoding::Utf8;
    TextEncoding best = TextEncoding::Utf8;
    Reading bestReading = readUtf8(sample);
    for (const auto& [encoding, reading] : {std::pair{TextEncoding::ShiftJis, readShiftJis(sample)},
                                            std::pair{TextEncoding::EucJp, readEucJp(sample)}}) {
        if (reading.betterThan(bestReading)) {
            best = encoding;
            bestReading = reading;
        }
    }
    // More than one byte in twenty that is no text in any reading: not a text file.
    const qsizetype bad = controlBytes(sample) + bestReading.faults / 8;
    return bad * 20 > sample.size() ? TextEncoding::NotText : best;
}

qsizetype wholeCharacters(QByteArrayView bytes, TextEncoding encoding) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    if (encoding == TextEncoding::Utf8) {
        // Back over continuation bytes to the last lead byte; keep it only when whole.
        qsizetype lead = n;
        while (lead > 0 && n - lead < 4 && (p[lead - 1] & 0xC0) == 0x80) --lead;
        if (lead == 0 || p[lead - 1] < 0xC0) return n;
        const unsigned char c = p[lead - 1];
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        return n - (lead - 1) >= length ? n : lead - 1;
    }
    // The multi-byte encodings are read from the piece's start, a character boundary.
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        qsizetype length = 1;
        if (encoding == TextEncoding::ShiftJis)
            length = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
        else if (encoding == TextEncoding::EucJp)
            length = c == 0x8F ? 3 : (c == 0x8E || (c >= 0xA1 && c <= 0xFE)) ? 2 : 1;
        if (i + length > n) return i;
        i += length;
    }
    return n;
}

TextDecoder::TextDecoder(TextEncoding encoding) : encoding_(encoding) {
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::NotText) return;
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
