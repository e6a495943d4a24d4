// Japanese practice costs: preparing a run from a 1 MB text (first run with MeCab's
// loading, then runs from ten places in the file, in UTF-8 and Shift-JIS), and judging
// one key in romaji and in kana (median and 99th percentile over 200,000 keys).
#include "KanaJudge.h"
#include "RomajiJudge.h"
#include "RunPreparer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <iconv.h>
#include <random>
#include <vector>

namespace {

const QStringList kSentences = {
    QStringLiteral("朝早く駅まで歩いて、電車で会社に向かいました。"),
    QStringLiteral("雨の日には図書館で静かに古い本を読みます。"),
    QStringLiteral("ねこは窓のそばで｜日向《ひなた》ぼっこをしている。"),
    QStringLiteral("週末は友達と山に登って、おにぎりを食べた。"),
    QStringLiteral("新しいパソコンで日本語の練習を続けています。"),
};

QByteArray megabyteOfText() {
    QString text;
    for (int i = 0; text.size() < 360'000; ++i) {
        text += kSentences[i % kSentences.size()];
        if (i % 3 == 2) text += u'\n';
    }
    return text.toUtf8();
}

QByteArray toShiftJis(const QByteArray& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    QByteArray out(utf8.size() * 2, Qt::Uninitialized);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = std::size_t(utf8.size()), outLeft = std::size_t(out.size());
    char* dst = out.data();
    iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.truncate(dst - out.data());
    return out;
}

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

double rssMb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / 1048576.0 : 0;
}

template <typename T> T percentile(std::vector<T> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::size_t(double(v.size() - 1) * p)];
}

void prepareRuns(const char* name, const QByteArray& bytes, MecabReader& reader) {
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    RunPreparer preparer(reader);
    std::vector<qint64> times;
    for (int i = 0; i < 10; ++i) {
        // A position past the middle of a line starts at the line's byte, as a stored one.
        qint64 byte = bytes.size() * i / 10;
        while (byte > 0 && bytes[byte - 1] != '\n') --byte;
        QElapsedTimer t;
        t.start();
        const PreparedRun run = preparer.prepare(file, {byte, 0});
        times.push_back(t.nsecsElapsed());
        if (run.phrases.empty()) std::printf("# %s: an empty run at %lld\n", name, byte);
    }
    std::printf("japanese_prepare_%s_median: %.2f ms\n", name, ms(percentile(times, 0.5)));
    std::printf("japanese_prepare_%s_max: %.2f ms\n", name, ms(percentile(times, 1.0)));
}

void judgeKeys(const char* name, PhraseJudge& judge, const std::vector<Phrase>& phrases) {
    std::vector<qint64> times;
    times.reserve(200'000);
    std::mt19937 random(7);
    QElapsedTimer t;
    while (times.size() < 200'000) {
        judge.reset(phrases[random() % phrases.size()].reading);
        while (!judge.finished() && times.size() < 200'000) {
            const KeyStroke key = judge.guide();
            const bool wrong = random() % 8 == 0;
            t.start();
            judge.press(wrong ? 'Q' : key.vk, wrong ? true : key.shift);
            times.push_back(t.nsecsElapsed());
        }
    }
    std::printf("japanese_judge_%s_median: %.3f us\n", name, percentile(times, 0.5) / 1000.0);
    std::printf("japanese_judge_%s_p99: %.3f us\n", name, percentile(times, 0.99) / 1000.0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray utf8 = megabyteOfText();
    const QByteArray sjis = toShiftJis(utf8);
    MecabReader reader;

    const double rssBefore = rssMb();
    QBuffer file;
    file.setData(utf8);
    file.open(QIODevice::ReadOnly);
    QElapsedTimer t;
    t.start();
    const PreparedRun first = RunPreparer(reader).prepare(file, {});
    std::printf("japanese_text_size: %.2f MB\n", double(utf8.size()) / 1048576.0);
    std::printf("japanese_first_run_with_mecab_load: %.2f ms\n", ms(t.nsecsElapsed()));
    std::printf("japanese_mecab_rss_added: %.2f MB\n", rssMb() - rssBefore);
    if (!reader.available()) std::printf("# no MeCab dictionary: kana phrases only\n");
    prepareRuns("utf8", utf8, reader);
    prepareRuns("sjis", sjis, reader);

    RomajiJudge romaji;
    judgeKeys("romaji", romaji, first.phrases);
    KanaJudge kana;
    judgeKeys("kana", kana, first.phrases);
    return 0;
}
