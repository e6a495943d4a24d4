// Any bytes as the file of what waits for a held history: reading it never crashes, each
// line it yields is a whole entry that encodes back to a line read the same, and a line
// cut short never yields an entry.
#include "FuzzWorkDir.h"
#include "WaitingFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "waiting_fuzz: %s\n", what);
    std::abort();
}

QTemporaryDir* workDir = nullptr;

bool sameEntry(const waiting::Entry& a, const waiting::Entry& b) {
    return a.kind == b.kind && a.id == b.id && a.key == b.key && a.value == b.value &&
           a.track == b.track && a.unlocked == b.unlocked && a.run.mode == b.run.mode &&
           a.run.source == b.run.source && a.run.keys == b.run.keys &&
           a.run.misses == b.run.misses && a.run.perKey.size() == b.run.perKey.size() &&
           a.run.confusions == b.run.confusions;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    workDir = enterFuzzWorkDir("waiting_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Each line on its own, as the reader takes them.
    for (const QByteArray& line : bytes.split('\n')) {
        const std::optional<waiting::Entry> e = waiting::decode(line);
        if (!e) continue;
        const std::optional<waiting::Entry> again = waiting::decode(waiting::encode(*e));
        check(again && sameEntry(*e, *again), "an entry read does not encode back to itself");
        if (line.size() > 1)
            check(!waiting::decode(line.left(line.size() - 1)) ||
                      QByteArray(" \t\r").contains(line.back()),
                  "a line cut short reads as an entry");
    }
    // The whole input as the file beside a history.
    const QString history = workDir->filePath(QStringLiteral("Velotap.db"));
    {
        QFile f(waiting::fileFor(history));
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input");
        check(f.write(bytes) == bytes.size(), "short write of the input");
    }
    const waiting::Contents all = waiting::read(history, QString());
    for (const waiting::Entry& e : all.entries) check(!e.id.isEmpty(), "an entry without an id");
    return 0;
}
