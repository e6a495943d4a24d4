// The record file under killed saves and full disks: whatever happens, the file holds
// one whole record, the one before the interrupted save or the one after it.
#include "HistoryStore.h"
#include "RecordFile.h"
#include "RecordPattern.h"
#include "TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QString kName = QString::fromLatin1(kRecordFileName);
const QByteArray kTail = QByteArrayLiteral("bytes past the record, kept by every save\n");
const QString kWriteMessage = QStringLiteral("タイムレコードが出力できませんでした。");

QByteArray imageOf(std::int32_t n) {
    PracticeRecord r;
    pattern::apply(r, n);
    return r.toBytes();
}

// The counter of a whole pattern record with the expected tail, or -1.
int counterIn(const QByteArray& file, const QByteArray& tail) {
    if (file.size() != PracticeRecord::kSize + tail.size()) return -1;
    if (file.mid(PracticeRecord::kSize) != tail) return -1;
    PracticeRecord r;
    r.fromBytes(file);
    return pattern::holds(r) ? r.typedTotal : -1;
}

// What a history file holds: integrity_check's verdict, the number of runs, and the
// number of runs whose keys or misses do not add up over their rows.
struct HistoryLook {
    QString integrity;
    int runs = -1;
    int torn = -1;
};

HistoryLook lookAtHistory(const QString& path) {
    HistoryLook look;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        db.setDatabaseName(path);
        QSqlQuery q(db);
        auto one = [&](const QString& sql) {
            return db.open() && q.exec(sql) && q.next() ? q.value(0) : QVariant();
        };
        look.integrity = one(QStringLiteral("PRAGMA integrity_check")).toString();
        look.runs = one(QStringLiteral("SELECT count(*) FROM runs")).toInt();
        look.torn = one(QStringLiteral("SELECT count(*) FROM runs r WHERE keys != (SELECT "
                                       "coalesce(sum(expected), 0) FROM"
                                       " run_keys WHERE run_id = r.id) OR misses != (SELECT "
                                       "coalesce(sum(count), 0) FROM"
                                       " confusions WHERE run_id = r.id)"))
                        .toInt();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
    return look;
}

} // namespace

class RecordCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedSaves_data();
    void killedSaves();
    void fullDisk_data();
    void fullDisk();
    void killedHistoryWrites();
    void historyFullDisk();
};

void RecordCrashTest::killedSaves_data() {
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("kills");
    QTest::newRow("record alone") << QByteArray() << 400;
    QTest::newRow("record with tail") << kTail << 200;
}

// The saver loops load-change-save and reports each finished save. The test reads a
// random number of reports, kills the saver at once and looks at the file: it must hold
// the last reported save or the one in progress, whole, tail included.
void RecordCrashTest::killedSaves() {
    QFETCH(QByteArray, tail);
    QFETCH(int, kills);
    TestEnv env;
    env.writeFile(kName, imageOf(0) + tail);

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    QElapsedTimer elapsed;
    elapsed.start();
    int done = 0;
    int last = 0;
    int landedMidSave = 0;
    for (; done < kills && elapsed.elapsed() < 20'000; ++done) {
        QProcess saver;
        saver.setWorkingDirectory(env.dir());
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(QStringLiteral(RECORD_SAVER), {QStringLiteral("loop")});
        QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
        // Zero reports kills it while it starts or in its first save.
        const int reports = int(random.bounded(4));
        for (int i = 0; i < reports; ++i) {
            while (!saver.canReadLine() && saver.state() == QProcess::Running)
                saver.waitForReadyRead(10'000);
            QVERIFY2(saver.canReadLine(), "the saver stopped reporting");
            const QByteArray line = saver.readLine();
            if (line.startsWith("saved ")) last = line.mid(6).trimmed().toInt();
        }
        saver.kill();
        QVERIFY(saver.waitForFinished(10'000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        for (const QByteArray& line : saver.readAllStandardOutput().split('\n')) {
            QVERIFY2(!line.startsWith("mix") && !line.startsWith("message"), line.constData());
            if (line.startsWith("saved ")) last = line.mid(6).trimmed().toInt();
        }
        const int found = counterIn(env.readFile(kName), tail);
        QVERIFY2(found == last || found == last + 1,
                 qPrintable(QStringLiteral("kill %1 (seed %2): file holds %3 after save %4")
                                .arg(done)
                                .arg(seed)
                                .arg(found)
                                .arg(last)));
        if (found == last + 1) ++landedMidSave;
        last = found;
    }
    // A kill between creating the temporary file and renaming it leaves that file behind.
    const int strays = int(QDir(env.dir()).entryList(QDir::Files).size()) - 1;
    qInfo("%d kills survived (%d after the rename of the save in progress), %d saves, "
          "%d temporary files left, seed %u",
          done, landedMidSave, last, strays, seed);
    QVERIFY2(done >= 50, "too few kills in the time given");
}

void RecordCrashTest::fullDisk_data() {
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("fails");
    QTest::newRow("no byte may be written") << "--fsize"
                                            << "0" << QByteArray() << true;
    QTest::newRow("half the record") << "--fsize"
                                     << "1068" << QByteArray() << true;
    QTest::newRow("one byte short") << "--fsize"
                                    << "2135" << QByteArray() << true;
    // No room for a new file, but the old one takes the record in place.
    QTest::newRow("record fits, tail does not") << "--fsize"
                                                << "2150" << kTail << false;
    QTest::newRow("just room") << "--fsize"
                               << "2136" << QByteArray() << false;
    QTest::newRow("tmpfs of one page") << "--tmpfs"
                                       << "4k" << kTail << false;
    QTest::newRow("tmpfs of two pages") << "--tmpfs"
                                        << "8k" << kTail << false;
}

// A save that cannot write the record whole says so and leaves the old file whole.
void RecordCrashTest::fullDisk() {
    QFETCH(QString, limit);
    QFETCH(QString, value);
    QFETCH(QByteArray, tail);
    QFETCH(bool, fails);
    TestEnv env;
    const QByteArray before = imageOf(41) + tail;
    env.writeFile(kName, before);

    QProcess saver;
    saver.setWorkingDirectory(env.dir());
    saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    saver.start(QStringLiteral(RECORD_SAVER), {QStringLiteral("once"), limit, value});
    QVERIFY(saver.waitForFinished(20'000));
    const QByteArray out = saver.readAllStandardOutput();
    if (saver.exitCode() == 77) QSKIP("no private mount of a tmpfs allowed here");
    QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
    QVERIFY2(saver.exitCode() == 0, out.constData());

    const QByteArray after = env.readFile(kName);
    if (fails) {
        QCOMPARE(out, ("message " + kWriteMessage.toUtf8() + "\ndone\n"));
        QCOMPARE(after, before);
    } else {
        QCOMPARE(out, QByteArray("done\n"));
        QCOMPARE(after, imageOf(42) + tail);
    }
    // A failed save leaves no partial file behind either.
    QCOMPARE(QDir(env.dir()).entryList(QDir::Files), QStringList{kName});
}

// A history write killed at any point leaves a file that passes integrity_check and
// holds every reported run, and at most the one in progress, each with all its rows.
void RecordCrashTest::killedHistoryWrites() {
    TestEnv env;
    const QString db = env.path(QString::fromLatin1(kHistoryFileName));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    QElapsedTimer elapsed;
    elapsed.start();
    int done = 0, last = 0;
    for (; done < 40 && elapsed.elapsed() < 10'000; ++done) {
        QProcess saver;
        saver.setWorkingDirectory(env.dir());
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(QStringLiteral(RECORD_SAVER), {QStringLiteral("history")});
        QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
        const int reports = int(random.bounded(6));
        for (int i = 0; i < reports; ++i) {
            while (!saver.canReadLine() && saver.state() == QProcess::Running)
                saver.waitForReadyRead(10'000);
            QVERIFY2(saver.canReadLine(), "the saver stopped reporting");
            const QByteArray line = saver.readLine();
            QVERIFY2(line.startsWith("appended "), line.constData());
            last = line.mid(9).trimmed().toInt();
        }
        saver.kill();
        QVERIFY(saver.waitForFinished(10'000));
        for (const QByteArray& line : saver.readAllStandardOutput().split('\n'))
            if (line.startsWith("appended ")) last = line.mid(9).trimmed().toInt();
        if (!QFile::exists(db)) continue; // killed before the first write
        const HistoryLook look = lookAtHistory(db);
        QVERIFY2(look.integrity == QLatin1String("ok") && look.torn == 0 &&
                     (look.runs == last || look.runs == last + 1),
                 qPrintable(QStringLiteral("kill %1 (seed %2): %3, %4 runs (%5 torn) after %6")
                                .arg(done)
                                .arg(seed)
                                .arg(look.integrity)
                                .arg(look.runs)
                                .arg(look.torn)
                                .arg(last)));
        last = look.runs;
    }
    qInfo("%d kills of history writes survived, %d runs, seed %u", done, last, seed);
    QVERIFY2(done >= 20, "too few kills in the time given");
}

// A full disk drops the run with the history's message; the file stays whole.
void RecordCrashTest::historyFullDisk() {
    TestEnv env;
    const QString db = env.path(QString::fromLatin1(kHistoryFileName));
    for (const char* limit : {"", "2000"}) {
        QProcess saver;
        saver.setWorkingDirectory(env.dir());
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{QStringLiteral("history")};
        if (*limit)
            args << QStringLiteral("--fsize") << QLatin1String(limit);
        else
            args << QStringLiteral("--fsize") << QStringLiteral("100000000");
        saver.start(QStringLiteral(RECORD_SAVER), args);
        QVERIFY(saver.waitForFinished(20'000));
        QCOMPARE(saver.exitCode(), 0);
        const QByteArray out = saver.readAllStandardOutput();
        if (*limit)
            QCOMPARE(out, "message " +
                              QStringLiteral("成績履歴 Velotap.db に書き込めなかったため、"
                                             "この回の成績は履歴に残りません。")
                                  .toUtf8() +
                              "\ndropped\n");
        else
            QCOMPARE(out, QByteArray("done\n"));
    }
    const HistoryLook look = lookAtHistory(db);
    QCOMPARE(look.integrity, QStringLiteral("ok"));
    QCOMPARE(look.runs, 1);
    QCOMPARE(look.torn, 0);
}

QTEST_GUILESS_MAIN(RecordCrashTest)
#include "RecordCrashTest.moc"
