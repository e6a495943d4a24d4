// The progress page's calendar of the days practised over a history of 100,000 runs
// (137 a day: two years): reading the days and drawing the view, as its button shows it.
#include "FakePlatform.h"
#include "GoalCalendar.h"
#include "HistoryFill.h"
#include "HistoryStore.h"
#include "Measure.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// CALENDAR_BENCH_RUNS overrides the size, for a quick look.
const int kRuns = qEnvironmentVariableIntValue("CALENDAR_BENCH_RUNS") > 0
                      ? qEnvironmentVariableIntValue("CALENDAR_BENCH_RUNS")
                      : 100'000;
constexpr int kPerDay = 137;

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakePlatform platform;
    Platform::install(&platform);
    // CALENDAR_BENCH_DIR keeps the made-up history there, or measures the one it holds.
    QTemporaryDir dir;
    const QString keep = qEnvironmentVariable("CALENDAR_BENCH_DIR");
    QDir::setCurrent(keep.isEmpty() ? dir.path() : keep);
    if (!QFileInfo::exists(QString::fromLatin1(kHistoryFileName))) {
        HistoryStore store;
        if (!fillHistory(store, kRuns, 1, kPerDay)) return 1;
    }
    // The day after the last run: the year shown is full.
    platform.calendar =
        QDateTime(QDate(2026, 1, 5).addDays(kRuns / kPerDay + 1), QTime(12, 0), Qt::UTC)
            .toSecsSinceEpoch();

    GoalCalendar calendar;
    calendar.resize(351, 168);
    const auto draw = [&] {
        calendar.fill();
        calendar.grab();
    };
    // A session's first look opens the file.
    measure("calendar_first_draw_100k", 5, [&] {
        HistoryStore store;
        calendar.setHistory(&store);
        draw();
        calendar.setHistory(nullptr);
    });
    HistoryStore store;
    calendar.setHistory(&store);
    measure("calendar_draw_100k", 20, draw);
    measure("calendar_read_100k", 20, [&] { calendar.fill(); });
    measure("calendar_paint", 20, [&] { calendar.grab(); });
    std::printf("calendar_days_read: %lld\n",
                static_cast<long long>(store.dailySeconds(QDate(), QDate()).size()));
    return platform.messages.isEmpty() ? 0 : 1;
}
