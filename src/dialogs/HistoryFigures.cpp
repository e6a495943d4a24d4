#include "HistoryFigures.h"

#include "CourseExercise.h"

#include <algorithm>

KeyFigureMap keyFigureMap(const QList<HistoryKey>& keys) {
    KeyFigureMap figures;
    for (const HistoryKey& k : keys)
        figures[k.vk] = KeyFigures{k.presses(), k.missed, k.msTotal, k.timedPresses()};
    return figures;
}

std::vector<KeyFigureMap> courseRunFigures(HistoryReader* history, course::Track track) {
    std::vector<KeyFigureMap> runs;
    if (history)
        for (const QList<HistoryKey>& run : history->courseRunKeys(course::trackName(track), 50))
            runs.push_back(keyFigureMap(run));
    return runs;
}

int mostUnlocked(const QList<CourseStep>& steps) {
    int most = 0;
    for (const CourseStep& s : steps) most = std::max(most, s.unlocked);
    return most;
}

course::Targets courseTargets(HistoryReader* history) {
    course::Targets t;
    if (!history) return t;
    t.perMinute = courseTarget(history->setting(kCourseSpeedSetting), t.perMinute, 10, 1000);
    t.accuracy = courseTarget(history->setting(kCourseAccuracySetting), t.accuracy, 50, 100);
    return t;
}
