// Any bytes as the history file: opening, reading and adding a run never crash, a
// file that cannot be used whole is put aside, and what is left passes quick_check.
#include "FakePlatform.h"
#include "FuzzWorkDir.h"
#include "HistoryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "history_fuzz: %s\n", what);
    std::abort();
}

QTemporaryDir* workDir = nullptr;
FakePlatform* platform = nullptr;

RunSummary oneRun() {
    RunSummary r;
    r.mode = QStringLiteral("drill");
    r.source = QStringLiteral("A");
    r.startedAt = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    r.endedAt = r.startedAt.addSecs(9);
    r.keys = 3;
    r.misses = 1;
    r.perKey['A'] = {3, 1, 900};
    r.confusions[{'A', 'S'}] = 1;
    return r;
}

QString quickCheck(const QString& path) {
    QString verdict;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("f"));
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("PRAGMA quick_check")) && q.next())
            verdict = q.value(0).toString();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("f"));
    return verdict;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    workDir = enterFuzzWorkDir("history_fuzz");
    platform = new FakePlatform;
    Platform::install(platform);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QDir dir(workDir->path());
    for (const QString& name : dir.entryList(QDir::Files)) dir.remove(name);
    const QString path = dir.filePath(QString::fromLatin1(kHistoryFileName));
    {
        QFile f(path);
        check(f.open(QIODevice::WriteOnly), "cannot write the input");
        check(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size),
              "short write of the input");
    }
    platform->messages.clear();
    {
        HistoryStore store;
        store.setBusyTimeoutMs(0);
        store.runCount();
        store.lastRuns(50);
        store.days();
        store.keyFigures(20);
        const bool added = store.append(oneRun());
        check(!added || store.runCount() >= 1, "an added run cannot be read back");
        check(added || !platform->messages.isEmpty(), "a dropped run gave no message");
        check(platform->messages.size() <= 2, "more than two messages for one file");
    }
    check(quickCheck(path) == QLatin1String("ok") || size == 0 || !platform->messages.isEmpty(),
          "a file left in use does not pass quick_check");
    return 0;
}
