// Any bytes as a Japanese text file and as keys typed at a kana phrase: decoding, the
// e-text notation and cutting a run never fail, with or without a dictionary (one that
// leaves some kanji unread), and every phrase fits the prompt; the judges take any
// keys, from any state following the guide finishes the phrase in a bounded number of
// keys, and the text pane always shows the keys still to type.
#include "KanaJudge.h"
#include "KanaText.h"
#include "PaneLine.h"
#include "RomajiJudge.h"
#include "RunPreparer.h"

#include <QBuffer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "japanese_fuzz: %s\n", what);
    std::abort();
}

const QString kAlphabet = QStringLiteral(
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわを"
    "んがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽゔぁぃぅぇぉゃゅょゎっーアンッヴ、。「」・"
    "！"
    "Ａa1 ");

// A dictionary made up from the text: a run of kanji is one word, read when its code
// points add up one way, a kanji alone when its code point is even; digits read
// as a counted number.
class MadeUpDictionary : public ReadingSource {
public:
    bool available() override { return true; }
    std::vector<Morpheme> analyse(QStringView text) override {
        std::vector<Morpheme> out;
        for (int i = 0; i < int(text.size());) {
            int end = i + 1;
            const bool kanji = kana::isKanji(text[i]);
            while (kanji && end < int(text.size()) && kana::isKanji(text[end])) ++end;
            Morpheme m;
            m.surface = text.sliced(i, end - i).toString();
            int sum = 0;
            for (QChar c : m.surface) sum += c.unicode();
            if (kanji && (end - i == 1 ? sum % 2 == 0 : sum % 3 != 0))
                m.reading = QString(end - i, u'カ');
            if (text[i].unicode() >= 0xFF10 && text[i].unicode() <= 0xFF19) m.reading = "イチ";
            m.pos1 = kanji ? "名詞" : kana::isHiragana(text[i]) ? "助詞" : "記号";
            m.spaceBefore = i > 0 && text[i - 1].isSpace();
            m.start = i;
            m.end = end;
            out.push_back(m);
            i = end;
        }
        return out;
    }
};

int columns(QStringView s) {
    int n = 0;
    for (QChar c : s) n += c.unicode() < 0x100 ? 1 : 2;
    return n;
}

void checkRun(const PreparedRun& run, qint64 size) {
    check(run.next.byte >= 0 && run.next.byte <= size, "a position outside the file");
    for (const Phrase& p : run.phrases) {
        check(columns(p.written) <= 48, "a phrase wider than the prompt");
        check(p.reading.size() <= 40, "a phrase longer than a phrase may be");
        check(!p.reading.isEmpty() || p.skipped > 0, "a phrase with nothing to type");
    }
}

void drive(PhraseJudge& judge, const QString& reading, const std::uint8_t* keys, std::size_t n) {
    judge.reset(reading);
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const int vk = keys[i];
        const bool shift = keys[i + 1] & 1;
        const bool before = judge.finished();
        if (judge.press(vk, shift) == KeyVerdict::Accepted)
            check(!before, "a key taken after the end");
    }
    // Following the guide from wherever the keys left it: every key it shows is taken.
    for (int steps = 0; !judge.finished(); ++steps) {
        check(steps < 8 * reading.size() + 8, "the guide does not finish the phrase");
        const KeyStroke key = judge.guide();
        check(key.vk != 0, "no guide key before the end");
        check(judge.press(key.vk, key.shift) == KeyVerdict::Accepted, "the guide key is refused");
    }
    check(judge.remainingText().isEmpty(), "something left to type at the end");
}

// Whatever the pane's width, its line holds every key still to type after the caret.
void checkPane(const PhraseJudge& judge, const QString& reading, int width) {
    const QString keys = judge.remainingText();
    const PaneLine line = paneLine(reading, judge.remainingReading(), keys,
                                   [&](const QString& t) { return columns(t) <= width; });
    check(line.caret >= 0 && line.caret <= line.text.size(), "the caret outside the pane");
    check(line.text.sliced(line.caret) == keys, "keys missing from the pane");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MecabReader noDictionary("libvelotapper-fuzz-without-mecab.so");
    static MadeUpDictionary madeUp;
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    const PreparedRun run = RunPreparer(noDictionary).prepare(file, {qint64(size / 3), 0});
    check(run.phrases.empty() || run.kana > 0, "phrases with nothing to type");
    checkRun(run, qint64(size));
    checkRun(RunPreparer(madeUp).prepare(file, {}), qint64(size));
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::ShiftJis, TextEncoding::EucJp}) {
        const qsizetype whole = wholeCharacters({data, qsizetype(size)}, e);
        check(whole >= 0 && whole <= qsizetype(size) && size - std::size_t(whole) < 4,
              "a piece cut short");
    }

    if (size < 2) return 0;
    const std::size_t split = std::min<std::size_t>(data[0] % 16 + 1, size - 1);
    QString reading;
    for (std::size_t i = 1; i <= split; ++i) reading += kAlphabet[data[i] % kAlphabet.size()];
    RomajiJudge romaji;
    romaji.reset(reading);
    for (std::size_t i = split + 1; i < size && romaji.pressChar(char(data[i])); ++i) {
    }
    checkPane(romaji, reading, data[0] % 40 + 1);
    drive(romaji, reading, data + split + 1, size - split - 1);
    KanaJudge kana;
    drive(kana, reading, data + split + 1, size - split - 1);
    return 0;
}
