// Cost of building one course lesson: every lesson of both tracks, from the first to
// the whole keyboard, with the focus on the newest and on the first key, 20 times
// each: the median and 99th percentile of wall time, and the most processor time one
// took (wall time's worst is the scheduler's on a busy machine). Also the one-off cost of reading a
// word list, and what the first lesson is made of.
#include "Course.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <random>
#include <vector>

using namespace course;

namespace {
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::mt19937 gen(7);
    const std::function<int()> random = [&gen] { return int(gen() % 32768); };
    for (Track track : {Track::Letters, Track::Kana}) {
        const QByteArray name = trackName(track).toLatin1();
        QElapsedTimer t;
        t.start();
        const WordBank bank(track, shippedWords(track));
        std::printf("course_%s_words: %d words\n", name.constData(), bank.size());
        std::printf("course_%s_word_list_load: %.2f ms\n", name.constData(),
                    double(t.nsecsElapsed()) / 1e6);
        std::vector<double> ms;
        double cpuMost = 0;
        const int all = int(keyOrder(track).size());
        for (int round = 0; round < 20; ++round)
            for (int open = startKeys(track); open <= all; ++open)
                for (int focus : {open - 1, 0}) {
                    t.restart();
                    const double cpu0 = cpuMs();
                    const Lesson l = makeLesson(bank, open, focus, random);
                    cpuMost = std::max(cpuMost, cpuMs() - cpu0);
                    ms.push_back(double(t.nsecsElapsed()) / 1e6);
                    if (l.keys == 0) return 1;
                }
        // The first lesson's words, over 20 lessons: how many, how many different, the
        // most frequent one's share, and how many are words of the list.
        const QStringList list = shippedWords(track);
        const QSet<QString> known(list.begin(), list.end());
        double tokens = 0, distinct = 0, topShare = 0, real = 0;
        for (int round = 0; round < 20; ++round) {
            const Lesson l = makeLesson(bank, startKeys(track), startKeys(track) - 1, random);
            const QStringList words = l.text.split(
                QRegularExpression(QStringLiteral("[ \\n\u3000]")), Qt::SkipEmptyParts);
            std::map<QString, int> count;
            for (const QString& w : words) ++count[w];
            int top = 0;
            for (const auto& [w, n] : count) top = std::max(top, n);
            tokens += double(words.size());
            distinct += double(count.size());
            topShare += 100.0 * top / double(words.size());
            for (const QString& w : words) real += known.contains(w) ? 1 : 0;
        }
        std::printf("course_%s_lesson1_tokens: %.1f\n", name.constData(), tokens / 20);
        std::printf("course_%s_lesson1_distinct: %.1f\n", name.constData(), distinct / 20);
        std::printf("course_%s_lesson1_top_share: %.1f %%\n", name.constData(), topShare / 20);
        std::printf("course_%s_lesson1_real_words: %.1f %%\n", name.constData(),
                    100.0 * real / tokens);
        std::sort(ms.begin(), ms.end());
        std::printf("course_%s_lesson_median: %.3f ms\n", name.constData(), ms[ms.size() / 2]);
        std::printf("course_%s_lesson_p99: %.3f ms\n", name.constData(), ms[ms.size() * 99 / 100]);
        std::printf("course_%s_lesson_cpu_max: %.3f ms\n", name.constData(), cpuMost);
    }
    return 0;
}
