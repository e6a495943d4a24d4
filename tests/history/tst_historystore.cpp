#include "HistoryCheck.h"
#include "HistoryFill.h"
#include "HistoryStore.h"
#include "TestEnv.h"

#include <QDir>
#include <QtTest>

// The history file's faults, and what the queries make of a known history.
class TstHistoryStore : public QObject {
    Q_OBJECT

private slots:
    void faults_data();
    void faults();
    void lockedFileDropsTheRunOnce();
    void followsTheWorkingFolder();
    void queries();
    void courseFromAnOlderFile();
};

namespace {

const QString kDb = QString::fromLatin1(kHistoryFileName);
const QString kWriteFailed = QStringLiteral("成績履歴に書き込めませんでした。");

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

// A whole database of a given user_version.
void makeDb(const QString& path, int version) {
    HistoryStore s;
    s.append(run(QStringLiteral("old"), 5, 0));
    s.close();
    RawDb raw(path);
    raw.exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
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

    HistoryStore store;
    QCOMPARE(store.append(run(QStringLiteral("new"), 10, 2)), written);
    QCOMPARE(store.append(run(QStringLiteral("new"), 10, 2)), written);
    QCOMPARE(env.platform.messages.size(), 1);
    QVERIFY2(env.platform.messages[0].contains(message), qPrintable(env.platform.messages[0]));

    if (message == "damaged") {
        const QString aside = kDb + QStringLiteral(".damaged-20260402-101112");
        QVERIFY(env.platform.messages[0].contains(aside));
        QCOMPARE(env.readFile(aside), before);
        QCOMPARE(store.runCount(), 2);
    }
    if (kind == "newer") {
        QCOMPARE(store.runCount(), 1); // read as it is
        QCOMPARE(store.lastRuns(5).value(0).source, QStringLiteral("old"));
        QVERIFY(!store.clear());
        store.close();
        RawDb raw(env.path(kDb));
        QCOMPARE(raw.one(QStringLiteral("SELECT count(*) FROM runs")).toInt(), 1);
    }
}

void TstHistoryStore::lockedFileDropsTheRunOnce() {
    TestEnv env;
    HistoryStore store;
    store.setBusyTimeoutMs(50);
    QVERIFY(store.append(run(QStringLiteral("first"), 3, 0)));
    {
        RawDb other(env.path(kDb), QStringLiteral("other"));
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(other.exec(QStringLiteral("INSERT INTO settings VALUES('held', 'yes')")));
        QVERIFY(!store.append(run(QStringLiteral("second"), 3, 0)));
        QVERIFY(!store.append(run(QStringLiteral("third"), 3, 0)));
        QCOMPARE(env.platform.messages, QStringList{kWriteFailed});
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
    }
    QVERIFY(store.append(run(QStringLiteral("fourth"), 3, 0)));
    QCOMPARE(store.runCount(), 2);
    QCOMPARE(store.setting(QStringLiteral("held")), QStringLiteral("yes"));
    QCOMPARE(env.platform.messages.size(), 1);
}

// The file dialog moves the working folder; the history follows the record there.
void TstHistoryStore::followsTheWorkingFolder() {
    TestEnv env;
    HistoryStore store;
    QVERIFY(store.append(run(QStringLiteral("here"), 3, 0)));
    QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("sub")));
    QVERIFY(QDir::setCurrent(env.path(QStringLiteral("sub"))));
    QCOMPARE(store.runCount(), 0);
    QVERIFY(!QFile::exists(kDb)); // reading makes no file
    QVERIFY(store.append(run(QStringLiteral("there"), 3, 0)));
    QCOMPARE(store.lastRuns(9).value(0).source, QStringLiteral("there"));
    QVERIFY(QDir::setCurrent(env.dir()));
    QCOMPARE(store.lastRuns(9).value(0).source, QStringLiteral("here"));
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
    b.startedAt = b.startedAt.addDays(1);
    b.endedAt = b.endedAt.addDays(1);
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
    QCOMPARE(all[1].topTypedCount, 2);
    QCOMPARE(store.lastRuns(1).value(0).source, QStringLiteral("b.txt"));
    QCOMPARE(store.lastRuns(5).value(0).startedAt, a.startedAt);
    const QList<HistoryDay> days = store.days();
    QCOMPARE(days.size(), 2);
    QCOMPARE(days[1].day, QDate(2026, 3, 2));
    QCOMPARE(days[1].mode, QStringLiteral("drill"));

    QVERIFY(store.exportCsv(env.path(QStringLiteral("h.csv"))));
    QCOMPARE(env.readFile(QStringLiteral("h.csv")),
             QByteArray("id,started_at,ended_at,mode,source,seconds,keys,misses,speed,completed\r\n"
                        "1,2026-03-01T09:00:00.000Z,2026-03-01T09:00:30.000Z,text,"
                        "\"say \"\"hi\"\", twice\r\nok\",30,20,4,0.666666666666667,0\r\n"
                        "2,2026-03-02T09:00:00.000Z,2026-03-02T09:00:30.000Z,drill,b.txt,30,10,1,"
                        "0.333333333333333,0\r\n"));

    QVERIFY(store.clear());
    QCOMPARE(store.runCount(), 0);
    QCOMPARE(store.keyFigures(0).size(), 0);
    QVERIFY(fillHistory(store, 300, 7));
    QCOMPARE(store.runCount(), 300);
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
    QCOMPARE(RawDb(env.path(kDb)).one(QStringLiteral("PRAGMA user_version")).toInt(), 3);
    QVERIFY(store.clear());
    QCOMPARE(store.courseSteps(QStringLiteral("letters")).size(), 0);
}

QTEST_GUILESS_MAIN(TstHistoryStore)
#include "tst_historystore.moc"
