#include "HistorySql.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace historysql {

namespace {
// SQLite's primary result codes for a file that is not a database, or a damaged one,
// and for a lock held by another connection.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

int primaryCode(const QSqlError& e) {
    return e.nativeErrorCode().toInt() & 0xFF;
}

bool run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    return q.exec(sql);
}

// Rows are copied a range of keys at a time; a range that meets a damaged page is
// copied again key by key, so only the rows on the damaged pages stay behind.
constexpr qint64 kRange = 256;

// Copies the old table's rows whose key lies in (from, to] or is one of keys.
// insert has %1 for the condition on the key.
void copyRange(QSqlDatabase& db, const QString& insert, const QString& key, qint64 from,
               qint64 to) {
    if (run(db, insert.arg(QStringLiteral("%1 > %2 AND %1 <= %3").arg(key).arg(from).arg(to))))
        return;
    for (qint64 k = from + 1; k <= to; ++k)
        run(db, insert.arg(QStringLiteral("%1 = %2").arg(key).arg(k)));
}

// The old history's runs, by id; their ids may lie far apart.
void copyRuns(QSqlDatabase& db, qint64 fileSize) {
    const QString insert = QStringLiteral(
        "INSERT OR IGNORE INTO main.runs(id, started_at, ended_at, mode, source, seconds, keys,"
        " misses, speed, completed) SELECT id, started_at, ended_at, mode, source, seconds,"
        " keys, misses, speed, completed FROM old.runs WHERE %1");
    QSqlQuery q(db);
    // When the last pages of runs cannot be read, the keys tell the last run, or else
    // the file's size bounds the ids: every run this program writes takes more than
    // 256 bytes with its keys.
    qint64 last = fileSize / 256;
    for (const char* sql : {"SELECT max(id) FROM old.runs", "SELECT max(run_id) FROM old.run_keys"})
        if (q.exec(QString::fromLatin1(sql)) && q.next()) {
            last = q.value(0).toLongLong();
            break;
        }
    for (qint64 from = 0; from < last;) {
        // Over a gap in the ids at once, where the pages after it can be read.
        if (q.exec(QStringLiteral("SELECT id FROM old.runs WHERE id > %1 ORDER BY id LIMIT 1")
                       .arg(from))) {
            if (!q.next()) break;
            from = std::max(from, q.value(0).toLongLong() - 1);
        }
        const qint64 to = std::min(last, from + kRange);
        copyRange(db, insert, QStringLiteral("id"), from, to);
        from = to;
    }
}

// The rows of a table keyed by run, for the runs copied already.
void copyRunRows(QSqlDatabase& db, const std::vector<qint64>& ids, const QString& insert) {
    for (std::size_t i = 0; i < ids.size(); i += std::size_t(kRange)) {
        const std::size_t end = std::min(ids.size(), i + std::size_t(kRange));
        const QString range = QStringLiteral("run_id >= %1 AND run_id <= %2"
                                             " AND run_id IN (SELECT id FROM main.runs)")
                                  .arg(ids[i])
                                  .arg(ids[end - 1]);
        if (run(db, insert.arg(range))) continue;
        for (std::size_t j = i; j < end; ++j)
            run(db, insert.arg(QStringLiteral("run_id = %1").arg(ids[j])));
    }
}

} // namespace

void keepJournalOnClose(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) return;
    if (sqlite3* s = *static_cast<sqlite3* const*>(handle.constData()))
        sqlite3_db_config(s, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

bool isBusy(const QSqlError& e) {
    const int code = primaryCode(e);
    return code == kBusy || code == kLocked;
}

qint64 salvage(QSqlDatabase& db, const QString& oldPath) {
    QSqlQuery attach(db);
    attach.prepare(QStringLiteral("ATTACH DATABASE ? AS old"));
    attach.addBindValue(oldPath);
    if (!attach.exec()) return 0;
    QSqlQuery q(db);
    // A file whose list of tables is gone holds nothing to find.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM old.sqlite_master"))) {
        q.finish();
        run(db, QStringLiteral("DETACH DATABASE old"));
        return 0;
    }
    const int oldVersion =
        q.exec(QStringLiteral("PRAGMA old.user_version")) && q.next() ? q.value(0).toInt() : 0;
    copyRuns(db, QFileInfo(oldPath).size());
    std::vector<qint64> ids;
    q.setForwardOnly(true);
    if (q.exec(QStringLiteral("SELECT id FROM main.runs ORDER BY id")))
        while (q.next()) ids.push_back(q.value(0).toLongLong());
    copyRunRows(db, ids,
                QStringLiteral("INSERT OR IGNORE INTO main.run_keys(run_id, vk, expected, missed,"
                               " ms_total, timed) SELECT run_id, vk, expected, missed, ms_total,"
                               " %1 FROM old.run_keys WHERE %2")
                    .arg(oldVersion >= 4 ? QStringLiteral("timed") : QStringLiteral("NULL"),
                         QStringLiteral("%1")));
    // Before Shift slips were kept apart, a pair of a key with itself was one.
    copyRunRows(db, ids,
                QStringLiteral("INSERT OR IGNORE INTO main.confusions(run_id, expected_vk,"
                               " typed_vk, shift_wrong, count) SELECT run_id, expected_vk,"
                               " typed_vk, %1, count FROM old.confusions WHERE %2")
                    .arg(oldVersion >= 2 ? QStringLiteral("shift_wrong")
                                         : QStringLiteral("expected_vk = typed_vk"),
                         QStringLiteral("%1")));
    run(db, QStringLiteral("INSERT OR REPLACE INTO main.settings(key, value)"
                           " SELECT key, value FROM old.settings"));
    if (oldVersion >= 3)
        run(db, QStringLiteral("INSERT INTO main.course(track, unlocked, at)"
                               " SELECT track, unlocked, at FROM old.course"));
    q.finish();
    run(db, QStringLiteral("DETACH DATABASE old"));
    return qint64(ids.size());
}

Check check(QSqlDatabase& db, bool full) {
    QSqlQuery q(db);
    if (!q.exec(full ? QStringLiteral("PRAGMA quick_check")
                     : QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const int code = primaryCode(q.lastError());
        if (code == kBusy || code == kLocked) return Check::Busy;
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
        key_.prepare(QStringLiteral("INSERT INTO run_keys(run_id, vk, expected, missed, ms_total,"
                                    " timed) VALUES(?, ?, ?, ?, ?, ?)")) &&
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
        key_.bindValue(5, k.timed);
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
