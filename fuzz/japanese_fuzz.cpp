// Any bytes as a Japanese text file and as keys typed at a kana phrase: decoding, the
// e-text notation and cutting a run never fail; the judges take any keys, and from
// any state following the guide finishes the phrase in a bounded number of keys.
#include "KanaJudge.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MecabReader noDictionary("libvelotapper-fuzz-without-mecab.so");
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    const PreparedRun run = RunPreparer(noDictionary).prepare(file, {qint64(size / 3), 0});
    check(run.phrases.empty() || run.kana > 0, "phrases with nothing to type");
    check(run.next.byte >= 0 && run.next.byte <= qint64(size), "a position outside the file");

    if (size < 2) return 0;
    const std::size_t split = std::min<std::size_t>(data[0] % 16 + 1, size - 1);
    QString reading;
    for (std::size_t i = 1; i <= split; ++i) reading += kAlphabet[data[i] % kAlphabet.size()];
    RomajiJudge romaji;
    drive(romaji, reading, data + split + 1, size - split - 1);
    KanaJudge kana;
    drive(kana, reading, data + split + 1, size - split - 1);
    return 0;
}
