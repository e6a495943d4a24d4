// Any bytes as the record file: a whole image loads exactly and survives a save with
// its tail; anything shorter gives the format message and the defaults.
#include "FakePlatform.h"
#include "FuzzWorkDir.h"
#include "PracticeRecord.h"
#include "RecordFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kFormatMessage = QStringLiteral("タイムレコードの形式が違います。\n初期化をします。");

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "record_fuzz: %s\n", what);
    std::abort();
}

QByteArray readBack() {
    QFile f(QString::fromLatin1(kRecordFileName));
    check(f.open(QIODevice::ReadOnly), "the saved record cannot be read back");
    return f.readAll();
}

// The image the defaults give after a short read of `input`: the bytes the read placed
// stay only where the defaults do not reach (reserved and padding).
QByteArray expectedDefaults(const QByteArray& input) {
    PracticeRecord r;
    r.applyDefaults();
    QByteArray image = r.toBytes();
    for (int i : {4, 5, 6, 7, 50, 51})
        if (i < input.size()) image[i] = input[i];
    return image;
}

QTemporaryDir* workDir = nullptr;
FakePlatform* platform = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    workDir = enterFuzzWorkDir("record_fuzz");
    platform = new FakePlatform;
    Platform::install(platform);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(QString::fromLatin1(kRecordFileName));
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input");
        check(f.write(input) == input.size(), "short write of the input");
    }
    platform->messages.clear();

    PracticeRecord record;
    loadRecord(record);
    const bool whole = input.size() >= PracticeRecord::kSize;
    if (whole) {
        check(platform->messages.isEmpty(), "a whole record gave a message");
        check(record.toBytes() == input.left(PracticeRecord::kSize),
              "a whole record did not load exactly");
    } else {
        check(platform->messages == QStringList{kFormatMessage},
              "a short record did not give the format message once");
        check(record.toBytes() == expectedDefaults(input), "a short record did not give defaults");
    }

    saveRecord(record);
    check(platform->messages.size() == (whole ? 0 : 1), "the save gave a message");
    const QByteArray saved = readBack();
    if (whole)
        check(saved == input, "the save changed the file (record or tail)");
    else
        check(saved == record.toBytes(), "the save did not write the record alone");

    PracticeRecord again;
    loadRecord(again);
    check(platform->messages.size() == (whole ? 0 : 1), "the reload gave a message");
    check(again.toBytes() == record.toBytes(), "the reload differs from the saved record");
    return 0;
}
