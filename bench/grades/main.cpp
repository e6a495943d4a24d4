// Cost of sitting down to a test: choosing the week's text of a grade (composing it from
// the band's pools, with the dictionary's readings for kanji) and scoring a result, for
// every grade of every way over 52 weeks: the median and 99th percentile of wall time and
// the most processor time one took. Also the one-off cost of loading the dictionary.
#include "Grades.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace grades;

namespace {
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    MecabReader mecab;
    QElapsedTimer t;
    t.start();
    if (!mecab.available()) {
        std::fprintf(stderr, "bench_grades: needs MeCab with a dictionary\n");
        return 1;
    }
    std::printf("grades_dictionary_load: %.1f ms\n", double(t.nsecsElapsed()) / 1e6);
    const QDate first(2027, 1, 4);
    for (Way way : {Way::Letters, Way::Romaji, Way::Kana}) {
        const QByteArray name = wayName(way).toLatin1();
        std::vector<double> ms;
        double cpuMost = 0, slowest = 0;
        int slowestGrade = 0;
        for (int week = 0; week < 52; ++week)
            for (const Grade& g : ladder(way)) {
                t.restart();
                const double cpu0 = cpuMs();
                const std::optional<TestText> text =
                    testText(way, g.index, first.addDays(7 * week), mecab);
                if (!text) return 1;
                const TestResult r =
                    judge(way, g.index, text->id, text->chars / 2, 3, g.minutes, true);
                if (r.net <= 0) return 1;
                cpuMost = std::max(cpuMost, cpuMs() - cpu0);
                ms.push_back(double(t.nsecsElapsed()) / 1e6);
                if (ms.back() > slowest) {
                    slowest = ms.back();
                    slowestGrade = g.index;
                }
            }
        std::sort(ms.begin(), ms.end());
        std::printf("grades_%s_choose_and_score_median: %.3f ms\n", name.constData(),
                    ms[ms.size() / 2]);
        std::printf("grades_%s_choose_and_score_p99: %.3f ms\n", name.constData(),
                    ms[ms.size() * 99 / 100]);
        std::printf("grades_%s_choose_and_score_cpu_max: %.3f ms\n", name.constData(), cpuMost);
        std::printf("grades_%s_slowest_grade: %d index\n", name.constData(), slowestGrade);
    }
    return 0;
}
