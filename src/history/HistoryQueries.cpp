// The reading side of the history: what the progress page and the CSV export ask for.
#include "HistorySql.h"
#include "HistoryStore.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

using historysql::kRunColumns;

// The last n runs; all of them when n is not positive.
QString lastRunIds(int n) {
    return QStringLiteral("SELECT id FROM runs ORDER BY id DESC LIMIT %1").arg(n > 0 ? n : -1);
}

// The run read with kRunColumns, and with the rhythm after them where read with
// runColumns (the export's columns end before it).
HistoryRun runOf(const QSqlQuery& q, bool withRhythm) {
    HistoryRun r;
    r.id = q.value(0).toLongLong();
    r.startedAt = historysql::fromIsoTime(q.value(1).toString());
    r.endedAt = historysql::fromIsoTime(q.value(2).toString());
    r.mode = q.value(3).toString();
    r.source = q.value(4).toString();
    r.seconds = q.value(5).toDouble();
    r.keys = q.value(6).toLongLong();
    r.misses = q.value(7).toLongLong();
    r.speed = q.value(8).toDouble();
    r.completed = q.value(9).toInt() != 0;
    if (withRhythm && !q.value(10).isNull()) r.rhythm = q.value(10).toDouble();
    return r;
}

// One CSV field: quoted when it holds a comma, a quote or a line break.
QByteArray csvField(const QString& s) {
    QByteArray b = s.toUtf8();
    if (b.contains(',') || b.contains('"') || b.contains('\n') || b.contains('\r'))
        b = '"' + b.replace("\"", "\"\"") + '"';
    return b;
}

} // namespace

qint64 HistoryStore::runCount() {
    qint64 n = 0;
    read([&](QSqlQuery& q) {
        // Counting a column reads every row, so damage among them is noticed here, before
        // the page shows the count.
        if (!q.exec(QStringLiteral("SELECT count(started_at) FROM runs")) || !q.next())
            return false;
        n = q.value(0).toLongLong();
        return true;
    });
    return n;
}

QList<HistoryRun> HistoryStore::lastRuns(int n) {
    QList<HistoryRun> runs;
    if (n <= 0) return runs;
    read([&](QSqlQuery& q) {
        runs.clear();
        if (!q.exec(QStringLiteral("SELECT %1 FROM runs ORDER BY id DESC LIMIT %2")
                        .arg(historysql::runColumns(version_))
                        .arg(n)))
            return false;
        while (q.next()) runs.append(runOf(q, true));
        return true;
    });
    std::reverse(runs.begin(), runs.end());
    return runs;
}

QList<HistoryDay> HistoryStore::days() {
    QList<HistoryDay> days;
    read([&](QSqlQuery& q) {
        days.clear();
        // The learner's calendar day, in the time zone of the moment: a morning run in
        // Japan belongs to that morning's day, not to the UTC day before.
        if (!q.exec(
                QStringLiteral(
                    "SELECT date(started_at, 'localtime') AS day, mode, count(*), avg(speed),"
                    " sum(keys), sum(misses), %1 FROM runs GROUP BY day, mode ORDER BY day, mode")
                    .arg(version_ >= 5 ? QStringLiteral("avg(rhythm), count(rhythm)")
                                       : QStringLiteral("NULL, 0"))))
            return false;
        while (q.next()) {
            HistoryDay d;
            d.day = QDate::fromString(q.value(0).toString(), Qt::ISODate);
            d.mode = q.value(1).toString();
            d.runs = q.value(2).toInt();
            d.speed = q.value(3).toDouble();
            d.keys = q.value(4).toLongLong();
            d.misses = q.value(5).toLongLong();
            if (!q.value(6).isNull()) d.rhythm = q.value(6).toDouble();
            d.rhythmRuns = q.value(7).toInt();
            days.append(d);
        }
        return true;
    });
    return days;
}

QList<HistoryKey> HistoryStore::keyFigures(int lastRuns) {
    QList<HistoryKey> keys;
    read([&](QSqlQuery& q) {
        keys.clear();
        const QString ids = lastRunIds(lastRuns);
        if (!q.exec(QStringLiteral("SELECT %1 FROM run_keys WHERE run_id IN (%2)"
                                   " GROUP BY vk ORDER BY vk")
                        .arg(historysql::keyColumns(version_, true), ids)))
            return false;
        while (q.next()) keys.append(historysql::keyOf(q));
        // Each key's most frequent stand-in, a Shift slip of the key itself apart from
        // other keys; on a tie the lower key code.
        if (!q.exec(QStringLiteral("SELECT expected_vk, typed_vk,"
                                   " CASE WHEN typed_vk = expected_vk THEN %2 ELSE 0 END AS slip,"
                                   " sum(count) AS n FROM confusions WHERE run_id IN (%1)"
                                   " GROUP BY expected_vk, typed_vk, slip"
                                   " ORDER BY expected_vk, n DESC, typed_vk, slip")
                        .arg(ids, historysql::shiftWrong(version_))))
            return false;
        auto k = keys.begin();
        int last = -1;
        while (q.next()) {
            const int vk = q.value(0).toInt();
            if (vk == last) continue;
            last = vk;
            while (k != keys.end() && k->vk < vk) ++k;
            if (k == keys.end()) break;
            if (k->vk != vk) continue;
            k->topTyped = q.value(1).toInt();
            k->topShift = q.value(2).toInt();
            k->topTypedCount = q.value(3).toLongLong();
        }
        return true;
    });
    return keys;
}

QByteArray HistoryStore::paceStrokes(const QString& mode, const QString& source, PaceRun which) {
    // The run itself is chosen first: when it kept no keystrokes, no other run stands in.
    const QString order = which == PaceRun::Best
                              ? QStringLiteral("AND completed = 1 ORDER BY speed DESC, id DESC")
                              : QStringLiteral("ORDER BY id DESC");
    QByteArray data;
    double speed = 0;
    bool found = false;
    read([&](QSqlQuery& q) {
        found = false;
        if (version_ < 5) return true; // no run kept its keystrokes yet
        q.prepare(QStringLiteral("SELECT (SELECT data FROM run_strokes WHERE run_id = id), speed"
                                 " FROM runs WHERE mode = ? AND source = ? %1 LIMIT 1")
                      .arg(order));
        q.addBindValue(mode);
        q.addBindValue(source);
        if (!q.exec()) return false;
        if (q.next()) {
            found = true;
            data = q.value(0).toByteArray();
            speed = q.value(1).toDouble();
        }
        return true;
    });
    // Runs waiting for the history are newer than those in it.
    for (const RunSummary& r : waitingRuns()) {
        if (r.mode != mode || r.source != source) continue;
        if (which == PaceRun::Best && (!r.completed || (found && r.speed < speed))) continue;
        found = true;
        speed = r.speed;
        data = r.keystrokes.empty() ? QByteArray() : keystrokes::encode(r.keystrokes);
    }
    return data;
}

bool HistoryStore::exportCsv(const QString& path) {
    // The byte-order mark makes spreadsheets of a Japanese locale read UTF-8; the local
    // start time stands beside the UTC one for reading, the UTC one for sorting.
    const QByteArray header = "\xEF\xBB\xBF" +
                              QByteArray(kRunColumns)
                                  .replace(" ", "")
                                  .replace("started_at,", "started_at,started_at_local,") +
                              "\r\n";
    QByteArray out = header;
    const bool read = this->read([&](QSqlQuery& q) {
        out = header;
        if (!q.exec(
                QStringLiteral("SELECT %1 FROM runs ORDER BY id").arg(QLatin1String(kRunColumns))))
            return false;
        while (q.next()) {
            const HistoryRun r = runOf(q, false);
            out += QByteArray::number(r.id) + ',' + csvField(historysql::isoTime(r.startedAt)) +
                   ',' +
                   csvField(
                       r.startedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) +
                   ',' + csvField(historysql::isoTime(r.endedAt)) + ',' + csvField(r.mode) + ',' +
                   csvField(r.source) + ',' + QByteArray::number(r.seconds, 'g', 15) + ',' +
                   QByteArray::number(r.keys) + ',' + QByteArray::number(r.misses) + ',' +
                   QByteArray::number(r.speed, 'g', 15) + ',' + (r.completed ? "1" : "0") + "\r\n";
        }
        return true;
    });
    // No history yet is an empty one; one that is there and was not read is no export.
    if (!read && QFileInfo::exists(currentFile())) return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
