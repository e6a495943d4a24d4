// A helper process for the crash and full-disk tests. It works on the record file of
// its working directory and reports on stdout:
//   record_saver loop                  load, check, save the next counter, report; forever
//   record_saver once [--fsize BYTES] [--tmpfs SIZE]
//                                      one load and save under a file-size limit, or on a
//                                      small memory file system mounted just for it
//   record_saver history [--fsize BYTES]
//                                      appends runs to the history of its working
//                                      directory and reports each; forever, or once under
//                                      a file-size limit
#include "FakePlatform.h"
#include "HistoryStore.h"
#include "RecordFile.h"
#include "RecordPattern.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Reports go out unbuffered, so a kill loses nothing already said.
void say(const QByteArray& line) {
    const QByteArray out = line + '\n';
    const char* p = out.constData();
    for (qsizetype left = out.size(); left > 0;) {
        const ssize_t n = ::write(1, p, size_t(left));
        if (n <= 0) return;
        p += n;
        left -= n;
    }
}

int loop(FakePlatform& platform) {
    for (;;) {
        PracticeRecord r;
        loadRecord(r);
        if (!platform.messages.isEmpty() || !pattern::holds(r)) {
            say("mix " + QByteArray::number(r.typedTotal));
            return 3;
        }
        pattern::apply(r, r.typedTotal + 1);
        saveRecord(r);
        if (!platform.messages.isEmpty()) {
            say("message " + platform.messages.join(QLatin1Char('|')).toUtf8());
            return 4;
        }
        say("saved " + QByteArray::number(r.typedTotal));
    }
}

// A private mount namespace with a tmpfs over ./disk holding a copy of the record.
// Returns false where the system does not allow it.
bool enterSmallDisk(const char* size) {
    const QByteArray file = QByteArray(kRecordFileName);
    if (::unshare(CLONE_NEWNS) != 0) return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    QDir().mkpath(QStringLiteral("disk"));
    const std::string options = std::string("size=") + size;
    if (::mount("tmpfs", "disk", "tmpfs", 0, options.c_str()) != 0) return false;
    return QFile::copy(QString::fromLatin1(file), QStringLiteral("disk/") + QLatin1String(file)) &&
           QDir::setCurrent(QStringLiteral("disk"));
}

int once(FakePlatform& platform, int argc, char** argv) {
    const char* tmpfs = nullptr;
    long fsize = -1;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--fsize") == 0) fsize = std::stol(argv[i + 1]);
        if (std::strcmp(argv[i], "--tmpfs") == 0) tmpfs = argv[i + 1];
    }
    if (tmpfs && !enterSmallDisk(tmpfs)) {
        say("no small disk here");
        return 77;
    }
    if (fsize >= 0) {
        // The write past the limit fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(fsize), rlim_t(fsize)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    }
    PracticeRecord r;
    loadRecord(r);
    pattern::apply(r, r.typedTotal + 1);
    saveRecord(r);
    for (const QString& m : platform.messages) say("message " + m.toUtf8());
    if (tmpfs) {
        // Hand the outcome back to the folder the test sees.
        const QString name = QString::fromLatin1(kRecordFileName);
        QFile::remove(QStringLiteral("../") + name);
        if (!QFile::copy(name, QStringLiteral("../") + name)) return 2;
    }
    say("done");
    return 0;
}

// Run n of the history pattern: n keys over up to three keys, n % 5 misses.
RunSummary historyRun(int n) {
    RunSummary r;
    r.mode = QStringLiteral("drill");
    r.source = QStringLiteral("run %1").arg(n);
    r.startedAt = QDateTime::fromSecsSinceEpoch(1'700'000'000 + n, Qt::UTC);
    r.endedAt = r.startedAt.addSecs(1);
    r.keys = n;
    r.misses = n % 5;
    for (int k = 0; k < n; ++k) r.perKey['A' + k % 3].expected += 1;
    for (int k = 0; k < r.misses; ++k) {
        r.perKey['A'].missed += 1;
        r.confusions[{'A', 'B' + k}] += 1;
    }
    return r;
}

int history(FakePlatform& platform, int argc, char** argv) {
    const bool once = argc >= 4 && std::strcmp(argv[2], "--fsize") == 0;
    if (once) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(std::stol(argv[3])), rlim_t(std::stol(argv[3]))};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    }
    HistoryStore store;
    for (int n = int(store.runCount()) + 1;; ++n) {
        const bool ok = store.append(historyRun(n));
        for (const QString& m : platform.messages) say("message " + m.toUtf8());
        if (once) {
            say(ok ? "done" : "dropped");
            return 0;
        }
        if (!ok) return 4;
        say("appended " + QByteArray::number(n));
    }
}

} // namespace

int main(int argc, char** argv) {
    FakePlatform platform;
    Platform::install(&platform);
    if (argc >= 2 && std::strcmp(argv[1], "loop") == 0) return loop(platform);
    if (argc >= 2 && std::strcmp(argv[1], "once") == 0) return once(platform, argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "history") == 0) return history(platform, argc, argv);
    std::fprintf(stderr, "usage: record_saver loop | once [--fsize BYTES] [--tmpfs SIZE] | history "
                         "[--fsize BYTES]\n");
    return 2;
}
