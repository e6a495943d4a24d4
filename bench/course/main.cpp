// Cost of building one course lesson: every lesson of both tracks, from the first to
// the whole keyboard, with the focus on the newest and on the first key, 20 times
// each; the median and the slowest. Also the one-off cost of reading a word list.
#include "Course.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace course;

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
        const int all = int(keyOrder(track).size());
        for (int round = 0; round < 20; ++round)
            for (int open = startKeys(track); open <= all; ++open)
                for (int focus : {open - 1, 0}) {
                    t.restart();
                    const Lesson l = makeLesson(bank, open, focus, random);
                    ms.push_back(double(t.nsecsElapsed()) / 1e6);
                    if (l.keys == 0) return 1;
                }
        std::sort(ms.begin(), ms.end());
        std::printf("course_%s_lesson_median: %.3f ms\n", name.constData(), ms[ms.size() / 2]);
        std::printf("course_%s_lesson_max: %.3f ms\n", name.constData(), ms.back());
    }
    return 0;
}
