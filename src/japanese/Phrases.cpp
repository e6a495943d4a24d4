#include "Phrases.h"

#include "ETextNotation.h"
#include "KanaText.h"

namespace {

constexpr int kLongestPhrase = 40;

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

} // namespace

LinePhrases phrasesOfLine(QStringView line, ReadingSource& reader) {
    struct Word {
        Morpheme m;
        bool unreadable = false;
    };
    std::vector<Word> words;
    LinePhrases out;
    for (const NotationPiece& piece : parseNotation(line)) {
        if (!piece.ruby.isEmpty()) {
            Morpheme m;
            m.surface = piece.text;
            m.reading = piece.ruby;
            m.pos1 = QStringLiteral("名詞");
            m.start = piece.rawStart;
            m.end = piece.rawEnd;
            words.push_back({std::move(m), false});
            continue;
        }
        const bool needs = kana::needsReading(piece.text);
        const bool dictionary = needs && reader.available();
        auto morphemes =
            dictionary ? reader.analyse(piece.text) : splitWithoutDictionary(piece.text);
        for (Morpheme& m : morphemes) {
            m.start += piece.rawStart;
            m.end += piece.rawStart;
            const bool unreadable = !dictionary && kana::needsReading(m.surface);
            words.push_back({std::move(m), unreadable});
        }
    }
    const Morpheme* prev = nullptr;
    bool dropping = false;
    for (const Word& w : words) {
        const QString reading = readingOf(w.m);
        if (startsPhrase(w.m, prev) || out.phrases.empty() || dropping ||
            out.phrases.back().reading.size() + reading.size() > kLongestPhrase) {
            if (!out.phrases.empty() && out.phrases.back().reading.isEmpty())
                out.phrases.pop_back();
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
        }
        p.end = w.m.end;
        prev = &w.m;
    }
    if (!out.phrases.empty() && out.phrases.back().reading.isEmpty()) out.phrases.pop_back();
    return out;
}
