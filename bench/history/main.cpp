// The history with 100,000 runs stored: appending one more run (60 keys, 20
// confusions), opening the file, the queries behind the progress page, and what a
// typical run (60 presses) adds to the file.
#include "FakePlatform.h"
#include "HistoryFill.h"
#include "HistoryStore.h"
#include "Measure.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// HISTORY_BENCH_RUNS overrides the size, for a quick look.
const int kRuns = qEnvironmentVariableIntValue("HISTORY_BENCH_RUNS") > 0
                      ? qEnvironmentVariableIntValue("HISTORY_BENCH_RUNS")
                      : 100'000;

RunSummary runOf60Keys(int i) {
    RunSummary r;
    r.mode = QStringLiteral("text");
    r.source = QStringLiteral("bench.txt");
    r.startedAt = QDateTime(QDate(2027, 1, 1), QTime(8, 0), Qt::UTC).addSecs(i * 60);
    r.endedAt = r.startedAt.addSecs(40);
    r.seconds = 40;
    for (int k = 0; k < 60; ++k) r.perKey[k < 36 ? 48 + k : 150 + k] = {5, 1, 900};
    for (int k = 0; k < 20; ++k) r.confusions[{48 + k, 65 + k}] = 1;
    r.keys = 300;
    r.misses = 20;
    r.speed = 7.5;
    return r;
}

// A run as a learner types it: 60 presses over some 25 keys, a few of them wrong.
RunSummary typicalRun(QRandomGenerator& rnd, int i) {
    RunSummary r;
    r.mode = QStringLiteral("lesson");
    r.source = QStringLiteral("Lesson1.txt");
    r.startedAt = QDateTime(QDate(2028, 1, 1), QTime(8, 0), Qt::UTC).addSecs(i * 60);
    qint64 ms = 0;
    for (int k = 0; k < 60; ++k) {
        const int vk = 'A' + int(rnd.bounded(25));
        ms += 150 + rnd.bounded(250);
        const bool wrong = rnd.bounded(20) == 0;
        r.keystrokes.push_back({ms, vk, vk == 'A', !wrong});
        RunKeyFigures& f = r.perKey[vk];
        if (wrong) {
            f.missed += 1;
            r.confusions[{vk, vk + 1}] += 1;
            r.misses += 1;
        } else {
            f.expected += 1;
            f.msTotal += 300;
            f.timed += 1;
            r.keys += 1;
        }
    }
    r.seconds = double(ms) / 1000;
    r.endedAt = r.startedAt.addMSecs(ms);
    r.speed = double(r.keys) / r.seconds;
    r.completed = true;
    r.rhythm = 70 + rnd.bounded(25.0);
    return r;
}

// The history file's size with its journal folded in.
qint64 foldedSize() {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fold");
        db.setDatabaseName(QString::fromLatin1(kHistoryFileName));
        if (db.open()) QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fold"));
    return QFileInfo(QString::fromLatin1(kHistoryFileName)).size();
}

void say(const char* name, double value, const char* unit) {
    std::printf("%s: %.3f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FakePlatform platform;
    Platform::install(&platform);
    // HISTORY_BENCH_DIR keeps the made-up history there, or measures the one it holds.
    QTemporaryDir dir;
    const QString keep = qEnvironmentVariable("HISTORY_BENCH_DIR");
    QDir::setCurrent(keep.isEmpty() ? dir.path() : keep);

    if (!QFileInfo::exists(QString::fromLatin1(kHistoryFileName))) {
        QElapsedTimer fill;
        fill.start();
        HistoryStore store;
        // HISTORY_BENCH_PER_DAY spreads the runs over more days (137 a day: two years).
        const int perDay = qEnvironmentVariableIntValue("HISTORY_BENCH_PER_DAY");
        if (!fillHistory(store, kRuns, 1, perDay > 0 ? perDay : 300)) return 1;
        say("history_fill_100k", double(fill.elapsed()) / 1000.0, "s");
    }
    say("history_file_100k",
        double(QFileInfo(QString::fromLatin1(kHistoryFileName)).size()) / (1 << 20), "MB");
    say("history_bytes_per_run_100k",
        double(QFileInfo(QString::fromLatin1(kHistoryFileName)).size()) / kRuns, "B");

    // The first use in a session opens the file: for reading with a light check, for
    // the first run's write with quick_check over the whole file.
    measure("history_open_100k", 5, [] { HistoryStore().runCount(); });
    int i = 0;
    measure("history_first_append_100k", 3, [&] { HistoryStore().append(runOf60Keys(i++)); });

    { // what a typical run adds to the large history
        constexpr int kAdded = 2000;
        QRandomGenerator rnd(3);
        std::vector<RunSummary> runs;
        for (int k = 0; k < kAdded; ++k) runs.push_back(typicalRun(rnd, k));
        const qint64 before = foldedSize();
        if (!HistoryStore().appendAll(runs)) return 1;
        say("history_bytes_per_typical_run_100k", double(foldedSize() - before) / kAdded, "B");
    }

    HistoryStore store;
    store.runCount();
    measure("history_append_60keys_20confusions", 200, [&] { store.append(runOf60Keys(i++)); });
    measure("history_runcount_100k", 20, [&] { store.runCount(); });
    measure("history_lastruns50_100k", 20, [&] { store.lastRuns(50); });
    measure("history_days_100k", 20, [&] { store.days(); });
    measure("history_keyfigures20_100k", 20, [&] { store.keyFigures(20); });
    measure("history_page_queries_100k", 20, [&] {
        store.runCount();
        store.lastRuns(50);
        store.days();
        store.keyFigures(20);
    });
    return platform.messages.isEmpty() ? 0 : 1;
}
