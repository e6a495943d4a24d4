// The guided course's side of the history: where each track stands and its runs' keys.
#include "HistorySql.h"
#include "HistoryStore.h"

#include "Platform.h"

QList<CourseStep> HistoryStore::courseSteps(const QString& track) {
    QList<CourseStep> steps;
    read([&](QSqlQuery& q) {
        steps.clear();
        q.prepare(QStringLiteral("SELECT at, unlocked FROM course WHERE track = ? ORDER BY rowid"));
        q.addBindValue(track);
        if (!q.exec()) return false; // a file from before the course: none yet
        while (q.next())
            steps.append(
                CourseStep{historysql::fromIsoTime(q.value(0).toString()), q.value(1).toInt()});
        return true;
    });
    // Steps waiting for the history came after those in it.
    for (const waiting::Entry& e : waitingHere())
        if (e.kind == waiting::Entry::Kind::Step && e.track == track)
            steps.append(CourseStep{e.at, e.unlocked});
    return steps;
}

bool HistoryStore::addCourseStep(const QString& track, int unlocked) {
    Batch batch;
    batch.steps = {waiting::stepEntry(
        track, unlocked, QDateTime::fromMSecsSinceEpoch(Platform::get().calendarMs(), Qt::UTC))};
    return write(batch) != Outcome::Dropped;
}

QList<QList<HistoryKey>> HistoryStore::courseRunKeys(const QString& track, int lastRuns) {
    QList<QList<HistoryKey>> runs;
    if (lastRuns <= 0) return runs;
    read([&](QSqlQuery& q) {
        runs.clear();
        // A course run's source begins with its track's name.
        q.prepare(QStringLiteral("SELECT run_id, %1 FROM run_keys"
                                 " WHERE run_id IN (SELECT id FROM runs WHERE mode = 'course'"
                                 " AND substr(source, 1, length(?)) = ? ORDER BY id DESC LIMIT ?)"
                                 " ORDER BY run_id DESC, vk")
                      .arg(historysql::keyColumns(version_, false)));
        q.addBindValue(track);
        q.addBindValue(track);
        q.addBindValue(lastRuns);
        if (!q.exec()) return false;
        qint64 run = -1;
        while (q.next()) {
            if (q.value(0).toLongLong() != run || runs.isEmpty()) {
                run = q.value(0).toLongLong();
                runs.append(QList<HistoryKey>());
            }
            runs.last().append(historysql::keyOf(q, 1));
        }
        return true;
    });
    return runs;
}
