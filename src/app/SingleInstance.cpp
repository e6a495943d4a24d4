#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace {

// The same folder reached by another path (a link, a trailing slash) is the same folder.
QString folderKey(const QString& folder) {
    QString path = QDir(folder).canonicalPath();
    if (path.isEmpty()) path = QDir(folder).absolutePath();
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(const QString& runtimeDir, const QString& folder)
    : name_(QDir(runtimeDir).filePath(QStringLiteral("velotapper-") + folderKey(folder))),
      lock_(name_ + QStringLiteral(".lock")) {
    // Only a lock whose program is gone is stale, however long the other has run.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_.nextPendingConnection()) {
            caller->disconnectFromServer();
            caller->deleteLater();
            emit calledToFront();
        }
    });
}

bool SingleInstance::claim() {
    if (!lock_.tryLock(0)) {
        // A folder for the lock that cannot be used must not keep the program from
        // starting; only a lock that another program holds does.
        if (lock_.error() != QLockFile::LockFailedError) return true;
        QLocalSocket first;
        first.connectToServer(name_);
        first.waitForConnected(2000);
        return false;
    }
    QLocalServer::removeServer(name_); // the socket of a program that was killed
    server_.listen(name_);
    return true;
}
