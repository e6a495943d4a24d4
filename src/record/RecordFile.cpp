#include "RecordFile.h"

#include "Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString kFormatMessage = QStringLiteral("タイムレコードの形式が違います。\n初期化をします。");
const QString kOpenMessage = QStringLiteral("タイムレコードがオープンできませんでした。");
const QString kWriteMessage = QStringLiteral("タイムレコードが出力できませんでした。");
} // namespace

void loadRecord(PracticeRecord& record, QWidget* parent) {
    QFile file(QString::fromLatin1(kRecordFileName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly)) {
        record.applyDefaults();
        return;
    }
    // Start from the record as it is (zero at construction), so a short read leaves
    // its bytes in the fields the defaults do not cover.
    QByteArray image = record.toBytes();
    const qint64 got = file.read(image.data(), PracticeRecord::kSize);
    file.close();
    if (got > 0) record.fromBytes(image);
    if (got != PracticeRecord::kSize) {
        Platform::get().messageBox(parent, kFormatMessage);
        record.applyDefaults();
    }
}

void saveRecord(const PracticeRecord& record, QWidget* parent) {
    const QString name = QString::fromLatin1(kRecordFileName);
    QByteArray image = record.toBytes();

    // An existing file must be writable as it stands (a read-only record stays
    // read-only); whatever lies past the record in it is kept.
    if (QFileInfo(name).exists() || QFileInfo(name).isSymLink()) {
        QFile existing(name);
        if (!existing.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
            Platform::get().messageBox(parent, kOpenMessage);
            return;
        }
        if (existing.size() > PracticeRecord::kSize && existing.seek(PracticeRecord::kSize))
            image.append(existing.readAll());
    }

    // The new image goes to a temporary file that replaces the old one only when
    // whole, so a failed write or a crash leaves the previous record intact. A folder
    // that takes no new files falls back to writing the file in place.
    // Unbuffered, so a short write (full disk, file-size limit) fails the write itself:
    // a buffered one would only fail in the flush inside commit(), which renames the
    // cut file over the record all the same.
    QSaveFile file(name);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        Platform::get().messageBox(parent, kOpenMessage);
        return;
    }
    if (file.write(image) != image.size() || !file.commit()) {
        file.cancelWriting();
        Platform::get().messageBox(parent, kWriteMessage);
    }
}
