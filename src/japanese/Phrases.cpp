#include "Phrases.h"

#include "ETextNotation.h"
#include "KanaText.h"

namespace {

constexpr int kLongestPhrase = 40;
// Half-width columns of the written phrase: the prompt shows it at a readable size.
constexpr int kLongestWritten = 48;

// Words of plain text without a dictionary: runs between spaces, each closed by
// punctuation.
std::vector<Morpheme> splitWithoutDictionary(QStringView text) {
    std::vector<Morpheme> out;
    Morpheme m;
    auto close = [&](int at, bool spaceNext) {
        if (!m.surface.isEmpty()) {
            m.end = at;
            m.pos1 = QStringLiteral("その他"); // each run is a phrase of its own
            out.push_back(m);
        }
        m = Morpheme{};
        m.spaceBefore = spaceNext;
        m.start = at;
    };
    for (int i = 0; i < int(text.size()); ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            close(i, true);
            m.start = i + 1;
            continue;
        }
        m.surface += c;
        if (QStringView(u"、。！？!?,.").contains(c) || m.surface.size() >= kLongestPhrase)
            close(i + 1, false);
    }
    close(int(text.size()), false);
    return out;
}

QString readingOf(const Morpheme& m) {
    if (m.pos1 == u"記号" || !kana::needsReading(m.surface)) return kana::typeablePart(m.surface);
    if (!m.reading.isEmpty()) return kana::toHiragana(kana::typeablePart(m.reading));
    return kana::typeablePart(m.surface);
}

// Half-width columns: a full-width character takes two.
int columns(QStringView s) {
    int n = 0;
    for (QChar c : s)
        n += c.unicode() < 0x100 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
    return n;
}

// The analysis with the digits full-width, as the dictionary reads numbers, so that a
// counter after them reads as one (月 がつ, not つき); the words keep the text's digits.
std::vector<Morpheme> analyseWithDigits(ReadingSource& reader, QStringView text) {
    QString wide = text.toString();
    for (QChar& c : wide)
        if (c >= u'0' && c <= u'9') c = QChar(char16_t(c.unicode() - u'0' + 0xFF10));
    std::vector<Morpheme> out = reader.analyse(wide);
    for (Morpheme& m : out) {
        if (m.start < 0 || m.end > text.size() || m.start > m.end) continue;
        m.surface = text.sliced(m.start, m.end - m.start).toString();
        // A number and its counter read as one word (１月 イチガツ): the digits are
        // typed as digits, so their own reading gives way to them.
        qsizetype digits = 0;
        while (digits < m.surface.size() && m.surface[digits].isDigit()) ++digits;
        if (digits == 0 || digits == m.surface.size() || m.reading.isEmpty()) continue;
        QString number;
        for (const Morpheme& d : reader.analyse(QStringView(wide).sliced(m.start, digits)))
            number += d.reading;
        if (!number.isEmpty() && m.reading.startsWith(number))
            m.reading = m.surface.first(digits) + m.reading.sliced(number.size());
    }
    return out;
}

// The reading of a word the dictionary has none for, kanji by kanji (々 repeating the
// one before); empty when a kanji has no reading either.
QString readingByKanji(ReadingSource& reader, QStringView surface) {
    QString out, last;
    for (qsizetype i = 0; i < surface.size(); ++i) {
        const qsizetype n = surface[i].isHighSurrogate() && i + 1 < surface.size() ? 2 : 1;
        const QStringView c = surface.sliced(i, n);
        i += n - 1;
        if (!kana::needsReading(c)) {
            out += kana::typeablePart(c);
            continue;
        }
        if (c == u"々" && !last.isEmpty()) {
            out += last;
            continue;
        }
        const std::vector<Morpheme> m = reader.analyse(c);
        if (m.size() != 1 || m[0].reading.isEmpty()) return {};
        last = kana::toHiragana(kana::typeablePart(m[0].reading));
        out += last;
    }
    return out;
}

bool startsPhrase(const Morpheme& m, const Morpheme* prev) {
    if (!prev || m.spaceBefore) return true;
    if (prev->pos1 == u"記号")
        return prev->pos2 != u"括弧開"; // after punctuation, except an opening bracket
    if (prev->pos1 == u"接頭詞") return false;
    if (m.pos1 == u"助詞" || m.pos1 == u"助動詞") return false;
    if (m.pos1 == u"記号") return m.pos2 == u"括弧開" || m.pos2 == u"空白";
    if (m.pos2 == u"接尾" || m.pos2 == u"非自立") return false;
    return !(m.pos1 == u"名詞" && prev->pos1 == u"名詞");
}

struct Word {
    Morpheme m;
    bool unreadable = false; // needs a dictionary there is none of
    bool noReading = false;  // a kanji the dictionary has no reading for
};

// Words longer than a phrase may be in pieces that fit; a piece of a word the
// dictionary read whole is read again kanji by kanji.
void splitLongWords(std::vector<Word>& words, ReadingSource& reader) {
    std::vector<Word> out;
    for (Word& w : words) {
        const bool own = !kana::needsReading(w.m.surface) || w.unreadable || w.noReading;
        if (columns(w.m.surface) <= kLongestWritten && w.m.surface.size() <= kLongestPhrase) {
            out.push_back(std::move(w));
            continue;
        }
        for (qsizetype at = 0; at < w.m.surface.size();) {
            qsizetype n = 0;
            int width = 0;
            while (at + n < w.m.surface.size()) {
                const int c = columns(w.m.surface.sliced(at + n, 1));
                if (width + c > kLongestWritten || n >= kLongestPhrase) break;
                width += c;
                ++n;
            }
            // Not between a kana and the small kana or long-vowel mark after it, nor
            // after a small tsu: each piece is typed alone.
            static constexpr QStringView kLeansBack = u"ぁぃぅぇぉゃゅょゎァィゥェォャュョヮー";
            while (n > 1 && at + n < w.m.surface.size() &&
                   (kLeansBack.contains(w.m.surface[at + n]) ||
                    QStringView(u"っッ").contains(w.m.surface[at + n - 1])))
                --n;
            if (w.m.surface[at + n - 1].isHighSurrogate() && n > 1) --n;
            Word piece = w;
            piece.m.surface = w.m.surface.sliced(at, n);
            piece.m.start = w.m.start + int(at);
            piece.m.end = piece.m.start + int(n);
            piece.m.spaceBefore = at == 0 && w.m.spaceBefore;
            if (!own) {
                piece.m.reading = readingByKanji(reader, piece.m.surface);
                piece.noReading = piece.m.reading.isEmpty();
            }
            out.push_back(std::move(piece));
            at += n;
        }
    }
    words = std::move(out);
}

// Counts the blank that join() may put between them.
bool fits(const Phrase& a, const Phrase& b) {
    return a.reading.size() + b.reading.size() <= kLongestPhrase &&
           columns(a.written) + columns(b.written) + 1 <= kLongestWritten;
}

// b joined to the end of a, with the space between them on the line.
void join(Phrase& a, const Phrase& b, QStringView line) {
    if (b.start > a.end && a.end < line.size() && line[a.end].isSpace()) a.written += u' ';
    a.written += b.written;
    a.reading += b.reading;
    a.end = b.end;
    a.skipped += b.skipped;
}

bool opens(QStringView written) {
    if (written.isEmpty()) return false;
    const QChar::Category c = written.back().category();
    return c == QChar::Punctuation_Open || c == QChar::Punctuation_InitialQuote;
}

// Phrases with nothing to type (symbols only, or skipped for a kanji without a
// reading) lead the phrase after them; one-key fragments (a lone particle, a bracket,
// each dot of "...") join a neighbour, an opening bracket the phrase after it.
void joinFragments(std::vector<Phrase>& phrases, QStringView line) {
    for (std::size_t i = 0; i < phrases.size();) {
        Phrase& p = phrases[i];
        const bool empty = p.reading.isEmpty();
        if (!empty && p.reading.size() != 1) {
            ++i;
            continue;
        }
        const bool hasNext = i + 1 < phrases.size() && fits(p, phrases[i + 1]);
        const bool hasPrev = i > 0 && fits(phrases[i - 1], p);
        if ((empty || opens(p.written) || !hasPrev) && hasNext) {
            Phrase merged = p;
            join(merged, phrases[i + 1], line);
            phrases[i + 1] = std::move(merged);
            phrases.erase(phrases.begin() + std::ptrdiff_t(i));
        } else if (hasPrev) {
            join(phrases[i - 1], p, line);
            phrases.erase(phrases.begin() + std::ptrdiff_t(i));
            i -= 1;
        } else if (empty && p.skipped == 0) {
            phrases.erase(phrases.begin() + std::ptrdiff_t(i));
        } else {
            ++i;
        }
    }
}

} // namespace

LinePhrases phrasesOfLine(QStringView rawLine, ReadingSource& reader) {
    const QString line = kana::foldHalfWidthKana(rawLine);
    std::vector<Word> words;
    LinePhrases out;
    for (const NotationPiece& piece : parseNotation(line)) {
        // A ruby too long for one phrase is left aside: its base is read as plain text.
        if (!piece.ruby.isEmpty() && columns(piece.text) <= kLongestWritten &&
            piece.ruby.size() <= kLongestPhrase) {
            Morpheme m;
            m.surface = piece.text;
            m.reading = piece.ruby;
            m.pos1 = QStringLiteral("名詞");
            m.start = piece.rawStart;
            m.end = piece.rawEnd;
            words.push_back({std::move(m)});
            continue;
        }
        const bool needs = kana::needsReading(piece.text);
        const bool dictionary = needs && reader.available();
        auto morphemes =
            dictionary ? analyseWithDigits(reader, piece.text) : splitWithoutDictionary(piece.text);
        for (Morpheme& m : morphemes) {
            m.start += piece.rawStart;
            m.end += piece.rawStart;
            Word w{std::move(m)};
            w.unreadable = !dictionary && kana::needsReading(w.m.surface);
            if (dictionary && w.m.pos1 != u"記号" && kana::needsReading(w.m.surface) &&
                w.m.reading.isEmpty()) {
                w.m.reading = readingByKanji(reader, w.m.surface);
                w.noReading = w.m.reading.isEmpty();
            }
            words.push_back(std::move(w));
        }
    }
    splitLongWords(words, reader);

    const Morpheme* prev = nullptr;
    bool dropping = false;
    for (const Word& w : words) {
        const QString reading = w.noReading ? QString() : readingOf(w.m);
        if (startsPhrase(w.m, prev) || out.phrases.empty() || dropping ||
            out.phrases.back().reading.size() + reading.size() > kLongestPhrase ||
            columns(out.phrases.back().written) + columns(w.m.surface) > kLongestWritten) {
            out.phrases.push_back({{}, {}, w.m.start, w.m.end});
        }
        dropping = w.unreadable;
        out.leftOut = out.leftOut || w.unreadable;
        Phrase& p = out.phrases.back();
        if (w.unreadable) {
            p.written.clear();
            p.reading.clear();
        } else {
            p.written += w.m.surface;
            p.reading += reading;
            if (w.noReading) p.skipped = 1;
        }
        p.end = w.m.end;
        prev = &w.m;
    }

    QString before; // the line's reading so far, for the iteration marks
    for (Phrase& p : out.phrases) {
        p.reading = kana::expandIterationMarks(p.reading, before);
        if (p.skipped) p.reading.clear(); // shown, but not typed in part
    }
    std::erase_if(out.phrases, [](const Phrase& p) { return p.written.isEmpty(); });
    joinFragments(out.phrases, line);
    return out;
}
