#include "HistoryStore.h"

#include "HistorySql.h"
#include "Platform.h"
#include "RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <utility>

namespace {

const QString kDb = QString::fromLatin1(kHistoryFileName);

QString writeFailedText(bool runs) {
    return (runs ? QCoreApplication::translate(
                       "HistoryStore",
                       "成績履歴 %1 に書き込めなかったため、この回の成績は履歴に残りません。")
                 : QCoreApplication::translate(
                       "HistoryStore",
                       "成績履歴 %1 に書き込めなかったため、変えた設定は履歴に残りません。"))
        .arg(kDb);
}
// The record is saved where the history is only read: the message says which is which.
QString notKeptText() {
    return QCoreApplication::translate(
               "HistoryStore",
               "記録 %1 はこれまでどおり保存しますが、この回からの成績、コースの進み具合、"
               "日本語の文章の続きと、履歴に残す設定（苦手キーを多く出題、日本語はかなキーで入力、"
               "コースの目標）は残りません。")
        .arg(QString::fromLatin1(kRecordFileName));
}
QString folderReadOnlyText() {
    return QCoreApplication::translate(
               "HistoryStore", "作業フォルダーに書き込めないため、成績履歴 %1 は読むだけにします。")
               .arg(kDb) +
           notKeptText();
}
QString newerText() {
    return QCoreApplication::translate(
               "HistoryStore", "成績履歴 %1 は新しい版のプログラムのものなので、読むだけにします。")
               .arg(kDb) +
           notKeptText();
}
QString damagedUnreadText() {
    return QCoreApplication::translate("HistoryStore",
                                       "成績履歴 %1 は壊れていて読み出せません。書き込めるように"
                                       "なれば、壊れたファイルを取っておいて新しい履歴を始めます。")
        .arg(kDb);
}
QString damagedShownText(qint64 runs) {
    return QCoreApplication::translate(
               "HistoryStore",
               "成績履歴 %1 が壊れています。いまは書き込めないため直さずに、読み出せた "
               "%2 回の成績だけを表示します。書き込めるようになれば、壊れたファイルを"
               "取っておいて、読み出せる成績で新しい履歴を始めます。")
        .arg(kDb)
        .arg(runs);
}
// Why a history that is there was not read.
QString unreadText(bool busy, bool damaged) {
    if (damaged) return damagedUnreadText();
    return (busy ? QCoreApplication::translate(
                       "HistoryStore",
                       "成績履歴 %1 はほかのプログラムが使用中で、いまは読めません。")
                 : QCoreApplication::translate("HistoryStore", "成績履歴 %1 を読めません。"))
        .arg(kDb);
}
// How a file and its journal stand: a damaged file read once is read in memory again
// only while it stays so.
QString fileStamp(const QString& path) {
    QString stamp;
    for (const QFileInfo& f : {QFileInfo(path), QFileInfo(path + QStringLiteral("-wal"))})
        stamp += QStringLiteral("%1 %2 ").arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    return path + QLatin1Char(' ') + stamp;
}
// A moment's wait before a held file is tried again; the try itself does not wait.
constexpr int kRetryMs = 1000;
// The journal is folded into the file once it holds about this much (some 50 runs).
constexpr qint64 kJournalBytes = 1 << 20;
// The setting that names the last waiting entry the history took in.
const QString kTakenSetting = QStringLiteral("waiting.taken");
// The end of the program checks a history whole only up to this size (some 20 ms).
constexpr qint64 kCheckAtExitBytes = 4 << 20;

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
    },
    {
        // A confusion remembers whether Shift was wrong, so a forgotten Shift is not shown
        // as the key mistaken for itself. Before this, a pair of one key with itself could
        // only be a Shift slip.
        QStringLiteral("CREATE TABLE confusions_new(run_id INTEGER, expected_vk INTEGER,"
                       " typed_vk INTEGER, shift_wrong INTEGER NOT NULL DEFAULT 0, count INTEGER,"
                       " PRIMARY KEY(run_id, expected_vk, typed_vk, shift_wrong)) WITHOUT ROWID"),
        QStringLiteral("INSERT INTO confusions_new SELECT run_id, expected_vk, typed_vk, %1,"
                       " count FROM confusions")
            .arg(historysql::shiftWrong(1)),
        QStringLiteral("DROP TABLE confusions"),
        QStringLiteral("ALTER TABLE confusions_new RENAME TO confusions"),
        // The chart groups runs by local day, which no index can serve; the index of UTC
        // days would only cost every write.
        QStringLiteral("DROP INDEX IF EXISTS runs_by_day"),
    },
    {
        // The guided course: each row a step a track reached, so the latest is where it
        // stands and all of them show its way.
        QStringLiteral("CREATE TABLE IF NOT EXISTS course(track TEXT, unlocked INTEGER, at TEXT)"),
    },
    {
        // How many of a key's presses carry a time: a run's first key and a key after a
        // pause do not. Adding the column rewrites no row; the rows before it read NULL,
        // every press timed, as they were counted.
        QStringLiteral("ALTER TABLE run_keys ADD COLUMN timed INTEGER"),
    },
    {
        // Each run's keystrokes, one record a run (see Keystrokes.h), apart from runs so
        // that the queries over runs read no more pages than before; and how evenly the
        // run was typed. Older runs have neither.
        QStringLiteral("CREATE TABLE IF NOT EXISTS run_strokes(run_id INTEGER PRIMARY KEY"
                       " REFERENCES runs(id), data BLOB NOT NULL)"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN rhythm REAL"),
    },
    {
        // The graded tests: one row beside each test's run, so a grade's results are read
        // without the runs' keys, and the text id rebuilds the text the test used.
        QStringLiteral("CREATE TABLE IF NOT EXISTS test_results(run_id INTEGER PRIMARY KEY"
                       " REFERENCES runs(id), way TEXT NOT NULL, grade INTEGER NOT NULL,"
                       " text_id TEXT, right_chars INTEGER, faults INTEGER, minutes REAL,"
                       " net REAL, accuracy REAL, passed INTEGER)"),
    },
    {
        // Each run's UUID, by which the class's server keeps one copy of a run sent twice;
        // and what waits to be sent there, each row the parameters of one addition.
        QStringLiteral("CREATE TABLE IF NOT EXISTS run_uuids(run_id INTEGER PRIMARY KEY"
                       " REFERENCES runs(id), uuid TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS outbox(id INTEGER PRIMARY KEY,"
                       " kind TEXT NOT NULL, params TEXT NOT NULL)"),
    },
};

int connections = 0;

} // namespace

HistoryStore::HistoryStore()
    : connection_(QStringLiteral("velotapper-history-%1").arg(++connections)) {
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    retry_.callOnTimeout([this] {
        // Not within a write that shows a message: the next moment tries.
        if (writing_) {
            retry_.start();
            return;
        }
        const int wait = busyTimeoutMs_;
        busyTimeoutMs_ = 0;
        write({});
        busyTimeoutMs_ = wait;
    });
}

HistoryStore::~HistoryStore() {
    close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(connection_)) QSqlDatabase::removeDatabase(connection_);
}

void HistoryStore::close() {
    if (db_.isOpen()) db_.close();
    path_.clear();
    for (const QString& text : std::exchange(notices_, {}))
        Platform::get().messageBox(nullptr, text);
}

void HistoryStore::say(const QString& text) {
    notices_ << text;
    if (!db_.isOpen()) close();
}

bool HistoryStore::exec(const QString& sql) {
    QSqlQuery q(db_);
    if (q.exec(sql)) return true;
    if (historysql::isBusy(q.lastError())) busy_ = true;
    return false;
}

void HistoryStore::endOfMoment() {
    momentQueued_ = false;
    readHeld_ = false;
    close();
}

bool HistoryStore::ready(Use use) {
    const QString path = target_.isEmpty() ? currentFile() : target_;
    if (db_.isOpen() && path != path_) close();
    if (!db_.isOpen()) {
        // Reading never makes a file: no history yet is an empty one.
        if (use == Use::Read && !QFileInfo(path).isFile()) {
            cannotRead_.clear();
            return false;
        }
        // Once this moment's reads found the file held, the others do not wait again.
        if (use == Use::Read && readHeld_) return false;
        // The file is closed again when the event loop next runs, whatever comes of this.
        if (!momentQueued_ && QCoreApplication::instance()) {
            momentQueued_ = true;
            QMetaObject::invokeMethod(
                &moment_, [this] { endOfMoment(); }, Qt::QueuedConnection);
        }
        busy_ = false;
        damaged_ = false;
        bool opened = open(path);
        // A damaged file that stays in place is read from a copy in memory, and not
        // read directly again while it stays as it was.
        if (opened && readOnly_ && damagedSeen_ == fileStamp(path)) {
            db_.close();
            opened = false;
            damaged_ = true;
        }
        if (!opened && damaged_ && use == Use::Read) opened = readInMemory(path);
        if (!opened) {
            close();
            if (use == Use::Read) {
                readHeld_ = busy_;
                cannotRead_ = unreadText(busy_, damaged_);
            }
            return false;
        }
        if (!damaged_) cannotRead_ = readable_ ? QString() : newerText();
    }
    // The whole file is checked before the first write to it, and nothing is changed
    // in it before: writing into damaged pages spreads the damage, and a damaged file
    // is put aside as it was found. Reading needs only the light check made at open.
    if (use == Use::Write && !readOnly_) {
        if (checkedPath_ != path) {
            switch (historysql::check(db_, true)) {
            case historysql::Check::Whole:
                break;
            case historysql::Check::Busy:
                busy_ = true;
                [[fallthrough]];
            case historysql::Check::Failed:
                close();
                return false;
            case historysql::Check::Damaged:
                close();
                if (!replaceDamaged(path)) {
                    close();
                    return false;
                }
                break;
            }
        }
        // Every time: the file may have been replaced since, by an empty one or an older one.
        if (!prepareForWriting()) {
            close();
            return false;
        }
        checkedPath_ = path;
    }
    return use == Use::Read ? readable_ : !readOnly_;
}

bool HistoryStore::open(const QString& path) {
    if (!db_.isValid()) db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    path_ = path;
    readOnly_ = false;
    readable_ = true;
    readOnlyWhy_.clear();
    version_ = 0;
    const QFileInfo file(path);
    if (!QFileInfo(file.absolutePath()).isWritable() || (file.exists() && !file.isWritable()))
        return openReadOnly(path);
    db_.setDatabaseName(path);
    // URIs name the damaged file a new history reads its runs from.
    db_.setConnectOptions(
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI").arg(busyTimeoutMs_));
    if (!db_.open()) return false;
    historysql::keepJournalOnClose(db_);
    switch (historysql::check(db_, false)) {
    case historysql::Check::Whole:
        break;
    case historysql::Check::Busy:
        busy_ = true;
        return false;
    case historysql::Check::Failed:
        return false;
    case historysql::Check::Damaged:
        db_.close();
        return replaceDamaged(path);
    }
    return readVersion();
}

bool HistoryStore::openReadOnly(const QString& path) {
    readOnly_ = true;
    readOnlyWhy_ = folderReadOnlyText();
    if (!QFileInfo(path).isFile()) return false;
    db_.setDatabaseName(path);
    db_.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (db_.open()) {
        switch (historysql::check(db_, false)) {
        case historysql::Check::Whole:
            return readVersion();
        case historysql::Check::Busy:
            busy_ = true;
            return false;
        case historysql::Check::Damaged:
            db_.close();
            damaged_ = true;
            return false;
        case historysql::Check::Failed:
            break;
        }
        db_.close();
    }
    // The journal's shared-memory file cannot be made in this folder: read the file
    // as it stands, without it.
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("immutable=1"));
    db_.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    if (!db_.open()) return false;
    switch (historysql::check(db_, false)) {
    case historysql::Check::Whole:
        return readVersion();
    case historysql::Check::Damaged:
        damaged_ = true;
        break;
    default:
        break;
    }
    db_.close();
    return false;
}

QString HistoryStore::putAside(const QString& path) {
    // The copy put aside is one file, with what its journal held folded in.
    switch (historysql::foldJournal(path, busyTimeoutMs_)) {
    case historysql::Check::Busy:
        busy_ = true;
        return QString();
    case historysql::Check::Whole:
        break;
    default:
        return QString();
    }
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(Platform::get().calendarMs(), Qt::UTC);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".damaged-") + stamp + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(path, aside)) return QString();
    // What is left of a journal beside it held nothing a database could use (beside a
    // file that is none), and a new database must not take it up.
    for (const char* side : {"-wal", "-shm", "-journal"}) QFile::remove(path + QLatin1String(side));
    return aside;
}

bool HistoryStore::startOver(const QString& path, const QString& aside) {
    const bool ok = open(path) && prepareForWriting();
    const qint64 kept = ok ? historysql::salvage(db_, aside, true) : 0;
    if (ok) checkedPath_ = path;
    const QString name = QFileInfo(aside).fileName();
    say(kept > 0 ? QCoreApplication::translate("HistoryStore",
                                               "成績履歴 %1 が壊れていたため %2 として取っておき、"
                                               "読み出せた %3 回の成績で新しい履歴を始めます。")
                       .arg(kDb, name)
                       .arg(kept)
                 : QCoreApplication::translate(
                       "HistoryStore",
                       "成績履歴 %1 が壊れていたため %2 として取っておき、新しい履歴を始めます。")
                       .arg(kDb, name));
    return ok;
}

bool HistoryStore::replaceDamaged(const QString& path) {
    if (!readOnly_) {
        const QString aside = putAside(path);
        if (!aside.isEmpty()) return startOver(path, aside);
    }
    damaged_ = !busy_;
    return false;
}

bool HistoryStore::readInMemory(const QString& path) {
    path_ = path;
    // Nothing is written to the copy; the file is put aside once its folder takes writes.
    readOnly_ = true;
    if (readOnlyWhy_.isEmpty()) readOnlyWhy_ = damagedUnreadText();
    readable_ = true;
    version_ = 0;
    db_.setDatabaseName(QStringLiteral(":memory:"));
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db_.open() || !prepareForWriting()) {
        db_.close();
        return false;
    }
    const qint64 runs = historysql::salvage(db_, path, false);
    damagedSeen_ = fileStamp(path);
    cannotRead_ = runs > 0 ? QString() : damagedUnreadText();
    if (damagedSaid_ != path) {
        damagedSaid_ = path;
        say(runs > 0 ? damagedShownText(runs) : cannotRead_);
    }
    return true;
}

bool HistoryStore::read(const std::function<bool(QSqlQuery&)>& body) {
    for (bool first = true;; first = false) {
        if (!ready(Use::Read)) return false;
        QSqlError error;
        {
            QSqlQuery q(db_);
            q.setForwardOnly(true);
            const bool ok = body(q);
            error = q.lastError();
            if (ok && !error.isValid()) return true;
        }
        if (!first || damaged_ || !historysql::isDamage(error)) return false;
        // A damaged page: the read is made again on what could be carried out of it.
        const QString path = path_;
        db_.close();
        if (!replaceDamaged(path) && !(damaged_ && readInMemory(path))) {
            close();
            cannotRead_ = unreadText(busy_, damaged_);
            return false;
        }
    }
}

bool HistoryStore::readVersion() {
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return false;
    version_ = q.value(0).toInt();
    q.finish(); // an open statement would keep the journal mode from changing later
    if (version_ < 0) {
        // No version of this program writes a negative one: the file is not ours, and
        // there are no steps to bring it up to date.
        const QString path = path_;
        q = QSqlQuery();
        db_.close();
        return replaceDamaged(path);
    }
    // NORMAL syncs at checkpoints only; with WAL a crash of the program loses nothing
    // committed, and a run costs no disk flush.
    exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (version_ > kVersion) {
        readOnly_ = true;
        readable_ = historysql::hasColumns(db_);
        readOnlyWhy_ = QCoreApplication::translate(
            "HistoryStore", "成績履歴は新しい版のプログラムのもので、この版では変えられません。");
        if (!newerSaid_) {
            newerSaid_ = true;
            say(newerText());
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

void HistoryStore::writeFailed(const QString& why) {
    if (writeFailSaid_) return;
    writeFailSaid_ = true;
    say(why);
}

bool HistoryStore::append(const RunSummary& run) {
    Batch batch;
    batch.runs = {&run};
    return write(batch) != Outcome::Dropped;
}

bool HistoryStore::appendAll(const std::vector<RunSummary>& runs) {
    Batch batch;
    batch.runs.reserve(runs.size());
    for (const RunSummary& r : runs) batch.runs.push_back(&r);
    return write(batch) != Outcome::Dropped;
}

QString HistoryStore::currentFile() {
    return QDir::current().absoluteFilePath(kDb);
}

HistoryStore::Outcome HistoryStore::write(const Batch& batch) {
    const QString here = currentFile();
    // What waits was made in its own working folder and goes to that folder's history,
    // wherever the file dialog has moved the program since.
    std::vector<QString> files;
    for (const auto& entry : waiting_)
        if (entry.first != here) files.push_back(entry.first);
    bool held = false;
    for (const QString& file : files) held = writeTo(file, {}) == Outcome::Held || held;
    Outcome result = Outcome::Written;
    if (!batch.empty() || waiting_.count(here)) result = writeTo(here, batch);
    if (!batch.runs.empty()) lastRunWaits_ = result == Outcome::Held;
    if (waiting_.empty())
        retry_.stop();
    else
        retry_.start();
    return held && result == Outcome::Written ? Outcome::Held : result;
}

HistoryStore::Outcome HistoryStore::writeTo(const QString& file, const Batch& batch) {
    // A write always opens the file afresh: locks of a connection left open may be gone.
    close();
    busy_ = false;
    target_ = file;
    const QScopedValueRollback<bool> writing(writing_, true);
    // What is taken in from beside the file must be on the disk before that file goes.
    const bool beside = QFileInfo::exists(waiting::fileFor(file));
    // IMMEDIATE takes the write lock up front, so waiting for another program happens
    // here, within the busy timeout, and never half way through the run's rows.
    bool ok = ready(Use::Write) && (!beside || exec(QStringLiteral("PRAGMA synchronous=FULL"))) &&
              exec(QStringLiteral("BEGIN IMMEDIATE"));
    waiting::Contents taken;
    if (ok) {
        // Read under the write lock, so no other program takes the same entries in.
        if (beside) taken = waiting::read(file, takenMark());
        const auto mine = waiting_.find(file);
        ok = writeWaiting(taken, mine == waiting_.end() ? nullptr : &mine->second, batch, true) &&
             exec(QStringLiteral("COMMIT"));
        if (!ok) exec(QStringLiteral("ROLLBACK"));
        // Each open reads the whole journal the last close left: fold it in while short.
        if (ok && QFileInfo(path_ + QStringLiteral("-wal")).size() > kJournalBytes)
            exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    target_.clear();
    const bool newer = readOnly_ && version_ > kVersion; // said when it was opened
    const QString why = readOnly_ ? readOnlyWhy_ : QString();
    close();
    if (!ok && busy_) {
        // Kept beside the history, on the disk; in memory when even that fails.
        Waiting& w = waiting_[file];
        std::vector<waiting::Entry> entries = batch.steps;
        for (const RunSummary* run : batch.runs) entries.push_back(waiting::runEntry(*run));
        for (const auto& [key, value] : batch.settings)
            entries.push_back(waiting::settingEntry(key, value));
        if (waiting::append(file, entries)) {
            w.runsInFile += int(batch.runs.size());
        } else {
            for (const RunSummary* run : batch.runs) w.runs.push_back(*run);
            for (const auto& [key, value] : batch.settings) w.settings[key] = value;
            w.steps.insert(w.steps.end(), batch.steps.begin(), batch.steps.end());
        }
        return Outcome::Held;
    }
    if (ok && beside) waiting::removeTaken(file, taken.lastId);
    const auto mine = waiting_.find(file);
    const bool hadRuns =
        !batch.runs.empty() || (mine != waiting_.end() && !mine->second.runs.empty());
    if (mine != waiting_.end()) waiting_.erase(mine);
    if (ok) return Outcome::Written;
    if (!newer) writeFailed(why.isEmpty() ? writeFailedText(hadRuns) : why);
    return Outcome::Dropped;
}

bool HistoryStore::writeWaiting(const waiting::Contents& beside, const Waiting* mine,
                                const Batch& batch, bool withRuns) {
    // Oldest first: what waits beside the file, what waits here, the batch.
    std::vector<const RunSummary*> runs;
    std::vector<std::pair<QString, QString>> settings;
    std::vector<const waiting::Entry*> steps;
    for (const waiting::Entry& e : beside.entries) {
        if (e.kind == waiting::Entry::Kind::Run) runs.push_back(&e.run);
        if (e.kind == waiting::Entry::Kind::Setting) settings.emplace_back(e.key, e.value);
        if (e.kind == waiting::Entry::Kind::Step) steps.push_back(&e);
    }
    if (mine) {
        for (const RunSummary& run : mine->runs) runs.push_back(&run);
        settings.insert(settings.end(), mine->settings.begin(), mine->settings.end());
        for (const waiting::Entry& step : mine->steps) steps.push_back(&step);
    }
    runs.insert(runs.end(), batch.runs.begin(), batch.runs.end());
    settings.insert(settings.end(), batch.settings.begin(), batch.settings.end());
    for (const waiting::Entry& step : batch.steps) steps.push_back(&step);
    // The mark of what was taken in goes in the same transaction: a program ended before
    // the waiting file is removed takes none of it in twice.
    if (!beside.lastId.isEmpty()) settings.emplace_back(kTakenSetting, beside.lastId);

    bool ok = true;
    if (withRuns) {
        historysql::RunWriter writer(db_, queueing_);
        ok = writer.prepared();
        for (const RunSummary* run : runs) ok = ok && writer.write(*run);
        QSqlQuery q(db_);
        ok = ok &&
             (steps.empty() ||
              q.prepare(QStringLiteral("INSERT INTO course(track, unlocked, at) VALUES(?, ?, ?)")));
        for (const waiting::Entry* step : steps) {
            q.bindValue(0, step->track);
            q.bindValue(1, step->unlocked);
            q.bindValue(2, historysql::isoTime(step->at));
            ok = ok && q.exec() &&
                 (!queueing_ ||
                  historysql::queue(db_, QStringLiteral("step"),
                                    outbox::stepParams(step->track, step->unlocked, step->at)));
        }
    }
    QSqlQuery q(db_);
    ok =
        ok && q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings(key, value) VALUES(?, ?)"));
    for (const auto& [key, value] : settings) {
        q.bindValue(0, key);
        q.bindValue(1, value);
        ok = ok && q.exec();
    }
    return ok;
}

QString HistoryStore::takenMark() {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT value FROM settings WHERE key = ?"));
    q.addBindValue(kTakenSetting);
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

std::vector<waiting::Entry> HistoryStore::waitingHere() {
    const QString file = currentFile();
    std::vector<waiting::Entry> all;
    // Unread, the mark is taken as none: an entry read twice does no harm.
    if (QFileInfo::exists(waiting::fileFor(file)))
        all = waiting::read(file, ready(Use::Read) ? takenMark() : QString()).entries;
    if (const auto mine = waiting_.find(file); mine != waiting_.end()) {
        for (const auto& [key, value] : mine->second.settings) {
            waiting::Entry e;
            e.kind = waiting::Entry::Kind::Setting;
            e.key = key;
            e.value = value;
            all.push_back(e);
        }
        all.insert(all.end(), mine->second.steps.begin(), mine->second.steps.end());
    }
    return all;
}

std::vector<RunSummary> HistoryStore::waitingRuns() {
    std::vector<RunSummary> runs;
    for (waiting::Entry& e : waitingHere())
        if (e.kind == waiting::Entry::Kind::Run) runs.push_back(std::move(e.run));
    if (const auto mine = waiting_.find(currentFile()); mine != waiting_.end())
        runs.insert(runs.end(), mine->second.runs.begin(), mine->second.runs.end());
    return runs;
}

int HistoryStore::pendingRuns() const {
    int n = 0;
    for (const auto& entry : waiting_) n += int(entry.second.runs.size()) + entry.second.runsInFile;
    return n;
}

void HistoryStore::finish(int waitMs) {
    retry_.stop();
    QElapsedTimer clock;
    clock.start();
    const int wait = busyTimeoutMs_;
    std::vector<QString> files;
    for (const auto& entry : waiting_) files.push_back(entry.first);
    for (const QString& file : files) {
        const auto w = waiting_.find(file);
        if (w == waiting_.end() || clock.elapsed() > waitMs) continue;
        const bool inMemory =
            !w->second.runs.empty() || !w->second.settings.empty() || !w->second.steps.empty();
        // A file not yet written this session is first read whole, which takes long in a
        // large history; what waits beside it is safe there for the next session.
        if (!inMemory && checkedPath_ != file && QFileInfo(file).size() > kCheckAtExitBytes)
            continue;
        // Opening the file and taking its write lock may each wait for the other program.
        busyTimeoutMs_ = int(std::max<qint64>(0, (waitMs - clock.elapsed()) / 2));
        writeTo(file, {});
    }
    busyTimeoutMs_ = wait;
    retry_.stop();
    int runs = 0;
    bool rest = false;
    for (const auto& entry : waiting_) {
        runs += int(entry.second.runs.size());
        rest = rest || !entry.second.settings.empty() || !entry.second.steps.empty();
    }
    waiting_.clear();
    // Only what could be kept nowhere, not even beside the history, is lost.
    if (runs > 0)
        say(QCoreApplication::translate("HistoryStore",
                                        "成績履歴 %1 はほかのプログラムが使用中のままのため、%2 "
                                        "回の成績を書き込めずに終わります。")
                .arg(kDb)
                .arg(runs));
    else if (rest)
        say(QCoreApplication::translate("HistoryStore",
                                        "成績履歴 %1 はほかのプログラムが使用中のままのため、"
                                        "変えた設定とコースの進み具合を書き込めずに終わります。")
                .arg(kDb));
}

QString HistoryStore::cannotWrite() {
    if (QFileInfo(currentFile()).isFile()) {
        ready(Use::Read); // opening learns whether the file or its folder takes writes
        return readOnly_ ? readOnlyWhy_ : QString();
    }
    return QFileInfo(QDir::currentPath()).isWritable() ? QString() : folderReadOnlyText();
}

bool HistoryStore::clear() {
    close();
    busy_ = false;
    const QScopedValueRollback<bool> writing(writing_, true);
    const QString here = currentFile();
    const bool beside = QFileInfo::exists(waiting::fileFor(here));
    bool ok = ready(Use::Write) && (!beside || exec(QStringLiteral("PRAGMA synchronous=FULL"))) &&
              exec(QStringLiteral("BEGIN IMMEDIATE"));
    waiting::Contents taken;
    if (ok) {
        if (beside) taken = waiting::read(here, takenMark());
        const auto mine = waiting_.find(here);
        // The settings waiting go in; the runs and course steps waiting go with the rest.
        // The outbox stays: what the class's server has not had yet is the learner's still.
        ok = exec(QStringLiteral("DELETE FROM test_results")) &&
             exec(QStringLiteral("DELETE FROM run_strokes")) &&
             exec(QStringLiteral("DELETE FROM run_uuids")) &&
             exec(QStringLiteral("DELETE FROM confusions")) &&
             exec(QStringLiteral("DELETE FROM run_keys")) &&
             exec(QStringLiteral("DELETE FROM runs")) &&
             exec(QStringLiteral("DELETE FROM course")) &&
             writeWaiting(taken, mine == waiting_.end() ? nullptr : &mine->second, {}, false) &&
             exec(QStringLiteral("COMMIT"));
        if (!ok) exec(QStringLiteral("ROLLBACK"));
    }
    // The pages the runs took go back to the disk once the journal is folded in.
    if (ok && exec(QStringLiteral("VACUUM")))
        exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    close();
    if (ok && beside) waiting::removeTaken(here, taken.lastId);
    if (ok) waiting_.erase(here);
    return ok;
}

QString HistoryStore::setting(const QString& key, const QString& fallback) {
    // What waits for the history is newer than what it holds.
    const std::vector<waiting::Entry> waits = waitingHere();
    for (auto it = waits.rbegin(); it != waits.rend(); ++it)
        if (it->kind == waiting::Entry::Kind::Setting && it->key == key) return it->value;
    QString value = fallback;
    read([&](QSqlQuery& q) {
        q.prepare(QStringLiteral("SELECT value FROM settings WHERE key = ?"));
        q.addBindValue(key);
        if (!q.exec()) return false;
        if (q.next()) value = q.value(0).toString();
        return true;
    });
    return value;
}

void HistoryStore::setSetting(const QString& key, const QString& value) {
    Batch batch;
    batch.settings = {{key, value}};
    write(batch);
}
