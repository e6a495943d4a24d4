#include "KanaText.h"

#include <string_view>

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
        if (isTypeable(c) || isIterationMark(c)) out += c;
    }
    return out;
}

namespace {

constexpr std::u16string_view kVoicable = u"かきくけこさしすせそたちつてとはひふへほ";

// A hiragana in the script of like.
QChar inScriptOf(char16_t hiragana, QChar like) {
    const bool katakana = like.unicode() >= 0x30A1 && like.unicode() <= 0x30F6;
    return QChar(char16_t(katakana ? hiragana + 0x60 : hiragana));
}

} // namespace

QChar withVoicing(QChar c, Voicing mark) {
    const char16_t h = toHiragana(c).unicode();
    if (mark == Voicing::Voiced && h == u'う') return inScriptOf(u'ゔ', c);
    if (mark == Voicing::None || kVoicable.find(h) == std::u16string_view::npos) return c;
    if (mark == Voicing::Voiced) return inScriptOf(char16_t(h + 1), c);
    return h >= u'は' ? inScriptOf(char16_t(h + 2), c) : c;
}

std::pair<QChar, Voicing> splitVoicing(QChar c) {
    const char16_t h = toHiragana(c).unicode();
    if (h == u'ゔ') return {inScriptOf(u'う', c), Voicing::Voiced};
    for (char16_t base : kVoicable) {
        if (h == base + 1) return {inScriptOf(base, c), Voicing::Voiced};
        if (base >= u'は' && h == base + 2) return {inScriptOf(base, c), Voicing::SemiVoiced};
    }
    return {c, Voicing::None};
}

QString foldHalfWidthKana(QStringView s) {
    // ｦ to ﾝ, in code order.
    static constexpr std::u16string_view kFull =
        u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチ"
        u"ツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (u < 0xFF61 || u > 0xFF9F) {
            out += s[i];
            continue;
        }
        switch (u) {
        case 0xFF61:
            out += u'。';
            continue;
        case 0xFF62:
            out += u'「';
            continue;
        case 0xFF63:
            out += u'」';
            continue;
        case 0xFF64:
            out += u'、';
            continue;
        case 0xFF65:
            out += u'・';
            continue;
        case 0xFF9E:
            out += u'゛';
            continue;
        case 0xFF9F:
            out += u'゜';
            continue;
        default:
            break;
        }
        const QChar c(kFull[u - 0xFF66]);
        const char16_t next = i + 1 < s.size() ? s[i + 1].unicode() : 0;
        const Voicing mark = next == 0xFF9E   ? Voicing::Voiced
                             : next == 0xFF9F ? Voicing::SemiVoiced
                                              : Voicing::None;
        const QChar marked = withVoicing(c, mark);
        if (marked != c) ++i; // the mark is part of the kana
        out += marked;
    }
    return out;
}

bool isIterationMark(QChar c) {
    const char16_t u = c.unicode();
    return u == 0x309D || u == 0x309E || u == 0x30FD || u == 0x30FE || (u >= 0x3033 && u <= 0x3035);
}

QString expandIterationMarks(QStringView reading, QString& before) {
    QString out;
    auto kanaBack = [&](qsizetype n) { // the kana n back, over this reading and before
        const qsizetype at = out.size() - n;
        if (at >= 0) return out[at];
        const qsizetype b = before.size() + at;
        return b >= 0 ? before[b] : QChar();
    };
    const auto voiced = [](QChar c) { return withVoicing(c, Voicing::Voiced); };
    const auto unvoiced = [](QChar c) { return splitVoicing(c).first; };
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const QChar c = reading[i];
        const char16_t u = c.unicode();
        if (u == 0x309D || u == 0x30FD || u == 0x309E || u == 0x30FE) {
            const QChar prev = kanaBack(1);
            if (isHiragana(prev) || isKatakana(prev))
                out += (u == 0x309E || u == 0x30FE) ? voiced(prev) : unvoiced(prev);
        } else if ((u == 0x3033 || u == 0x3034) && i + 1 < reading.size() &&
                   reading[i + 1].unicode() == 0x3035) {
            const QChar first = kanaBack(2), second = kanaBack(1);
            if (!first.isNull()) out += u == 0x3034 ? voiced(first) : unvoiced(first);
            if (!second.isNull()) out += second;
            ++i;
        } else if (!isIterationMark(c)) {
            out += c;
        }
    }
    before += out;
    return out;
}

bool needsReading(QStringView s) {
    for (QChar c : s)
        if (isKanji(c)) return true;
    return false;
}

} // namespace kana
