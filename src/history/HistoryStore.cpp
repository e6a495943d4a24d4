#include "HistoryStore.h"

#include "HistorySql.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char* const kWriteFailed =
    QT_TRANSLATE_NOOP("HistoryStore", "成績履歴に書き込めませんでした。");
const char* const kPutAside =
    QT_TRANSLATE_NOOP("HistoryStore", "成績履歴 %1 が壊れていました。\n"
                                      "%2 として取っておき、新しい履歴を始めます。");
const char* const kNewer =
    QT_TRANSLATE_NOOP("HistoryStore", "成績履歴 %1 は新しい版のプログラムで書かれています。\n"
                                      "この版では読むだけにして、書き足しません。");

QString text(const char* source) {
    return QCoreApplication::translate("HistoryStore", source);
}

// The schema of each version, reached from the one before it, in order: a file of
// version v gets steps v .. kVersion-1.
const QStringList kSteps[HistoryStore::kVersion] = {
    {
        QStringLiteral("CREATE TABLE IF NOT EXISTS runs(id INTEGER PRIMARY KEY, started_at TEXT,"
                       " ended_at TEXT, mode TEXT, source TEXT, seconds REAL, keys INTEGER,"
                       " misses INTEGER, speed REAL, completed INTEGER)"),
        // Keyed by run, without row ids: a run's rows lie together and need no index.
        QStringLiteral("CREATE TABLE IF NOT EXISTS run_keys(run_id INTEGER, vk INTEGER,"
                       " expected INTEGER, missed INTEGER, ms_total INTEGER,"
                       " PRIMARY KEY(run_id, vk)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS confusions(run_id INTEGER, expected_vk INTEGER,"
                       " typed_vk INTEGER, count INTEGER,"
                       " PRIMARY KEY(run_id, expected_vk, typed_vk)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value TEXT)"),
        // The per-day chart walks this index in its own order: no sort of every run.
        QStringLiteral("CREATE INDEX IF NOT EXISTS runs_by_day ON runs(substr(started_at, 1, 10),"
                       " mode, speed, keys, misses)"),
    },
    {
        // A confusion remembers whether Shift was wrong, so a forgotten Shift is not shown
        // as the key mistaken for itself. Before this, a pair of one key with itself could
        // only be a Shift slip.
        QStringLiteral("CREATE TABLE confusions_new(run_id INTEGER, expected_vk INTEGER,"
                       " typed_vk INTEGER, shift_wrong INTEGER NOT NULL DEFAULT 0, count INTEGER,"
                       " PRIMARY KEY(run_id, expected_vk, typed_vk, shift_wrong)) WITHOUT ROWID"),
        QStringLiteral("INSERT INTO confusions_new SELECT run_id, expected_vk, typed_vk,"
                       " expected_vk = typed_vk, count FROM confusions"),
        QStringLiteral("DROP TABLE confusions"),
        QStringLiteral("ALTER TABLE confusions_new RENAME TO confusions"),
    },
};

int connections = 0;

} // namespace

HistoryStore::HistoryStore()
    : connection_(QStringLiteral("velotapper-history-%1").arg(++connections)) {}

HistoryStore::~HistoryStore() {
    close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(connection_)) QSqlDatabase::removeDatabase(connection_);
}

void HistoryStore::close() {
    if (db_.isOpen()) db_.close();
    path_.clear();
}

bool HistoryStore::exec(const QString& sql) {
    QSqlQuery q(db_);
    return q.exec(sql);
}

bool HistoryStore::ready(Use use) {
    const QString path = QDir::current().absoluteFilePath(QString::fromLatin1(kHistoryFileName));
    if (!db_.isOpen() || path != path_) {
        close();
        // Reading never makes a file: no history yet is an empty one.
        if (use == Use::Read && !QFileInfo(path).isFile()) return false;
        if (!open(path)) {
            close();
            return false;
        }
    }
    // The whole file is checked before the first write to it, and nothing is changed
    // in it before: writing into damaged pages spreads the damage, and a damaged file
    // is put aside as it was found. Reading needs only the light check made at open.
    if (use == Use::Write && !readOnly_ && !checked_) {
        switch (historysql::check(db_, true)) {
        case historysql::Check::Whole:
            break;
        case historysql::Check::Failed:
            close();
            return false;
        case historysql::Check::Damaged:
            close();
            if (!putAside(path) || !open(path)) {
                close();
                return false;
            }
            break;
        }
        if (!readOnly_ && !prepareForWriting()) {
            close();
            return false;
        }
        checked_ = true;
    }
    return use == Use::Read ? readable_ : !readOnly_;
}

bool HistoryStore::open(const QString& path) {
    if (!db_.isValid()) db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    path_ = path;
    readOnly_ = false;
    readable_ = true;
    checked_ = false;
    db_.setDatabaseName(path);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db_.open()) return false;
    switch (historysql::check(db_, false)) {
    case historysql::Check::Whole:
        break;
    case historysql::Check::Failed:
        return false;
    case historysql::Check::Damaged:
        db_.close();
        if (!putAside(path) || !db_.open()) return false;
        path_ = path;
        break;
    }
    return readVersion();
}

bool HistoryStore::putAside(const QString& path) {
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(Platform::get().calendarMs(), Qt::UTC);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".damaged-") + stamp + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(path, aside)) return false;
    // The journal files belong to the damaged file: a new database must not take them up.
    for (const char* side : {"-wal", "-shm", "-journal"}) {
        const QString from = path + QLatin1String(side);
        if (QFileInfo::exists(from) && !QFile::rename(from, aside + QLatin1String(side)))
            QFile::remove(from);
    }
    Platform::get().messageBox(
        nullptr, text(kPutAside).arg(QFileInfo(path).fileName(), QFileInfo(aside).fileName()));
    return true;
}

bool HistoryStore::readVersion() {
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return false;
    version_ = q.value(0).toInt();
    q.finish(); // an open statement would keep the journal mode from changing later
    // NORMAL syncs at checkpoints only; with WAL a crash of the program loses nothing
    // committed, and a run costs no disk flush.
    exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (version_ > kVersion) {
        readOnly_ = true;
        readable_ = historysql::hasColumns(db_);
        if (!newerSaid_) {
            newerSaid_ = true;
            Platform::get().messageBox(nullptr,
                                       text(kNewer).arg(QString::fromLatin1(kHistoryFileName)));
        }
    }
    return true;
}

bool HistoryStore::prepareForWriting() {
    // WAL: a killed write leaves the file whole, and readers do not wait for a writer.
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (version_ == kVersion) return true;
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    bool ok = true;
    for (int v = version_; ok && v < kVersion; ++v)
        for (const QString& sql : kSteps[v]) ok = ok && exec(sql);
    ok = ok && exec(QStringLiteral("PRAGMA user_version=%1").arg(kVersion)) &&
         exec(QStringLiteral("COMMIT"));
    if (!ok) exec(QStringLiteral("ROLLBACK"));
    if (ok) version_ = kVersion;
    return ok;
}

void HistoryStore::writeFailed() {
    if (writeFailSaid_) return;
    writeFailSaid_ = true;
    Platform::get().messageBox(nullptr, text(kWriteFailed));
}

bool HistoryStore::append(const RunSummary& run) {
    return writeRuns({&run});
}

bool HistoryStore::appendAll(const std::vector<RunSummary>& runs) {
    std::vector<const RunSummary*> all;
    all.reserve(runs.size());
    for (const RunSummary& r : runs) all.push_back(&r);
    return writeRuns(all);
}

bool HistoryStore::writeRuns(const std::vector<const RunSummary*>& runs) {
    if (!ready(Use::Write)) {
        if (!readOnly_) writeFailed(); // a newer program's file has said so already
        return false;
    }
    // IMMEDIATE takes the write lock up front, so waiting for another program happens
    // here, within the busy timeout, and never half way through the run's rows.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        writeFailed();
        return false;
    }
    historysql::RunWriter writer(db_);
    bool ok = writer.prepared();
    for (const RunSummary* run : runs) ok = ok && writer.write(*run);
    if (!ok || !exec(QStringLiteral("COMMIT"))) {
        exec(QStringLiteral("ROLLBACK"));
        writeFailed();
        return false;
    }
    return true;
}

bool HistoryStore::clear() {
    if (!ready(Use::Write) || !exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    const bool ok = exec(QStringLiteral("DELETE FROM confusions")) &&
                    exec(QStringLiteral("DELETE FROM run_keys")) &&
                    exec(QStringLiteral("DELETE FROM runs")) && exec(QStringLiteral("COMMIT"));
    if (!ok) exec(QStringLiteral("ROLLBACK"));
    return ok;
}

QString HistoryStore::setting(const QString& key, const QString& fallback) {
    if (!ready(Use::Read)) return fallback;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT value FROM settings WHERE key = ?"));
    q.addBindValue(key);
    return q.exec() && q.next() ? q.value(0).toString() : fallback;
}

void HistoryStore::setSetting(const QString& key, const QString& value) {
    if (!ready(Use::Write)) {
        if (!readOnly_) writeFailed();
        return;
    }
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings(key, value) VALUES(?, ?)"));
    q.addBindValue(key);
    q.addBindValue(value);
    if (!q.exec()) writeFailed();
}
