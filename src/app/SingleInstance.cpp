#include "SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The same folder reached by another path (a link, a trailing slash) is the same folder.
QString folderKey(const QString& folder) {
    QString path = QDir(folder).canonicalPath();
    if (path.isEmpty()) path = QDir(folder).absolutePath();
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

// False when the path does not fit a socket address.
bool socketAddress(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

} // namespace

SingleInstance::SingleInstance(const QString& runtimeDir, const QString& folder)
    : socketPath_(QFile::encodeName(
          QDir(runtimeDir).filePath(QStringLiteral("velotapper-") + folderKey(folder)))) {}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(socketPath_.constData());
    }
    if (lock_ >= 0) ::close(lock_);
}

bool SingleInstance::claim() {
    const QByteArray lockPath = socketPath_ + ".lock";
    lock_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A folder for the lock that cannot be used must not keep the program from
    // starting; only a lock that another program holds does.
    if (lock_ < 0) return true;
    // The kernel drops the lock when the program ends, killed or not.
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(lock_);
        lock_ = -1;
        if (!held) return true;
        sockaddr_un address;
        const int first = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (first >= 0 && socketAddress(socketPath_, address))
            (void)::connect(first, reinterpret_cast<sockaddr*>(&address), sizeof address);
        if (first >= 0) ::close(first);
        return false;
    }
    // Who holds it, for a person looking.
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    if (::ftruncate(lock_, 0) == 0) {
        const ssize_t written = ::write(lock_, pid.constData(), size_t(pid.size()));
        (void)written;
    }
    listen();
    return true;
}

// Bound at once, so that a start in the meantime waits in the queue rather than
// finding no one; without a socket the program still runs, it only cannot be called.
void SingleInstance::listen() {
    sockaddr_un address;
    if (!socketAddress(socketPath_, address)) return;
    ::unlink(socketPath_.constData()); // the socket of a program that was killed
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0) return;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0) {
        ::close(listener_);
        listener_ = -1;
        return;
    }
    notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::answer);
}

void SingleInstance::answer() {
    for (int caller; (caller = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(caller);
        emit calledToFront();
    }
}
