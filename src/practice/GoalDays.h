#pragma once
#include <QDate>
#include <QMap>
#include <QString>

// The daily goal: minutes of practice a day, and the streak of days that met it.
// Days are local calendar days; seconds per day come from the history.
namespace goal {

inline const QString kMinutesSetting = QStringLiteral("goal.minutes"); // 0 = off
constexpr int kDefaultMinutes = 10;
constexpr int kMostMinutes = 600;

// The goal as kept: its minutes, 0 when off, the default when never set or unreadable.
int minutesOf(const QString& kept);

// A day counts toward a streak when its practice reaches the goal; with the goal off,
// any practice that day counts.
bool counts(double seconds, int goalMinutes);

struct Streaks {
    int current = 0; // up to today when today counts already, else up to yesterday
    bool throughToday = false;
    int longest = 0;
};
Streaks streaks(const QMap<QDate, double>& secondsByDay, int goalMinutes, const QDate& today);

// Whole minutes still to practise today, rounded up: a goal of 10 after 3 min 10 s
// leaves 7. 0 when the goal is met or off.
int minutesLeft(double secondsToday, int goalMinutes);

// What the main window says of today's goal at the start; empty with the goal off.
QString todayPrompt(double secondsToday, int goalMinutes);

// Today in the local calendar, by the platform's clock.
QDate localToday();

} // namespace goal
