#include "RecordFile.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* const kFormatMessage =
    QT_TRANSLATE_NOOP("RecordFile", "タイムレコードの形式が違います。\n初期化をします。");
const char* const kOpenMessage =
    QT_TRANSLATE_NOOP("RecordFile", "タイムレコードがオープンできませんでした。");
const char* const kWriteMessage =
    QT_TRANSLATE_NOOP("RecordFile", "タイムレコードが出力できませんでした。");

void tell(QWidget* parent, const char* message) {
    Platform::get().messageBox(parent, QCoreApplication::translate("RecordFile", message));
}
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
        tell(parent, kFormatMessage);
        record.applyDefaults();
    }
}

namespace {

// The record file as it stands before a save, opened once so that what is checked is
// what gets written.
struct ExistingRecord {
    int fd = -1;
    bool readable = false;
    struct stat st {};
    ~ExistingRecord() {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const char* data, qsizetype size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, std::size_t(size), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

// Appends the file's bytes from offset on; false when a read fails.
bool readFrom(int fd, off_t offset, QByteArray& bytes) {
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        bytes.append(chunk, n);
        offset += n;
    }
}

// Whether a rewrite in place can run to its end: one cut short would leave half a
// new record over half the old one. A file-size limit below the record cuts it; so
// does a full disk where the file has no room of its own yet (a short file).
bool roomInPlace(const ExistingRecord& old, qsizetype size) {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < rlim_t(size))
        return false;
    // Claims the blocks without writing; a file system that cannot claim them lets
    // the write find out.
    return !S_ISREG(old.st.st_mode) || ::fallocate(old.fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0 ||
           errno == EOPNOTSUPP || errno == ENOSYS;
}

// Rewrites the record at the start of the file it already is, as the record was
// always written: the bytes past it stay, and so do links, owner and permissions.
void writeInPlace(const ExistingRecord& old, const QByteArray& image, QWidget* parent) {
    // Syncing reports what a delayed write lost; only plain files take it.
    if (!roomInPlace(old, image.size()) || !writeAll(old.fd, image.constData(), image.size(), 0) ||
        (S_ISREG(old.st.st_mode) && ::fsync(old.fd) != 0))
        tell(parent, kWriteMessage);
}

} // namespace

void saveRecord(const PracticeRecord& record, QWidget* parent) {
    const QString name = QString::fromLatin1(kRecordFileName);
    QByteArray image = record.toBytes();

    // An existing file must be writable as it stands (a read-only record stays
    // read-only); whatever lies past the record in it is kept. Non-blocking, so a
    // pipe in the record's place cannot hang the save.
    ExistingRecord old;
    if (QFileInfo(name).exists() || QFileInfo(name).isSymLink()) {
        old.fd = ::open(kRecordFileName, O_RDWR | O_NONBLOCK | O_CLOEXEC);
        old.readable = old.fd >= 0;
        if (old.fd < 0) old.fd = ::open(kRecordFileName, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (old.fd < 0 || ::fstat(old.fd, &old.st) != 0) {
            tell(parent, kOpenMessage);
            return;
        }
        // Replacing a file would part it from its other links; one that cannot be read
        // has no tail to carry (nor one whose tail cannot be read); anything but a plain
        // file is no file to replace.
        if (old.st.st_nlink > 1 || !old.readable || !S_ISREG(old.st.st_mode) ||
            (old.st.st_size > PracticeRecord::kSize &&
             !readFrom(old.fd, PracticeRecord::kSize, image))) {
            writeInPlace(old, image.left(PracticeRecord::kSize), parent);
            return;
        }
    }

    // The new image goes to a temporary file that replaces the old one only when
    // whole, so a failed write or a crash leaves the previous record intact. In a
    // folder that takes no new files the old record is rewritten in place.
    // Unbuffered, so a short write (full disk, file-size limit) fails the write itself:
    // a buffered one would only fail in the flush inside commit(), which renames the
    // cut file over the record all the same.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (old.fd >= 0)
            writeInPlace(old, image.left(PracticeRecord::kSize), parent);
        else
            tell(parent, kOpenMessage);
        return;
    }
    // The new file keeps the old one's owner and group (the permissions come with
    // QSaveFile), so root saving a user's record leaves it the user's. Where that is
    // not allowed the old file is rewritten instead.
    struct stat made {};
    if (old.fd >= 0 && ::fstat(int(file.handle()), &made) == 0 &&
        (made.st_uid != old.st.st_uid || made.st_gid != old.st.st_gid) &&
        ::fchown(int(file.handle()), old.st.st_uid, old.st.st_gid) != 0) {
        file.cancelWriting();
        writeInPlace(old, image.left(PracticeRecord::kSize), parent);
        return;
    }
    // A new file that cannot be written whole (a full disk, a file-size limit) leaves
    // the old one as it was; its blocks may still take the record.
    if (file.write(image) != image.size() || !file.commit()) {
        file.cancelWriting();
        if (old.fd >= 0)
            writeInPlace(old, image.left(PracticeRecord::kSize), parent);
        else
            tell(parent, kWriteMessage);
    }
}
