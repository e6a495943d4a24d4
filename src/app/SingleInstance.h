#pragma once
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One program per working folder: two would each rewrite the whole record from memory,
// and the last to save would drop the other's runs. The first start in a folder holds a
// lock and listens; a later start there calls the first to the front and ends. A lock
// left by a program that was killed is taken over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // runtimeDir holds the lock and the socket; folder names the working folder.
    SingleInstance(const QString& runtimeDir, const QString& folder);

    // True when no other program runs in the folder: this one then answers later
    // starts. False when one does; it has been asked to come to the front.
    bool claim();

signals:
    // Another start in the same folder wants this program's window in front.
    void calledToFront();

private:
    QString name_;
    QLockFile lock_;
    QLocalServer server_;
};
