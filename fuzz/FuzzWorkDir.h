#pragma once
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// Makes a private folder for a file fuzzer, removed at exit, and makes it the working
// folder. Every save syncs its file to disk, so a memory file system keeps the runs fast.
inline QTemporaryDir* enterFuzzWorkDir(const char* target) {
    static QTemporaryDir* dir = nullptr;
    const QString shm = QStringLiteral("/dev/shm");
    dir = QFileInfo(shm).isWritable()
              ? new QTemporaryDir(shm + QLatin1Char('/') + QLatin1String(target) +
                                  QStringLiteral("-XXXXXX"))
              : new QTemporaryDir;
    if (!dir->isValid() || !QDir::setCurrent(dir->path())) {
        std::fprintf(stderr, "%s: no working directory\n", target);
        std::abort();
    }
    std::atexit([] { delete dir; });
    return dir;
}
