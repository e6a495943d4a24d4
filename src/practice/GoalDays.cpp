#include "GoalDays.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace goal {

int minutesOf(const QString& kept) {
    bool ok = false;
    const int m = kept.toInt(&ok);
    if (!ok) return kDefaultMinutes;
    return std::clamp(m, 0, kMostMinutes);
}

bool counts(double seconds, int goalMinutes) {
    return goalMinutes > 0 ? seconds >= goalMinutes * 60.0 : seconds >= 0;
}

Streaks streaks(const QMap<QDate, double>& secondsByDay, int goalMinutes, const QDate& today) {
    Streaks s;
    // The longest: consecutive counting days anywhere in the history.
    int run = 0;
    QDate last;
    for (auto it = secondsByDay.cbegin(); it != secondsByDay.cend(); ++it) {
        if (!counts(it.value(), goalMinutes)) {
            run = 0;
            continue;
        }
        run = last.isValid() && last.addDays(1) == it.key() ? run + 1 : 1;
        last = it.key();
        s.longest = std::max(s.longest, run);
    }
    // The current one: today while it is not met yet leaves yesterday's going.
    const auto met = [&](const QDate& d) {
        const auto it = secondsByDay.constFind(d);
        return it != secondsByDay.cend() && counts(it.value(), goalMinutes);
    };
    s.throughToday = met(today);
    for (QDate d = s.throughToday ? today : today.addDays(-1); met(d); d = d.addDays(-1))
        ++s.current;
    return s;
}

int minutesLeft(double secondsToday, int goalMinutes) {
    if (goalMinutes <= 0) return 0;
    const double left = goalMinutes * 60.0 - std::max(0.0, secondsToday);
    return left > 0 ? int(std::ceil(left / 60.0)) : 0;
}

QString todayPrompt(double secondsToday, int goalMinutes) {
    if (goalMinutes <= 0) return {};
    const int left = minutesLeft(secondsToday, goalMinutes);
    return left > 0 ? QCoreApplication::translate("goal", "今日の目標まであと %1 分").arg(left)
                    : QCoreApplication::translate("goal", "今日の目標を達成しました");
}

QDate localToday() {
    return QDateTime::fromMSecsSinceEpoch(Platform::get().calendarMs()).toLocalTime().date();
}

} // namespace goal
