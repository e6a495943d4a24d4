#include "HistorySql.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <functional>
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

qint64 one(QSqlDatabase& db, const QString& sql, qint64 fallback) {
    QSqlQuery q(db);
    return q.exec(sql) && q.next() && !q.value(0).isNull() ? q.value(0).toLongLong() : fallback;
}

// Copies rows of one table of the old history a span of keys at a time: a span that
// meets a damaged page is halved until only the keys on that page are left. Below one
// value of the first key that still fails, a second key (a key code) is narrowed the
// same way, within a budget: where all of a value's rows lie on damaged pages, each
// try fails, and they are not worth many thousands of tries.
class SpanCopy {
public:
    // sql(depth, one): the statement that copies the rows whose first key lies in the
    // span bound (is the one value bound); at depth 1, whose first key is the value bound
    // first and whose second key lies in the span bound after it (is the one value).
    SpanCopy(QSqlDatabase& db, int keys, const std::function<QString(int, bool)>& sql) {
        for (int depth = 0; depth < keys; ++depth)
            for (bool one : {false, true}) {
                byDepth_.emplace_back(db);
                byDepth_.back().prepare(sql(depth, one));
            }
    }
    void copy(qint64 lo, qint64 hi) { copyAt(0, lo, hi); }

private:
    void copyAt(std::size_t depth, qint64 lo, qint64 hi) {
        if (lo > hi || (depth > 0 && --narrowing_ < 0)) return;
        QSqlQuery& q = byDepth_[2 * depth + (lo == hi)];
        int at = 0;
        if (depth > 0) q.bindValue(at++, first_);
        q.bindValue(at++, lo);
        if (lo != hi) q.bindValue(at, hi);
        if (q.exec()) return;
        if (lo < hi) {
            const qint64 mid = lo + (hi - lo) / 2;
            copyAt(depth, lo, mid);
            copyAt(depth, mid + 1, hi);
        } else if (depth == 0 && byDepth_.size() > 2) {
            first_ = lo;
            copyAt(1, 0, 255);
        }
    }

    std::vector<QSqlQuery> byDepth_; // a span and one value of each key
    qint64 first_ = 0;
    int narrowing_ = 1 << 14; // tries left below the first key
};

// Copies the rows of a rowid table (columns cols, read as `read`, those that pass
// `sound`) whose rowids lie in 1 .. last, each looked up by its rowid alone: a scan
// along the rowids stops at a damaged page, or ends early and quietly at a garbled row
// id on it, while a lookup reads only the pages on the way to its own row.
void copyByRowid(QSqlDatabase& db, const QString& table, const QString& cols, qint64 last,
                 const QString& read = QString(), const QString& sound = QStringLiteral("1")) {
    SpanCopy(db, 1, [&](int, bool one) {
        return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT ?%1) INSERT OR REPLACE INTO"
                              " main.%2(%3) SELECT %4 FROM n CROSS JOIN old.%2"
                              " ON old.%2.rowid = n.i WHERE %5")
            .arg(one ? QString() : QStringLiteral(" UNION ALL SELECT i + 1 FROM n WHERE i < ?"),
                 table, cols, read.isEmpty() ? cols : read, sound);
    }).copy(1, last);
}

// The rows of a table keyed by run (columns cols, read as `read`), for the runs copied:
// each run's rows are sought by its id, and a run that meets a damaged page by its
// next key (none: one row a run); only the rows that pass `sound`.
void copyRunRows(QSqlDatabase& db, const QString& table, const QString& cols, const QString& read,
                 const QString& nextKey, const QString& sound = QStringLiteral("1")) {
    SpanCopy(db, nextKey.isEmpty() ? 1 : 2, [&](int depth, bool one) {
        const QString where =
            (depth == 0 ? QStringLiteral("k.id") : QStringLiteral("k.id = ? AND ") + nextKey) +
            (one ? QStringLiteral(" = ?") : QStringLiteral(" BETWEEN ? AND ?"));
        return QStringLiteral("INSERT OR IGNORE INTO main.%1(%2) SELECT %3 FROM main.runs k"
                              " CROSS JOIN old.%1 o ON o.run_id = k.id WHERE %4 AND %5")
            .arg(table, cols, read, where, sound);
    }).copy(1, one(db, QStringLiteral("SELECT max(id) FROM main.runs"), 0));
}

// The old history's runs, by id.
void copyRuns(QSqlDatabase& db, qint64 fileSize, int oldVersion) {
    // Every run this program writes takes more than 64 bytes of the file: that bounds the
    // ids, and when the last pages of runs cannot be read (or read garbled), the keys tell
    // the last run.
    const qint64 bound = fileSize / 64;
    qint64 last = bound;
    for (const char* sql : {"SELECT max(id) FROM old.runs", "SELECT max(run_id) FROM old.run_keys",
                            "SELECT max(run_id) FROM old.confusions"}) {
        const qint64 max = one(db, QString::fromLatin1(sql), -1);
        if (max >= 0 && max <= bound) {
            last = max;
            break;
        }
    }
    // A row on a page overwritten in part may still read, garbled: its times and counts
    // tell whether it is one this program wrote.
    const QString time = QStringLiteral("GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T"
                                        "[0-9][0-9]:[0-9][0-9]:[0-9][0-9].[0-9][0-9][0-9]Z'");
    const QString rhythm = oldVersion >= 5 ? QStringLiteral("typeof(rhythm) IN ('real', 'null')")
                                           : QStringLiteral("1");
    copyByRowid(db, QStringLiteral("runs"),
                QString::fromLatin1(kRunColumns) + QStringLiteral(", rhythm"), last,
                runColumns(oldVersion),
                QStringLiteral("started_at %1 AND ended_at %1 AND typeof(mode) = 'text'"
                               " AND typeof(source) IN ('text', 'null')"
                               " AND typeof(seconds) IN ('real', 'integer', 'null')"
                               " AND typeof(speed) IN ('real', 'integer', 'null')"
                               " AND typeof(keys) = 'integer' AND typeof(misses) = 'integer'"
                               " AND completed IN (0, 1) AND %2")
                    .arg(time, rhythm));
}

} // namespace

QString runColumns(int version) {
    return QString::fromLatin1(kRunColumns) +
           (version >= 5 ? QStringLiteral(", rhythm") : QStringLiteral(", NULL"));
}

QString keyColumns(int version, bool sums) {
    // Rows from before presses were told apart by their time (NULL, or no column in a
    // file not yet migrated) have every press timed.
    const QString timed = version >= 4 ? QStringLiteral("timed") : QStringLiteral("NULL");
    if (!sums) return QStringLiteral("vk, expected, missed, ms_total, %1").arg(timed);
    return QStringLiteral("vk, sum(expected), sum(missed), sum(ms_total), sum(coalesce(%1,"
                          " CASE vk WHEN 13 THEN (expected + 1) / 2 ELSE expected END))")
        .arg(timed);
}

HistoryKey keyOf(const QSqlQuery& q, int first) {
    HistoryKey k;
    k.vk = q.value(first).toInt();
    k.expected = q.value(first + 1).toLongLong();
    k.missed = q.value(first + 2).toLongLong();
    k.msTotal = q.value(first + 3).toLongLong();
    if (!q.value(first + 4).isNull()) k.timed = q.value(first + 4).toLongLong(); // else every press
    return k;
}

QString shiftWrong(int version) {
    return version >= 2 ? QStringLiteral("shift_wrong")
                        : QStringLiteral("(expected_vk = typed_vk)");
}

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

bool isDamage(const QSqlError& e) {
    const int code = primaryCode(e);
    return code == kCorrupt || code == kNotADatabase;
}

Check foldJournal(const QString& path, int busyTimeoutMs) {
    sqlite3* s = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &s, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(s, busyTimeoutMs);
        // A read opens the journal; this one needs no list of tables, which may be damaged.
        rc = sqlite3_exec(s, "PRAGMA user_version", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc =
                sqlite3_wal_checkpoint_v2(s, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    }
    // The last connection to close takes the folded journal away.
    sqlite3_close(s);
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case kCorrupt: // no header to read a journal by: nothing in it can be used
    case kNotADatabase:
        return Check::Whole;
    case kBusy:
    case kLocked:
        return Check::Busy;
    default:
        return Check::Failed;
    }
}

qint64 salvage(QSqlDatabase& db, const QString& oldPath, bool fixed) {
    // A file put aside is read as it stands: reading it so makes no journal beside it. A
    // file still in use is read with its journal where that can be done here.
    QUrl url = QUrl::fromLocalFile(oldPath);
    QSqlQuery q(db);
    bool attached = false;
    for (const char* how : {"mode=ro", "immutable=1"}) {
        if (fixed && qstrcmp(how, "mode=ro") == 0) continue;
        url.setQuery(QString::fromLatin1(how));
        q.prepare(QStringLiteral("ATTACH DATABASE ? AS old"));
        q.addBindValue(url.toString(QUrl::FullyEncoded));
        if (!q.exec()) continue;
        // A file whose list of tables is gone holds nothing to find.
        attached = q.exec(QStringLiteral("SELECT count(*) FROM old.sqlite_master"));
        if (attached || isDamage(q.lastError())) break;
        q.finish();
        run(db, QStringLiteral("DETACH DATABASE old"));
    }
    if (!attached) {
        q.finish();
        run(db, QStringLiteral("DETACH DATABASE old"));
        return 0;
    }
    const int oldVersion = int(one(db, QStringLiteral("PRAGMA old.user_version"), 0));
    copyRuns(db, QFileInfo(oldPath).size(), oldVersion);
    copyRunRows(db, QStringLiteral("run_keys"),
                QStringLiteral("run_id, vk, expected, missed, ms_total, timed"),
                QStringLiteral("run_id, ") + keyColumns(oldVersion, false), QStringLiteral("vk"));
    copyRunRows(
        db, QStringLiteral("confusions"),
        QStringLiteral("run_id, expected_vk, typed_vk, shift_wrong, count"),
        QStringLiteral("run_id, expected_vk, typed_vk, %1, count").arg(shiftWrong(oldVersion)),
        QStringLiteral("expected_vk"));
    // A record whose bytes were garbled still reads as a BLOB; reading it for a pace
    // decodes it and passes over what does not decode.
    if (oldVersion >= 5)
        copyRunRows(db, QStringLiteral("run_strokes"), QStringLiteral("run_id, data"),
                    QStringLiteral("run_id, data"), QString());
    // A result whose row reads garbled is left out: its way, grade and figures must be
    // of the kinds written.
    if (oldVersion >= 6)
        copyRunRows(db, QStringLiteral("test_results"), QString::fromLatin1(kTestColumns),
                    QStringLiteral("run_id, way, grade, text_id, right_chars, faults, minutes,"
                                   " net, accuracy, passed"),
                    QString(),
                    QStringLiteral("typeof(o.way) = 'text' AND typeof(o.grade) = 'integer'"
                                   " AND typeof(o.right_chars) = 'integer'"
                                   " AND typeof(o.faults) = 'integer' AND o.passed IN (0, 1)"));
    if (oldVersion >= kOutboxVersion)
        copyRunRows(db, QStringLiteral("run_uuids"), QStringLiteral("run_id, uuid"),
                    QStringLiteral("run_id, uuid"), QString());
    // Small tables: their last rowid, or a guess where it cannot be read.
    const auto lastRowid = [&](const char* table) {
        return one(db, QStringLiteral("SELECT max(rowid) FROM old.%1").arg(QLatin1String(table)),
                   4096);
    };
    copyByRowid(db, QStringLiteral("settings"), QStringLiteral("key, value"),
                lastRowid("settings"));
    // The steps keep their order, which is that of their rowids.
    if (oldVersion >= 3)
        copyByRowid(db, QStringLiteral("course"), QStringLiteral("rowid, track, unlocked, at"),
                    lastRowid("course"), QStringLiteral("old.course.rowid, track, unlocked, at"));
    // What waits for the class's server keeps its order; a row whose parameters no longer
    // read as a list is no addition the server would take.
    if (oldVersion >= kOutboxVersion)
        copyByRowid(db, QStringLiteral("outbox"), QStringLiteral("id, kind, params"),
                    lastRowid("outbox"), QStringLiteral("old.outbox.id, kind, params"),
                    QStringLiteral("typeof(kind) = 'text' AND json_valid(params)"
                                   " AND json_type(params) = 'array'"));
    q.finish();
    run(db, QStringLiteral("DETACH DATABASE old"));
    return one(db, QStringLiteral("SELECT count(*) FROM main.runs"), 0);
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

TestResult testOf(const QSqlQuery& q, int first) {
    TestResult t;
    t.way = q.value(first).toString();
    t.grade = q.value(first + 1).toInt();
    t.textId = q.value(first + 2).toString();
    t.rightChars = q.value(first + 3).toInt();
    t.faults = q.value(first + 4).toInt();
    t.minutes = q.value(first + 5).toDouble();
    t.net = q.value(first + 6).toDouble();
    t.accuracy = q.value(first + 7).toDouble();
    t.passed = q.value(first + 8).toInt() != 0;
    return t;
}

bool hasColumns(QSqlDatabase& db) {
    const struct {
        const char* table;
        const char* columns;
    } needed[] = {
        {"runs", "id started_at ended_at mode source seconds keys misses speed completed rhythm"},
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

bool queue(QSqlDatabase& db, const QString& kind, const QJsonArray& params) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO outbox(kind, params) VALUES(?, ?)"));
    q.addBindValue(kind);
    q.addBindValue(QString::fromUtf8(outbox::encode(params)));
    return q.exec();
}

RunWriter::RunWriter(QSqlDatabase& db, bool queue)
    : run_(db), key_(db), confusion_(db), strokes_(db), test_(db), uuid_(db), outbox_(db),
      queue_(queue) {
    // The id is the next one free; the rhythm comes last.
    QStringList values{QStringLiteral("NULL")};
    while (values.size() < QString::fromLatin1(kRunColumns).count(QLatin1Char(',')) + 2)
        values << QStringLiteral("?");
    prepared_ =
        run_.prepare(QStringLiteral("INSERT INTO runs(%1, rhythm) VALUES(%2)")
                         .arg(QLatin1String(kRunColumns), values.join(QLatin1Char(',')))) &&
        strokes_.prepare(QStringLiteral("INSERT INTO run_strokes(run_id, data) VALUES(?, ?)")) &&
        test_.prepare(QStringLiteral("INSERT INTO test_results(%1) VALUES(?,?,?,?,?,?,?,?,?,?)")
                          .arg(QLatin1String(kTestColumns))) &&
        uuid_.prepare(QStringLiteral("INSERT INTO run_uuids(run_id, uuid) VALUES(?, ?)")) &&
        (!queue_ ||
         outbox_.prepare(QStringLiteral("INSERT INTO outbox(kind, params) VALUES(?, ?)"))) &&
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
    run_.bindValue(9, r.rhythm ? QVariant(*r.rhythm) : QVariant(QMetaType::fromType<double>()));
    if (!run_.exec()) return false;
    const qint64 id = run_.lastInsertId().toLongLong();
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    uuid_.bindValue(0, id);
    uuid_.bindValue(1, uuid);
    if (!uuid_.exec()) return false;
    if (queue_) {
        outbox_.bindValue(0, QStringLiteral("run"));
        outbox_.bindValue(1, QString::fromUtf8(outbox::encode(outbox::runParams(r, uuid))));
        if (!outbox_.exec()) return false;
    }
    if (!r.keystrokes.empty()) {
        strokes_.bindValue(0, id);
        strokes_.bindValue(1, keystrokes::encode(r.keystrokes));
        if (!strokes_.exec()) return false;
    }
    if (r.test) {
        const TestResult& t = *r.test;
        const QVariant values[] = {id,       t.way,     t.grade, t.textId,   t.rightChars,
                                   t.faults, t.minutes, t.net,   t.accuracy, t.passed ? 1 : 0};
        for (int i = 0; i < int(std::size(values)); ++i) test_.bindValue(i, values[i]);
        if (!test_.exec()) return false;
        if (queue_) {
            outbox_.bindValue(0, QStringLiteral("test"));
            outbox_.bindValue(1, QString::fromUtf8(outbox::encode(outbox::testParams(t, uuid))));
            if (!outbox_.exec()) return false;
        }
    }
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
