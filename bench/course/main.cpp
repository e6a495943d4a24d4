// Cost of building one course lesson: every lesson of both tracks, from the first to
// the whole keyboard, with the focus on the newest and on the first key, 20 times
// each: the median and 99th percentile of wall time, and the most processor time one
// took (wall time's worst is the scheduler's on a busy machine). Also the one-off cost of reading a
// word list.
#include "Course.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
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
        std::sort(ms.begin(), ms.end());
        std::printf("course_%s_lesson_median: %.3f ms\n", name.constData(), ms[ms.size() / 2]);
        std::printf("course_%s_lesson_p99: %.3f ms\n", name.constData(), ms[ms.size() * 99 / 100]);
        std::printf("course_%s_lesson_cpu_max: %.3f ms\n", name.constData(), cpuMost);
    }
    return 0;
}
