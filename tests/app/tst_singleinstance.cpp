#include "SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// One program per working folder, so no two rewrite the same record: a second start
// calls the first to the front and ends; another folder, or what a killed program
// left behind, stops nothing.
class TstSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondStartCallsTheFirst();
    void killedProgramBlocksNothing();
};

void TstSingleInstance::secondStartCallsTheFirst() {
    QTemporaryDir runtime, folder, other;
    SingleInstance first(runtime.path(), folder.path());
    QVERIFY(first.claim());
    QSignalSpy called(&first, &SingleInstance::calledToFront);
    SingleInstance second(runtime.path(), folder.path() + QStringLiteral("/."));
    QVERIFY(!second.claim());
    QVERIFY(called.wait(5000));
    SingleInstance elsewhere(runtime.path(), other.path());
    QVERIFY(elsewhere.claim());
    QCOMPARE(called.size(), 1);
}

void TstSingleInstance::killedProgramBlocksNothing() {
    QTemporaryDir runtime, folder;
    QString lockPath;
    QByteArray lock;
    {
        SingleInstance ended(runtime.path(), folder.path());
        QVERIFY(ended.claim());
        lockPath =
            QDir(runtime.path()).entryInfoList({QStringLiteral("*.lock")}).value(0).filePath();
        QFile f(lockPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        lock = f.readAll();
    }
    // Its lock and socket as a kill leaves them: naming a process that is gone.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    lock.replace(0, lock.indexOf('\n'), QByteArray::number(pid));
    for (const QString& path : {lockPath, lockPath.chopped(5)}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(lock);
    }
    SingleInstance next(runtime.path(), folder.path());
    QVERIFY(next.claim());
    QSignalSpy called(&next, &SingleInstance::calledToFront);
    SingleInstance later(runtime.path(), folder.path());
    QVERIFY(!later.claim());
    QVERIFY(called.wait(5000));
}

QTEST_GUILESS_MAIN(TstSingleInstance)
#include "tst_singleinstance.moc"
