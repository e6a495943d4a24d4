#pragma once
#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// One program per working folder: two would each rewrite the whole record from memory,
// and the last to save would drop the other's runs. The first start in a folder holds a
// lock and listens on a socket beside it; a later start there calls the first to the
// front and ends. The lock goes with the program however it ends, and a socket left by
// a program that was killed is replaced. Plain system calls, so that the program's
// start loads no network library.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // runtimeDir holds the lock and the socket; folder names the working folder.
    SingleInstance(const QString& runtimeDir, const QString& folder);
    ~SingleInstance() override;

    // True when no other program runs in the folder: this one then answers later
    // starts. False when one does; it has been asked to come to the front.
    bool claim();

signals:
    // Another start in the same folder wants this program's window in front.
    void calledToFront();

private:
    void listen();
    void answer();
    QByteArray socketPath_;
    int lock_ = -1;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
