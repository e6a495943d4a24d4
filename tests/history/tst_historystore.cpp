#include "GoalDays.h"
#include "HistoryCheck.h"
#include "HistoryFill.h"
#include "HistorySql.h"
#include "HistoryStore.h"
#include "TestEnv.h"
#include "WaitingFile.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

// The history file's faults, and what the queries make of a known history.
class TstHistoryStore : public QObject {
    Q_OBJECT

private slots:
    void faults_data();
    void faults();
    void heldFile_data();
    void heldFile();
    void waitingOutlivesTheSession_data();
    void waitingOutlivesTheSession();
    void foreignDescriptorsLoseNoRun();
    void damagedPageKeepsTheRest();
    void outboxKeepsWhatWaits();
    void damageNoticedOnRead_data();
    void damageNoticedOnRead();
    void followsTheWorkingFolder();
    void queries();
    void versionOneMigratesInPlace();
    void courseFromAnOlderFile();
    void keystrokesFromVersionFourOn();
    void testResultsWithTheirRuns();
    void damagedResultsKeepTheRest();
    void dailyGoal_data();
    void dailyGoal();
};

namespace {

const QString kDb = QString::fromLatin1(kHistoryFileName);
const QString kWriteFailed = QStringLiteral("に書き込めなかったため");

RunSummary run(const QString& source, int keys, int misses) {
    RunSummary r;
    r.mode = QStringLiteral("text");
    r.source = source;
    r.startedAt = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    r.endedAt = r.startedAt.addSecs(30);
    r.seconds = 30;
    r.keys = keys;
    r.misses = misses;
    r.speed = keys / 30.0;
    r.perKey['A'] = {keys, misses, 6000};
    if (misses) r.confusions[{'A', 'S'}] = misses;
    return r;
}

// Every field of a run, to be carried whole.
QString whole(const RunSummary& r) {
    QStringList all{r.mode,
                    r.source,
                    r.startedAt.toString(Qt::ISODateWithMs),
                    r.endedAt.toString(Qt::ISODateWithMs),
                    QString::number(r.seconds, 'g', 17),
                    QString::number(r.keys),
                    QString::number(r.misses),
                    QString::number(r.speed, 'g', 17),
                    QString::number(r.completed),
                    r.rhythm ? QString::number(*r.rhythm, 'g', 17) : QStringLiteral("-"),
                    QString::fromLatin1(keystrokes::encode(r.keystrokes).toHex())};
    for (const auto& [vk, k] : r.perKey)
        all << QStringLiteral("%1:%2/%3/%4/%5")
                   .arg(vk)
                   .arg(k.expected)
                   .arg(k.missed)
                   .arg(k.msTotal)
                   .arg(k.timed);
    for (const auto& [c, n] : r.confusions)
        all << QStringLiteral("%1>%2/%3x%4").arg(c.expected).arg(c.typed).arg(int(c.shift)).arg(n);
    return all.join(QLatin1Char(' '));
}

// A graded test's run; n varies every figure.
RunSummary testRun(const QString& way, int n) {
    RunSummary r = run(QStringLiteral("%1/%2").arg(way).arg(n % 25), 100 + n, n % 7);
    r.mode = QStringLiteral("test");
    r.test =
        TestResult{way,       n % 25,       QStringLiteral("ja-kana/2026-W%1.0/60/0a1b2c3d").arg(n),
                   100 + n,   n % 7,        1 + n % 3 / 2.0,
                   33.25 + n, 97.5 - n % 7, n % 2 == 0};
    return r;
}
QString whole(const TestResult& t) {
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(t.way)
        .arg(t.grade)
        .arg(t.textId)
        .arg(t.rightChars)
        .arg(t.faults)
        .arg(t.minutes)
        .arg(t.net)
        .arg(t.accuracy)
        .arg(t.passed);
}
QStringList wholeTests(const QList<HistoryTest>& tests) {
    QStringList all;
    for (const HistoryTest& t : tests) all << whole(t.result);
    return all;
}

// A whole database of a given user_version.
void makeDb(const QString& path, int version) {
    HistoryStore s;
    s.append(run(QStringLiteral("old"), 5, 0));
    s.close();
    RawDb raw(path);
    if (version < 5)
        for (const char* sql : {"DROP TABLE run_strokes", "ALTER TABLE runs DROP COLUMN rhythm"})
            raw.exec(QString::fromLatin1(sql));
    if (version < 4) raw.exec(QStringLiteral("ALTER TABLE run_keys DROP COLUMN timed"));
    if (version < 6) raw.exec(QStringLiteral("DROP TABLE test_results"));
    raw.exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
}

// 300 runs whose leaves of runs (counted in id order; -1 all of them) are overwritten
// from byte `from` of the page on (where the rows lie, the page's head left whole),
// then, while the last leaf is whole, five more that stay in the journal. Returns the
// ids whose rows a lookup by id still finds as they were written, and those it finds
// at all (some perhaps garbled).
std::pair<QList<qint64>, QList<qint64>> damageRuns(TestEnv& env, QList<int> leaves, int from) {
    {
        HistoryStore fill;
        fillHistory(fill, 300, 7);
    }
    const QString row = QStringLiteral("SELECT quote(started_at) || quote(ended_at) || mode ||"
                                       " source || seconds || keys || misses || speed ||"
                                       " completed FROM runs WHERE id = %1");
    QList<qint64> pages;
    qint64 pageSize = 0;
    QStringList written;
    {
        RawDb raw(env.path(kDb));
        raw.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        pageSize = raw.one(QStringLiteral("PRAGMA page_size")).toLongLong();
        QSqlQuery q(raw.db);
        q.exec(QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'runs' AND"
                              " pagetype = 'leaf' ORDER BY path"));
        while (q.next()) pages << q.value(0).toLongLong();
        for (int id = 1; id <= 300; ++id) written << raw.one(row.arg(id)).toString();
    }
    if (pages.size() < 5) return {};
    if (leaves == QList<int>{-1} && !std::exchange(leaves, {}).isEmpty())
        for (int i = 0; i < pages.size(); ++i) leaves << i;
    QByteArray bytes = env.readFile(kDb);
    for (int leaf : leaves)
        for (qint64 i = (pages[leaf] - 1) * pageSize + from; i < pages[leaf] * pageSize; ++i)
            bytes[i] = char(i * 7);
    env.writeFile(kDb, bytes);
    RawDb raw(env.path(kDb));
    historysql::keepJournalOnClose(raw.db);
    raw.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (!leaves.contains(int(pages.size()) - 1)) {
        historysql::RunWriter writer(raw.db);
        for (int i = 0; i < 5; ++i) writer.write(run(QStringLiteral("journal"), 4, 1));
    }
    std::pair<QList<qint64>, QList<qint64>> ids;
    for (qint64 id = 1; id <= 310; ++id) {
        const QVariant now = raw.one(row.arg(id));
        if (now.isValid() && (id > 300 || now.toString() == written[id - 1])) ids.first << id;
        if (now.isValid()) ids.second << id;
    }
    return ids;
}

} // namespace

void TstHistoryStore::faults_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("message");
    QTest::newRow("a folder in its place") << "folder" << false << kWriteFailed;
    QTest::newRow("text file") << "text" << true << "damaged";
    QTest::newRow("damaged pages") << "pages" << true << "damaged";
    QTest::newRow("newer program") << "newer" << false << "新しい版";
    QTest::newRow("negative version") << "negative" << true << "damaged";
    QTest::newRow("read-only folder")
        << "readonly" << false << "記録 Velotap.bin はこれまでどおり保存";
}

// A run the file cannot take is dropped with one message for the session; a damaged
// file is put aside under a dated name and a new one takes the run; a newer file is
// read but not written.
void TstHistoryStore::faults() {
    QFETCH(QString, kind);
    QFETCH(bool, written);
    QFETCH(QString, message);
    TestEnv env;
    env.platform.calendar =
        QDateTime(QDate(2026, 4, 2), QTime(10, 11, 12), Qt::UTC).toSecsSinceEpoch();
    QByteArray before;
    if (kind == "folder") QVERIFY(QDir(env.dir()).mkdir(kDb));
    if (kind == "text") env.writeFile(kDb, "not a history at all\n");
    if (kind == "newer") makeDb(env.path(kDb), HistoryStore::kVersion + 1);
    if (kind == "negative") makeDb(env.path(kDb), -1);
    if (kind == "pages") {
        makeDb(env.path(kDb), HistoryStore::kVersion);
        { // fold the WAL in, then scribble over the pages after the first
            RawDb raw(env.path(kDb));
            raw.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        QByteArray bytes = env.readFile(kDb);
        QVERIFY(bytes.size() > 4096);
        for (qsizetype i = 4096; i < bytes.size(); ++i) bytes[i] = char(i * 7);
        env.writeFile(kDb, bytes);
    }
    if (kind != "folder") before = env.readFile(kDb);
    // Root writes anywhere: it reads the folder as another user would.
    const bool asOther = kind == "readonly" && ::geteuid() == 0;
    if (kind == "readonly")
        QVERIFY(QFile::setPermissions(env.dir(), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadOther | QFile::ExeOther));
    // Real and effective: whether the folder takes writes is asked with the real user.
    if (asOther) QVERIFY(::setresuid(65534, 65534, 0) == 0);
    const auto back = qScopeGuard([&] {
        if (asOther) QVERIFY(::setresuid(0, 0, 0) == 0);
    });

    HistoryStore store;
    QCOMPARE(store.append(run(QStringLiteral("new"), 10, 2)), written);
    QCOMPARE(store.append(run(QStringLiteral("new"), 10, 2)), written);
    QCOMPARE(env.platform.messages.size(), 1);
    QVERIFY2(env.platform.messages[0].contains(message), qPrintable(env.platform.messages[0]));
    QVERIFY(!env.platform.messages[0].contains(QLatin1Char('\n')));

    if (message == "damaged") {
        const QString aside = kDb + QStringLiteral(".damaged-20260402-101112");
        QVERIFY(env.platform.messages[0].contains(aside));
        QCOMPARE(env.readFile(aside), before);
        // A file of no known version still has readable runs: they are carried over.
        QCOMPARE(store.runCount(), kind == "negative" ? 3 : 2);
    }
    if (kind == "newer") {
        QCOMPARE(store.runCount(), 1); // read as it is
        QCOMPARE(store.lastRuns(5).value(0).source, QStringLiteral("old"));
        QVERIFY(!store.clear());
        QVERIFY(!store.cannotWrite().isEmpty()); // the page offers no delete
        store.close();
        RawDb raw(env.path(kDb));
        QCOMPARE(raw.one(QStringLiteral("SELECT count(*) FROM runs")).toInt(), 1);
    }
}

void TstHistoryStore::heldFile_data() {
    QTest::addColumn<bool>("rollback");
    QTest::newRow("write-ahead log") << false;
    QTest::newRow("rollback journal, readers shut out") << true;
}

// Another program holding the file holds the window for a moment at most: runs and
// settings wait and are written once it lets go, without a word; reads that cannot be
// made say so instead of showing an empty history.
void TstHistoryStore::heldFile() {
    QFETCH(bool, rollback);
    TestEnv env;
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("first"), 3, 0)));
    qint64 longest = 0;
    QElapsedTimer t;
    const auto lap = [&] { longest = std::max(longest, t.restart()); };
    {
        RawDb other(env.path(kDb), QStringLiteral("other"));
        if (rollback) QVERIFY(other.exec(QStringLiteral("PRAGMA journal_mode=DELETE")));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(other.exec(QStringLiteral("INSERT INTO settings VALUES('held', 'yes')")));
        t.start();
        QVERIFY(store.append(run(QStringLiteral("second"), 3, 0)));
        lap();
        QVERIFY(store.append(run(QStringLiteral("third"), 3, 0)));
        lap();
        store.setSetting(QStringLiteral("weak"), QStringLiteral("1"));
        lap();
        const qint64 runs = store.runCount(); // what the progress page reads
        store.lastRuns(50);
        store.keyFigures(20);
        const bool exported = store.exportCsv(env.path(QStringLiteral("h.csv")));
        lap();
        QCOMPARE(runs, rollback ? 0 : 1);
        QCOMPARE(exported, !rollback); // no empty file for a history not read
        QCOMPARE(store.cannotRead().isEmpty(), !rollback);
        QCOMPARE(store.pendingRuns(), 2);
        QCOMPARE(store.setting(QStringLiteral("weak")), QStringLiteral("1"));
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
    }
    // The store waits 0.2 s; the rest is room for a loaded machine.
    QVERIFY2(longest < 700, qPrintable(QString::number(longest)));
    QCoreApplication::processEvents(); // the next moment reads afresh
    store.finish(0);
    QCOMPARE(store.pendingRuns(), 0);
    QVERIFY(store.append(run(QStringLiteral("fourth"), 3, 0)));
    QCOMPARE(store.runCount(), 4);
    QCOMPARE(store.lastRuns(1).value(0).source, QStringLiteral("fourth"));
    QCOMPARE(store.setting(QStringLiteral("held")), QStringLiteral("yes"));
    QCOMPARE(store.setting(QStringLiteral("weak")), QStringLiteral("1"));
    QCOMPARE(env.platform.messages, QStringList());
}

void TstHistoryStore::waitingOutlivesTheSession_data() {
    heldFile_data();
}

// What meets a held history at the end of the program waits beside it on the disk, for
// a later session to take in: whole, once, whatever a kill left of it.
void TstHistoryStore::waitingOutlivesTheSession() {
    QFETCH(bool, rollback);
    TestEnv env;
    RunSummary slow = run(QStringLiteral("slow"), 7, 3);
    slow.seconds = 29.875;
    slow.speed = 1.0 / 3;
    slow.completed = true;
    slow.perKey['A'].timed = 6;
    slow.perKey['B'] = {2, 1, 1234, 1};
    slow.confusions = {
        {{'A', 'S'}, 1}, {{'A', 'A', ShiftSlip::Missing}, 1}, {{'B', 'B', ShiftSlip::Extra}, 1}};
    slow.keystrokes = {{40, 'S', false, false}, {90, 'A', true, true}, {5000, 'B', false, true}};
    slow.rhythm = 87.25;
    const QString waitingFile = kDb + QStringLiteral("-waiting");
    QByteArray left;
    {
        HistoryStore store;
        QVERIFY(store.append(run(QStringLiteral("first"), 3, 0)));
        RawDb other(env.path(kDb), QStringLiteral("other"));
        if (rollback) QVERIFY(other.exec(QStringLiteral("PRAGMA journal_mode=DELETE")));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(store.append(slow) && store.lastRunWaits());
        // A run waiting is the last one of its text.
        QCOMPARE(store.paceStrokes(slow.mode, slow.source, PaceRun::Last),
                 keystrokes::encode(slow.keystrokes));
        QVERIFY(store.append(run(QStringLiteral("second"), 3, 0)));
        store.setSetting(QStringLiteral("weak"), QStringLiteral("1"));
        QVERIFY(store.addCourseStep(QStringLiteral("letters"), 8));
        QCOMPARE(store.courseSteps(QStringLiteral("letters")).value(0).unlocked, 8);
        QElapsedTimer t;
        t.start();
        store.finish(HistoryStore::kExitWaitMs);
        QVERIFY2(t.elapsed() < 500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(env.platform.messages, QStringList()); // nothing lost
        left = env.readFile(waitingFile);
        QCOMPARE(left.count('\n'), 4);
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
    }
    const std::optional<waiting::Entry> first = waiting::decode(left.left(left.indexOf('\n')));
    QVERIFY(first);
    QCOMPARE(whole(first->run), whole(slow));

    // A later session, after a kill cut a fifth entry short.
    env.writeFile(waitingFile, left + left.left(left.indexOf('\n') / 2));
    const auto sources = [&env] {
        RawDb raw(env.path(kDb));
        return raw.one(QStringLiteral("SELECT group_concat(source, ' ') FROM runs")).toString();
    };
    {
        HistoryStore later;
        QCOMPARE(later.setting(QStringLiteral("weak")), QStringLiteral("1")); // before writing
        QVERIFY(later.append(run(QStringLiteral("later"), 3, 0)));
        QVERIFY(!QFile::exists(env.path(waitingFile)));
        QCOMPARE(later.courseSteps(QStringLiteral("letters")).size(), 1);
    }
    QCOMPARE(sources(), QStringLiteral("first slow second later"));
    RawDb raw(env.path(kDb));
    QCOMPARE(raw.one(QStringLiteral("SELECT group_concat(shift_wrong || count) FROM confusions"
                                    " JOIN runs ON id = run_id WHERE source = 'slow'"))
                 .toString(),
             QStringLiteral("11,01,21")); // in key order: A as itself, A as S, B as itself
    QCOMPARE(raw.one(QStringLiteral("SELECT hex(data) || ' ' || rhythm FROM run_strokes"
                                    " JOIN runs ON id = run_id WHERE source = 'slow'"))
                 .toString(),
             QString::fromLatin1(keystrokes::encode(slow.keystrokes).toHex().toUpper()) +
                 QStringLiteral(" 87.25"));
    // Killed after taking it in, before removing it: it is taken in no second time.
    env.writeFile(waitingFile, left);
    HistoryStore again;
    QVERIFY(again.append(run(QStringLiteral("again"), 3, 0)));
    QVERIFY(!QFile::exists(env.path(waitingFile)));
    QCOMPARE(sources(), QStringLiteral("first slow second later again"));
    QCOMPARE(again.courseSteps(QStringLiteral("letters")).size(), 1);
    QCOMPARE(env.platform.messages, QStringList());
}

// The file dialog opens and closes every file of the folder inside the process, which
// drops the process's locks on them; an outside reader may then fold the journal in
// and delete it. A run written after that still reaches the file.
void TstHistoryStore::foreignDescriptorsLoseNoRun() {
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty()) QSKIP("needs the sqlite3 command");
    TestEnv env;
    const auto outsideCount = [&] {
        QProcess p;
        p.start(sqlite3, {env.path(kDb), QStringLiteral("SELECT count(*) FROM runs")});
        p.waitForFinished();
        return p.readAllStandardOutput().trimmed().toInt();
    };
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("before"), 3, 0)));
    QCOMPARE(store.runCount(), 1); // the file stays open until the event loop runs
    for (const char* side : {"", "-wal", "-shm"}) {
        QFile f(env.path(kDb + QLatin1String(side)));
        if (f.open(QIODevice::ReadOnly)) f.close();
    }
    QCOMPARE(outsideCount(), 1);
    QVERIFY(store.append(run(QStringLiteral("after"), 3, 0)));
    QCOMPARE(outsideCount(), 2);
}

// A damaged page among whole ones costs only the runs on it.
void TstHistoryStore::damagedPageKeepsTheRest() {
    TestEnv env;
    QString middle;
    {
        HistoryStore fill;
        QVERIFY(fillHistory(fill, 300, 7));
        fill.close();
        RawDb raw(env.path(kDb));
        middle = raw.one(QStringLiteral("SELECT started_at FROM runs WHERE id = 150")).toString();
        // Each run with a rhythm and a record of its keys, which lie on pages of their own.
        QVERIFY(raw.exec(QStringLiteral("UPDATE runs SET rhythm = id % 100")));
        QVERIFY(raw.exec(QStringLiteral("INSERT INTO run_strokes SELECT id, zeroblob(200) || id"
                                        " FROM runs")));
        // What waits for the class's server, one row of it no list of parameters.
        QVERIFY(raw.exec(QStringLiteral("INSERT INTO outbox(kind, params) SELECT 'run',"
                                        " json_array(id) FROM runs")));
        QVERIFY(raw.exec(QStringLiteral("INSERT INTO outbox(kind, params) VALUES('run', 'x')")));
        raw.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
    QByteArray bytes = env.readFile(kDb);
    // Only the rows of runs hold whole times: this is the page of run 150.
    const qsizetype at = bytes.indexOf(middle.toLatin1());
    QVERIFY(at > 0);
    for (qsizetype i = at / 4096 * 4096; i < (at / 4096 + 1) * 4096; ++i) bytes[i] = char(i * 7);
    env.writeFile(kDb, bytes);

    // The box that says so runs the event loop, as a real one does.
    env.platform.onMessage = [](const QString&) { QCoreApplication::processEvents(); };
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("new"), 10, 2)));
    const qint64 kept = store.runCount() - 1;
    QVERIFY2(kept >= 240 && kept < 300, qPrintable(QString::number(kept)));
    QCOMPARE(env.platform.messages.size(), 1);
    QVERIFY2(env.platform.messages[0].contains(QStringLiteral(" %1 回").arg(kept)),
             qPrintable(env.platform.messages[0]));
    store.close();
    RawDb raw(env.path(kDb));
    QCOMPARE(raw.one(QStringLiteral("SELECT count(*) FROM runs WHERE id IN (150, 300)")).toInt(),
             1);
    // Each run kept comes with all its keys and confusions.
    QCOMPARE(raw.one(QStringLiteral("SELECT sum(keys) - (SELECT sum(expected) FROM run_keys)"
                                    " + sum(misses) - (SELECT sum(count) FROM confusions)"
                                    " FROM runs"))
                 .toInt(),
             0);
    QCOMPARE(raw.one(QStringLiteral("SELECT count(*) FROM runs JOIN run_strokes ON id = run_id"
                                    " WHERE rhythm = id % 100 AND data = zeroblob(200) || id"))
                 .toLongLong(),
             kept);
    // Every run kept keeps its UUID; the outbox is whole, in order, but for the row no
    // server would take.
    QCOMPARE(raw.one(QStringLiteral("SELECT count(DISTINCT uuid) FROM runs JOIN run_uuids"
                                    " ON id = run_id"))
                 .toLongLong(),
             kept + 1);
    QCOMPARE(raw.one(QStringLiteral("SELECT count(*) || ' ' || sum(params = json_array(id))"
                                    " FROM outbox"))
                 .toString(),
             QStringLiteral("300 300"));
}

// With a class, each run and course step also waits in the outbox, the run under its
// UUID, until the server has it; clearing the history leaves what waits.
void TstHistoryStore::outboxKeepsWhatWaits() {
    TestEnv env;
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("before"), 3, 0)));
    store.setQueueing(true);
    QVERIFY(store.append(run(QStringLiteral("O'Brien; DROP TABLE runs"), 5, 1)));
    QVERIFY(store.addCourseStep(QStringLiteral("letters"), 6));
    QString file;
    const std::vector<OutboxItem> items = store.queued(10, &file);
    QCOMPARE(file, env.path(kDb));
    QCOMPARE(items.size(), std::size_t(2));
    QCOMPARE(items[0].kind, QStringLiteral("run"));
    QCOMPARE(items[0].params.size(), 13);
    QCOMPARE(items[0].params[4].toString(), QStringLiteral("O'Brien; DROP TABLE runs"));
    QVERIFY(items[0].params[10].isNull()); // no rhythm
    QCOMPARE(items[0].params[11].toString(),
             QStringLiteral(R"([{"expected":5,"missed":1,"ms_total":6000,"timed":0,"vk":65}])"));
    QCOMPARE(items[1].params[0].toString(), QStringLiteral("letters"));
    store.close();
    QCOMPARE(
        RawDb(env.path(kDb)).one(QStringLiteral("SELECT uuid FROM run_uuids WHERE run_id = 2")),
        items[0].params[0].toVariant());
    QVERIFY(store.clear());
    QCOMPARE(store.queuedCount(), 2);
    QVERIFY(store.unqueue(file, {items[0].id}));
    QCOMPARE(store.queued(10).size(), std::size_t(1));
    QCOMPARE(env.platform.messages, QStringList());
}

void TstHistoryStore::damageNoticedOnRead_data() {
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QList<int>>("leaves");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("first");
    QTest::newRow("read by the progress page") << true << QList<int>{1, 3} << 3000 << "page";
    QTest::newRow("read by the CSV export") << true << QList<int>{0, 2, 3} << 0 << "csv";
    QTest::newRow("met by a write") << true << QList<int>{2, 4} << 2500 << "write";
    QTest::newRow("read-only folder") << false << QList<int>{1, 3} << 0 << "page";
    QTest::newRow("read-only folder, no run readable") << false << QList<int>{-1} << 0 << "page";
}

// Damage met by a read is handled as a write would: the file is put aside as one file
// and every run a lookup by id still finds, those beyond damaged pages too, goes into a
// new history that the read then shows. A folder that takes no writes keeps the file,
// shows what can be read of it and says so.
void TstHistoryStore::damageNoticedOnRead() {
    QFETCH(bool, writable);
    QFETCH(QList<int>, leaves);
    QFETCH(int, from);
    QFETCH(QString, first);
    TestEnv env;
    env.platform.calendar =
        QDateTime(QDate(2026, 4, 2), QTime(10, 11, 12), Qt::UTC).toSecsSinceEpoch();
    const auto [intact, found] = damageRuns(env, leaves, from);
    QVERIFY(leaves == QList<int>{-1} ? found.isEmpty() : intact.size() > 150);
    const QByteArray before = env.readFile(kDb);
    const QByteArray folder = QFile::encodeName(env.dir());
    if (!writable) QVERIFY(::chmod(folder.constData(), 0555) == 0);
    // Root writes into any folder: the store reads as another user there.
    const bool asOther = !writable && ::geteuid() == 0;
    if (asOther) QVERIFY(::setegid(65534) == 0 && ::seteuid(65534) == 0);
    HistoryStore store;
    const bool exported = first == "csv" && store.exportCsv(env.path(QStringLiteral("h.csv")));
    const int added = first == "write" && store.append(run(QStringLiteral("new"), 3, 0));
    const qint64 runs = store.runCount();
    QList<qint64> kept;
    for (const HistoryRun& r : store.lastRuns(999)) kept << r.id;
    const int days = int(store.days().size());
    const QString unread = store.cannotRead();
    const QString locked = store.cannotWrite();
    store.close();
    if (asOther) QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
    ::chmod(folder.constData(), 0700);

    if (added) kept.removeLast();
    // Every run read as written is kept, and nothing a lookup does not find.
    for (qint64 id : intact) QVERIFY2(kept.contains(id), qPrintable(QString::number(id)));
    for (qint64 id : kept) QVERIFY2(found.contains(id), qPrintable(QString::number(id)));
    QCOMPARE(runs, kept.size() + added);
    QCOMPARE(days > 0, !kept.isEmpty());
    QCOMPARE(env.platform.messages.size(), 1);
    const QString said = env.platform.messages[0];
    const QString aside = kDb + QStringLiteral(".damaged-20260402-101112");
    if (first == "csv") {
        QVERIFY(exported);
        QList<qint64> ids;
        for (const QByteArray& line : env.readFile(QStringLiteral("h.csv")).split('\n').mid(1))
            if (!line.isEmpty()) ids << line.left(line.indexOf(',')).toLongLong();
        QCOMPARE(ids, kept);
    }
    if (writable) {
        QVERIFY2(said.contains(aside) && said.contains(QStringLiteral(" %1 回").arg(kept.size())),
                 qPrintable(said));
        QVERIFY(unread.isEmpty() && locked.isEmpty());
        // The copy is one file, the journal's runs folded in.
        QVERIFY(!QFile::exists(env.path(aside + "-wal")) &&
                !QFile::exists(env.path(aside + "-shm")));
        RawDb old(QStringLiteral("file:%1?immutable=1").arg(env.path(aside)));
        QCOMPARE(old.one(QStringLiteral("SELECT count(*) FROM runs WHERE id > 300")).toInt(), 5);
        // Each run kept as written comes with all its keys and confusions.
        QStringList ids;
        for (qint64 id : intact) ids << QString::number(id);
        RawDb raw(env.path(kDb), QStringLiteral("new"));
        QCOMPARE(raw.one(QStringLiteral("SELECT sum(keys) + sum(misses) - (SELECT sum(expected)"
                                        " FROM run_keys WHERE run_id IN (%1)) - (SELECT"
                                        " sum(count) FROM confusions WHERE run_id IN (%1))"
                                        " FROM runs WHERE id IN (%1)")
                             .arg(ids.join(QLatin1Char(','))))
                     .toInt(),
                 0);
    } else {
        QVERIFY2(said.contains(QStringLiteral("壊れ")), qPrintable(said));
        QCOMPARE(unread.isEmpty(), !kept.isEmpty());
        QVERIFY(!locked.isEmpty());
        QCOMPARE(env.readFile(kDb), before);
        QVERIFY(!QFile::exists(env.path(aside)));
    }
}

// The file dialog moves the working folder; the history follows the record there. A
// run that waited for another program goes to the history of its own folder.
void TstHistoryStore::followsTheWorkingFolder() {
    TestEnv env;
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("here"), 3, 0)));
    QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("sub")));
    {
        RawDb other(env.path(kDb), QStringLiteral("other"));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(store.append(run(QStringLiteral("waited"), 3, 0)));
        QCOMPARE(store.pendingRuns(), 1);
        QVERIFY(QDir::setCurrent(env.path(QStringLiteral("sub"))));
        QCOMPARE(store.runCount(), 0);
        QVERIFY(!QFile::exists(kDb)); // reading makes no file
        QVERIFY(store.append(run(QStringLiteral("there"), 3, 0)));
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
    }
    store.finish(0);
    QCOMPARE(store.pendingRuns(), 0);
    const auto sources = [&] {
        QStringList all;
        for (const HistoryRun& r : store.lastRuns(9)) all << r.source;
        all.sort();
        return all;
    };
    QCOMPARE(sources(), QStringList{QStringLiteral("there")});
    QVERIFY(QDir::setCurrent(env.dir()));
    QCOMPARE(sources(), (QStringList{QStringLiteral("here"), QStringLiteral("waited")}));
}

void TstHistoryStore::queries() {
    TestEnv env;
    HistoryStore store;
    RunSummary a = run(QStringLiteral("say \"hi\", twice\r\nok"), 20, 4);
    a.confusions = {{{'A', 'S'}, 1}, {{'A', 'Q'}, 3}};
    a.perKey['B'] = {5, 2, 900};
    a.confusions[{'B', 'V'}] = 2;
    RunSummary b = run(QStringLiteral("b.txt"), 10, 1);
    b.mode = QStringLiteral("drill");
    // 08:30 of March 2 in Tokyo, where the test runs, is still March 1 in UTC.
    b.startedAt = QDateTime(QDate(2026, 3, 1), QTime(23, 30), Qt::UTC);
    b.endedAt = b.startedAt.addSecs(30);
    b.confusions[{'B', 'B', ShiftSlip::Missing}] = 3;
    QVERIFY(store.append(a));
    QVERIFY(store.append(b));

    const QList<HistoryKey> last = store.keyFigures(1);
    QCOMPARE(last.size(), 1);
    QCOMPARE(last[0].vk, int('A'));
    QCOMPARE(last[0].topTyped, int('S'));
    const QList<HistoryKey> all = store.keyFigures(0);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].expected, 30);
    QCOMPARE(all[0].missed, 5);
    QCOMPARE(all[0].topTyped, int('Q')); // 3 against 1 + 1
    QCOMPARE(all[1].topTyped, int('B')); // a Shift slip: 3 against V's 2
    QCOMPARE(all[1].topShift, 1);
    QCOMPARE(all[1].topTypedCount, 3);
    QCOMPARE(store.lastRuns(1).value(0).source, QStringLiteral("b.txt"));
    QCOMPARE(store.lastRuns(5).value(0).startedAt, a.startedAt);
    const QList<HistoryDay> days = store.days();
    QCOMPARE(days.size(), 2);
    QCOMPARE(days[1].day, QDate(2026, 3, 2));
    QCOMPARE(days[1].mode, QStringLiteral("drill"));

    QVERIFY(store.exportCsv(env.path(QStringLiteral("h.csv"))));
    QCOMPARE(env.readFile(QStringLiteral("h.csv")),
             QByteArray("\xEF\xBB\xBFid,started_at,started_at_local,ended_at,mode,source,seconds,"
                        "keys,misses,speed,completed\r\n"
                        "1,2026-03-01T09:00:00.000Z,2026-03-01 18:00:00,2026-03-01T09:00:30.000Z,"
                        "text,\"say \"\"hi\"\", twice\r\nok\",30,20,4,0.666666666666667,0\r\n"
                        "2,2026-03-01T23:30:00.000Z,2026-03-02 08:30:00,2026-03-01T23:30:30.000Z,"
                        "drill,b.txt,30,10,1,0.333333333333333,0\r\n"));

    QVERIFY(store.clear());
    QCOMPARE(store.runCount(), 0);
    QCOMPARE(store.keyFigures(0).size(), 0);
    QVERIFY(fillHistory(store, 300, 7));
    QCOMPARE(store.runCount(), 300);
    { // deleting gives the space back, journal included
        const auto size = [&] {
            return QFileInfo(env.path(kDb)).size() + QFileInfo(env.path(kDb + "-wal")).size();
        };
        const qint64 full = size();
        QVERIFY(store.clear());
        QVERIFY2(size() < full / 4, qPrintable(QString::number(full)));
        QVERIFY(fillHistory(store, 300, 7));
    }
    RawDb raw(env.path(kDb));
    QCOMPARE(raw.one(QStringLiteral("SELECT sum(keys) - (SELECT sum(expected) FROM run_keys)"
                                    " FROM runs"))
                 .toInt(),
             0);
    QCOMPARE(raw.one(QStringLiteral("SELECT sum(misses) - (SELECT sum(count) FROM confusions)"
                                    " FROM runs"))
                 .toInt(),
             0);
    QCOMPARE(env.platform.messages, QStringList());
}

// A file of the first schema, whose confusions had no Shift column, takes its first
// new run after growing the column; every row stays, a key paired with itself as a
// left-out Shift. Read before that, it shows the same.
void TstHistoryStore::versionOneMigratesInPlace() {
    TestEnv env;
    {
        HistoryStore store;
        QVERIFY(fillHistory(store, 40, 5));
        RunSummary slip = run(QStringLiteral("slip"), 9, 9);
        slip.perKey['A'] = {9, 9, 900};
        slip.confusions = {{{'A', 'A', ShiftSlip::Missing}, 9}};
        QVERIFY(store.append(slip));
    }
    const QString count = QStringLiteral(
        "SELECT (SELECT count(*) FROM runs) || ' ' || (SELECT count(*) FROM run_keys) || ' ' ||"
        " (SELECT count(*) FROM confusions) || ' ' || (SELECT sum(count) FROM confusions)");
    QString before;
    {
        RawDb raw(env.path(kDb));
        before = raw.one(count).toString();
        for (const char* sql :
             {"CREATE TABLE old(run_id INTEGER, expected_vk INTEGER, typed_vk INTEGER,"
              " count INTEGER, PRIMARY KEY(run_id, expected_vk, typed_vk)) WITHOUT ROWID",
              "INSERT INTO old SELECT run_id, expected_vk, typed_vk, count FROM confusions",
              "DROP TABLE confusions", "ALTER TABLE old RENAME TO confusions",
              "ALTER TABLE run_keys DROP COLUMN timed", "DROP TABLE run_strokes",
              "ALTER TABLE runs DROP COLUMN rhythm", "PRAGMA user_version=1"})
            QVERIFY2(raw.exec(QString::fromLatin1(sql)), sql);
    }
    HistoryStore store;
    const auto slipShown = [&store](int span) {
        const HistoryKey k = store.keyFigures(span).value(0);
        return k.topTyped == 'A' && k.topShift == 1;
    };
    QVERIFY(slipShown(1));
    QVERIFY(store.append(run(QStringLiteral("new"), 5, 0)));
    QVERIFY(slipShown(2));
    store.close();
    RawDb raw(env.path(kDb));
    QCOMPARE(raw.one(QStringLiteral("PRAGMA user_version")).toInt(), HistoryStore::kVersion);
    const QStringList b = before.split(QLatin1Char(' '));
    QCOMPARE(raw.one(count).toString(), QStringList({QString::number(b[0].toInt() + 1),
                                                     QString::number(b[1].toInt() + 1), b[2], b[3]})
                                            .join(QLatin1Char(' ')));
    QCOMPARE(raw.one(QStringLiteral("SELECT count(*) FROM confusions"
                                    " WHERE shift_wrong != (expected_vk = typed_vk)"))
                 .toInt(),
             0);
}

void TstHistoryStore::courseFromAnOlderFile() {
    TestEnv env;
    makeDb(env.path(kDb), 2);
    {
        RawDb raw(env.path(kDb));
        QVERIFY(raw.exec(QStringLiteral("DROP TABLE course")));
    }
    HistoryStore store;
    QCOMPARE(store.courseSteps(QStringLiteral("letters")).size(), 0); // read before migrating
    RunSummary letters = run(QStringLiteral("letters 2"), 8, 1);
    letters.mode = QStringLiteral("course");
    RunSummary kana = letters;
    kana.source = QStringLiteral("kana 1");
    kana.perKey = {{'S', {4, 0, 800}}};
    QVERIFY(store.append(letters));
    QVERIFY(store.append(kana));
    QVERIFY(store.append(run(QStringLiteral("t.txt"), 3, 0)));
    QVERIFY(store.addCourseStep(QStringLiteral("letters"), 7));
    QVERIFY(store.addCourseStep(QStringLiteral("letters"), 8));

    QCOMPARE(store.runCount(), 4); // the old run kept
    const QList<CourseStep> steps = store.courseSteps(QStringLiteral("letters"));
    QCOMPARE(steps.size(), 2);
    QCOMPARE(steps[1].unlocked, 8);
    QCOMPARE(store.courseSteps(QStringLiteral("kana")).size(), 0);
    const QList<QList<HistoryKey>> runs = store.courseRunKeys(QStringLiteral("kana"), 5);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].value(0).vk, int('S'));
    QCOMPARE(store.courseRunKeys(QStringLiteral("letters"), 5).value(0).value(0).missed, 1);
    QCOMPARE(RawDb(env.path(kDb)).one(QStringLiteral("PRAGMA user_version")).toInt(),
             HistoryStore::kVersion);
    QVERIFY(store.clear());
    QCOMPARE(store.courseSteps(QStringLiteral("letters")).size(), 0);
}

// A history of the schema before keystrokes were kept takes the first run that has them
// with every row as it was; the pace reads the fastest finished or the newest run of a
// text, and nothing in place of one that kept no keystrokes.
void TstHistoryStore::keystrokesFromVersionFourOn() {
    TestEnv env;
    QVERIFY(fillHistory(*std::make_unique<HistoryStore>(), 40, 5));
    makeDb(env.path(kDb), 4);
    // The rows of the 41 runs there, whole.
    const QString rows =
        QStringLiteral("SELECT (SELECT group_concat(%1) FROM runs WHERE id <= 41) ||"
                       " (SELECT group_concat(run_id || vk || expected || missed || ms_total ||"
                       " timed) FROM run_keys WHERE run_id <= 41) || (SELECT group_concat(run_id"
                       " || expected_vk || typed_vk || shift_wrong || count) FROM confusions"
                       " WHERE run_id <= 41)")
            .arg(QString::fromLatin1(historysql::kRunColumns)
                     .replace(QStringLiteral(", "), QStringLiteral(" || '/' || ")));
    const QString before = RawDb(env.path(kDb)).one(rows).toString();
    QVERIFY(before.size() > 1000);

    HistoryStore store;
    QCOMPARE(store.paceStrokes("text", "memo.txt", PaceRun::Last), QByteArray()); // unmigrated
    const auto strokes = [](int n) {
        std::vector<Keystroke> keys;
        for (int i = 0; i < n; ++i) keys.push_back({100LL * i + n, 'A' + i % 26, false, true});
        return keys;
    };
    // mode, source, speed, completed, keys recorded (0: none kept)
    const std::tuple<const char*, const char*, double, bool, int> runs[] = {
        {"text", "t.txt", 2, true, 3},  {"text", "t.txt", 3, true, 4},
        {"text", "t.txt", 5, false, 5}, {"lesson", "t.txt", 9, true, 6},
        {"text", "u.txt", 9, true, 7},  {"text", "u.txt", 1, false, 10'000},
        {"text", "t.txt", 1, true, 0}};
    for (const auto& [mode, source, speed, completed, keys] : runs) {
        RunSummary s = run(QString::fromLatin1(source), 5, 0);
        s.mode = QString::fromLatin1(mode);
        s.speed = speed;
        s.completed = completed;
        s.keystrokes = strokes(keys);
        if (keys) s.rhythm = speed * 10;
        QVERIFY(store.append(s));
    }
    // mode, source, which run, keys of the record read (0: none)
    const std::tuple<const char*, const char*, PaceRun, int> paces[] = {
        {"text", "t.txt", PaceRun::Best, 4},      // the fastest finished
        {"text", "t.txt", PaceRun::Last, 0},      // the newest kept none
        {"lesson", "t.txt", PaceRun::Last, 6},    // by mode
        {"text", "u.txt", PaceRun::Best, 7},      // by source
        {"text", "u.txt", PaceRun::Last, 10'000}, // a long run whole
        {"drill", "t.txt", PaceRun::Best, 0},     // none of the mode
        {"text", "memo.txt", PaceRun::Last, 0}};  // runs from before kept none
    for (const auto& [mode, source, which, keys] : paces) {
        const QByteArray data = store.paceStrokes(mode, source, which);
        QVERIFY2(keys ? keystrokes::decode(data) == strokes(keys) : data.isEmpty(), source);
    }
    const QList<HistoryRun> last = store.lastRuns(3);
    QCOMPARE(last.value(0).rhythm, std::optional<double>(90));
    QVERIFY(!last.value(2).rhythm);
    QVERIFY(!store.lastRuns(48).value(0).rhythm); // an old run
    // The texts of the last day, the old run among them without one.
    QCOMPARE(store.days().last().rhythm, std::optional<double>((20 + 30 + 50 + 90 + 10) / 5.0));
    store.close();
    const QString counts = QStringLiteral(
        "SELECT (SELECT count(*) FROM runs) || ' ' || (SELECT count(*) FROM run_strokes)");
    {
        RawDb raw(env.path(kDb));
        QCOMPARE(raw.one(QStringLiteral("PRAGMA user_version")).toInt(), HistoryStore::kVersion);
        QCOMPARE(raw.one(rows).toString(), before);
        QCOMPARE(raw.one(counts).toString(), QStringLiteral("48 6"));
    }
    QVERIFY(store.clear());
    QCOMPARE(RawDb(env.path(kDb)).one(counts).toString(), QStringLiteral("0 0"));
    QCOMPARE(env.platform.messages, QStringList());
}

// A history from before tests takes the first test's result with its run, in the run's
// transaction; a result made while another program holds the file waits beside it with
// its run and is read from there until a later session takes it in.
void TstHistoryStore::testResultsWithTheirRuns() {
    TestEnv env;
    makeDb(env.path(kDb), 5);
    const QString romaji = QStringLiteral("romaji");
    QList<RunSummary> kept{testRun(romaji, 1), testRun(QStringLiteral("kana"), 2),
                           testRun(romaji, 3), testRun(romaji, 4)};
    QStringList expected{whole(*kept[0].test), whole(*kept[2].test), whole(*kept[3].test)};
    {
        HistoryStore store;
        QCOMPARE(store.testResults(romaji).size(), 0); // unmigrated: none yet
        QVERIFY(store.append(kept[0]) && store.append(kept[1]));
        QCOMPARE(RawDb(env.path(kDb)).one(QStringLiteral("PRAGMA user_version")).toInt(),
                 HistoryStore::kVersion);
        const QList<HistoryTest> first = store.testResults(romaji);
        QCOMPARE(wholeTests(first), expected.mid(0, 1));
        QCOMPARE(first.value(0).runId, 2); // after the old run
        QCOMPARE(first.value(0).at, kept[0].startedAt);
        // A result no run can be kept with is not kept alone.
        {
            RawDb raw(env.path(kDb));
            QVERIFY(raw.exec(QStringLiteral("CREATE TRIGGER no_runs BEFORE INSERT ON test_results"
                                            " BEGIN SELECT RAISE(ABORT, 'full'); END")));
        }
        QVERIFY(!store.append(kept[2]));
        QCOMPARE(store.runCount(), 3);
        RawDb(env.path(kDb)).exec(QStringLiteral("DROP TRIGGER no_runs"));
        env.platform.messages.clear();

        RawDb other(env.path(kDb), QStringLiteral("other"));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(store.append(kept[2]) && store.lastRunWaits());
        QCOMPARE(wholeTests(store.testResults(romaji)), expected.mid(0, 2));
        store.finish(HistoryStore::kExitWaitMs);
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
    }
    HistoryStore later;
    QCOMPARE(wholeTests(later.testResults(romaji)), expected.mid(0, 2)); // from beside it
    QVERIFY(later.append(kept[3]));
    QVERIFY(!QFile::exists(env.path(kDb + QStringLiteral("-waiting"))));
    const QList<HistoryTest> all = later.testResults(romaji);
    QCOMPARE(wholeTests(all), expected);
    QCOMPARE(all.value(1).runId, 4);
    QCOMPARE(later.testResults(QStringLiteral("kana")).size(), 1);
    QVERIFY(later.clear());
    QCOMPARE(later.testResults(romaji).size(), 0);
    QCOMPARE(env.platform.messages, QStringList());
}

// A damaged page of the results costs only the results on it; every result carried over
// comes with its run, and a row that reads garbled is left out.
void TstHistoryStore::damagedResultsKeepTheRest() {
    TestEnv env;
    QStringList written;
    QList<qint64> pages;
    {
        HistoryStore fill;
        std::vector<RunSummary> runs;
        for (int n = 0; n < 600; ++n) runs.push_back(testRun(QStringLiteral("letters"), n));
        QVERIFY(fill.appendAll(runs));
        for (const HistoryTest& t : fill.testResults(QStringLiteral("letters")))
            written << whole(t.result);
        fill.close();
        RawDb raw(env.path(kDb));
        raw.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        QSqlQuery q(raw.db);
        q.exec(QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'test_results' AND"
                              " pagetype = 'leaf' ORDER BY path"));
        while (q.next()) pages << q.value(0).toLongLong();
    }
    QVERIFY(pages.size() > 4);
    QByteArray bytes = env.readFile(kDb);
    const qint64 page = pages[pages.size() / 2];
    for (qint64 i = (page - 1) * 4096 + 200; i < page * 4096; ++i) bytes[i] = char(i * 7);
    env.writeFile(kDb, bytes);

    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("new"), 10, 2)));
    QCOMPARE(store.runCount(), 601);
    const QStringList now = wholeTests(store.testResults(QStringLiteral("letters")));
    QVERIFY2(now.size() >= 450 && now.size() < 600, qPrintable(QString::number(now.size())));
    for (const QString& t : now) QVERIFY2(written.contains(t), qPrintable(t));
    QCOMPARE(env.platform.messages.size(), 1);
}

void TstHistoryStore::dailyGoal_data() {
    QTest::addColumn<QByteArray>("zone");   // the program runs in
    QTest::addColumn<QStringList>("runs");  // UTC start and seconds
    QTest::addColumn<QString>("now");       // UTC
    QTest::addColumn<int>("goal");          // minutes, 0 off
    QTest::addColumn<QStringList>("days");  // local day = seconds
    QTest::addColumn<QList<int>>("streak"); // current, through today, longest
    // 23:50 and 00:10 in Tokyo on either side of its midnight, both on March 1 in UTC.
    const QStringList midnight{"2026-03-01T14:50:00Z 400", "2026-03-01T15:10:00Z 300"};
    QTest::newRow("Tokyo: two days")
        << QByteArray("Asia/Tokyo") << midnight << "2026-03-02T03:00:00Z" << 5
        << QStringList{"2026-03-01=400", "2026-03-02=300"} << QList<int>{2, 1, 2};
    QTest::newRow("UTC: the same runs one day")
        << QByteArray("UTC") << midnight << "2026-03-02T03:00:00Z" << 5
        << QStringList{"2026-03-01=700"} << QList<int>{1, 0, 1};
    QTest::newRow("UTC: today is still March 1")
        << QByteArray("UTC") << midnight << "2026-03-01T23:00:00Z" << 5
        << QStringList{"2026-03-01=700"} << QList<int>{1, 1, 1};
    // A run begun before midnight counts whole on the day it began.
    QTest::newRow("Tokyo: past midnight, today not met yet")
        << QByteArray("Asia/Tokyo") << QStringList{"2026-03-01T14:55:00Z 1200"}
        << "2026-03-01T16:00:00Z" << 10 << QStringList{"2026-03-01=1200"} << QList<int>{1, 0, 1};
    // Clocks go back at 06:00 UTC on November 1: 23:30, 00:30 and a day later 23:30.
    QTest::newRow("New York: the night clocks go back")
        << QByteArray("America/New_York")
        << QStringList{"2026-11-01T03:30:00Z 600", "2026-11-01T04:30:00Z 600",
                       "2026-11-02T04:30:00Z 600"}
        << "2026-11-02T12:00:00Z" << 10 << QStringList{"2026-10-31=600", "2026-11-01=1200"}
        << QList<int>{2, 0, 2};
    const QStringList week{"2026-03-01T00:00:00Z 600", "2026-03-02T00:00:00Z 660",
                           "2026-03-03T00:00:00Z 900", "2026-03-04T00:00:00Z 599",
                           "2026-03-05T00:00:00Z 300", "2026-03-05T01:00:00Z 300"};
    const QStringList weekDays{"2026-03-01=600", "2026-03-02=660", "2026-03-03=900",
                               "2026-03-04=599", "2026-03-05=600"};
    QTest::newRow("a day short of the goal breaks the streak")
        << QByteArray("Asia/Tokyo") << week << "2026-03-06T03:00:00Z" << 10 << weekDays
        << QList<int>{1, 0, 3};
    QTest::newRow("a day without practice ends it")
        << QByteArray("Asia/Tokyo") << week << "2026-03-07T03:00:00Z" << 10 << weekDays
        << QList<int>{0, 0, 3};
    QTest::newRow("goal off: any practice counts")
        << QByteArray("Asia/Tokyo") << week << "2026-03-05T03:00:00Z" << 0 << weekDays
        << QList<int>{5, 1, 5};
}

// Runs are kept in UTC and counted by the local day of the zone the program runs in.
void TstHistoryStore::dailyGoal() {
    QFETCH(QByteArray, zone);
    QFETCH(QStringList, runs);
    QFETCH(QString, now);
    QFETCH(int, goal);
    const QByteArray before = qgetenv("TZ");
    qputenv("TZ", zone);
    tzset();
    TestEnv env;
    env.platform.calendar = QDateTime::fromString(now, Qt::ISODate).toSecsSinceEpoch();
    HistoryStore store;
    for (const QString& r : runs) {
        RunSummary s = run(QStringLiteral("a.txt"), 10, 0);
        s.startedAt = QDateTime::fromString(r.section(' ', 0, 0), Qt::ISODate);
        s.seconds = r.section(' ', 1).toDouble();
        QVERIFY(store.append(s));
    }
    const QMap<QDate, double> days = store.dailySeconds(QDate(), QDate());
    QStringList got;
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        got << it.key().toString(Qt::ISODate) + '=' + QString::number(it.value());
    QTEST(got, "days");
    const QDate today = goal::localToday();
    // One day asked for alone is counted as it is among all.
    QCOMPARE(store.dailySeconds(today, today).value(today, -1), days.value(today, -1));
    const goal::Streaks st = goal::streaks(days, goal, today);
    QTEST((QList<int>{st.current, st.throughToday, st.longest}), "streak");
    qputenv("TZ", before);
    tzset();
}

QTEST_GUILESS_MAIN(TstHistoryStore)
#include "tst_historystore.moc"
