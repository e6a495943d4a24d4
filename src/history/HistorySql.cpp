#include "HistorySql.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>

namespace historysql {

namespace {
// SQLite's primary result codes for a file that is not a database, or a damaged one.
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

int primaryCode(const QSqlError& e) {
    return e.nativeErrorCode().toInt() & 0xFF;
}
} // namespace

Check check(QSqlDatabase& db, bool full) {
    QSqlQuery q(db);
    if (!q.exec(full ? QStringLiteral("PRAGMA quick_check")
                     : QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const int code = primaryCode(q.lastError());
        return code == kCorrupt || code == kNotADatabase ? Check::Damaged : Check::Failed;
    }
    if (!q.next()) return Check::Failed;
    if (!full) return Check::Whole;
    return q.value(0).toString() == QLatin1String("ok") ? Check::Whole : Check::Damaged;
}

bool hasColumns(QSqlDatabase& db) {
    const struct {
        const char* table;
        const char* columns;
    } needed[] = {
        {"runs", "id started_at ended_at mode source seconds keys misses speed completed"},
        {"run_keys", "run_id vk expected missed ms_total"},
        {"confusions", "run_id expected_vk typed_vk count"},
    };
    for (const auto& n : needed) {
        const QSqlRecord rec = db.record(QString::fromLatin1(n.table));
        for (const QString& c : QString::fromLatin1(n.columns).split(QLatin1Char(' ')))
            if (!rec.contains(c)) return false;
    }
    return true;
}

QString isoTime(const QDateTime& t) {
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime fromIsoTime(const QString& s) {
    return QDateTime::fromString(s, Qt::ISODateWithMs).toUTC();
}

RunWriter::RunWriter(QSqlDatabase& db) : run_(db), key_(db), confusion_(db) {
    prepared_ =
        run_.prepare(QStringLiteral(
            "INSERT INTO runs(started_at, ended_at, mode, source, seconds, keys, misses, speed,"
            " completed) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        key_.prepare(QStringLiteral("INSERT INTO run_keys(run_id, vk, expected, missed, ms_total)"
                                    " VALUES(?, ?, ?, ?, ?)")) &&
        confusion_.prepare(QStringLiteral("INSERT INTO confusions(run_id, expected_vk, typed_vk,"
                                          " shift_wrong, count) VALUES(?, ?, ?, ?, ?)"));
}

bool RunWriter::write(const RunSummary& r) {
    run_.bindValue(0, isoTime(r.startedAt));
    run_.bindValue(1, isoTime(r.endedAt));
    run_.bindValue(2, r.mode);
    run_.bindValue(3, r.source);
    run_.bindValue(4, r.seconds);
    run_.bindValue(5, r.keys);
    run_.bindValue(6, r.misses);
    run_.bindValue(7, r.speed);
    run_.bindValue(8, r.completed ? 1 : 0);
    if (!run_.exec()) return false;
    const qint64 id = run_.lastInsertId().toLongLong();
    for (const auto& [vk, k] : r.perKey) {
        key_.bindValue(0, id);
        key_.bindValue(1, vk);
        key_.bindValue(2, k.expected);
        key_.bindValue(3, k.missed);
        key_.bindValue(4, k.msTotal);
        if (!key_.exec()) return false;
    }
    for (const auto& [c, count] : r.confusions) {
        confusion_.bindValue(0, id);
        confusion_.bindValue(1, c.expected);
        confusion_.bindValue(2, c.typed);
        confusion_.bindValue(3, int(c.shift));
        confusion_.bindValue(4, count);
        if (!confusion_.exec()) return false;
    }
    return true;
}

} // namespace historysql
