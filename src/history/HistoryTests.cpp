// The graded tests' side of the history: each test's result beside its run.
#include "HistorySql.h"
#include "HistoryStore.h"

QList<HistoryTest> HistoryStore::testResults(const QString& way) {
    QList<HistoryTest> tests;
    read([&](QSqlQuery& q) {
        tests.clear();
        if (version_ < 6) return true; // no test was kept yet
        q.prepare(
            QStringLiteral("SELECT t.%1, r.started_at FROM test_results t"
                           " JOIN runs r ON r.id = t.run_id WHERE t.way = ? ORDER BY t.run_id")
                .arg(QString::fromLatin1(historysql::kTestColumns)
                         .replace(QLatin1String(", "), QLatin1String(", t."))));
        q.addBindValue(way);
        if (!q.exec()) return false;
        while (q.next())
            tests.append(HistoryTest{q.value(0).toLongLong(),
                                     historysql::fromIsoTime(q.value(10).toString()),
                                     historysql::testOf(q, 1)});
        return true;
    });
    // Tests waiting for the history came after those in it; they have no run id yet.
    for (const RunSummary& r : waitingRuns())
        if (r.test && r.test->way == way) tests.append(HistoryTest{0, r.startedAt, *r.test});
    return tests;
}
