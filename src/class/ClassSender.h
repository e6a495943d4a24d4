#pragma once
#include "ClassLink.h"
#include "ClassService.h"

#include <QLibrary>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class HistoryStore;

// Sends the outbox of the local history to the class's server after each run, in the
// background of the event loop, and reads the class for the teacher. What cannot be
// sent stays in the outbox and is tried again later, less often the longer it fails;
// the settings' line says what is wrong now, once.
class ClassSender : public QObject, public ClassService {
    Q_OBJECT
public:
    // setting: the history's setting of that name (class.service, class.teacher).
    ClassSender(HistoryStore& store, std::function<QString(const QString&)> setting);
    ~ClassSender() override;

    // Before a run is written: whether it goes in the outbox too.
    void beforeRun();
    // Sends what waits, unless a send is under way.
    void kick();
    bool sending() const;

    QString statusLine() override;
    ClassTable readClass(const QString& service) override;
    QList<HistoryRun> learnerRuns(const QString& service, const QString& role,
                                  QString* problem) override;

    ClassProblem problem() const { return problem_; }
    int retryMs() const { return retry_.isActive() ? retry_.interval() : 0; }
    // Where the module is sought (the program's folder and its library folder by default).
    void setModuleFolders(QStringList folders) { folders_ = std::move(folders); }
    // The first retry's wait (doubled at each failure) and the longest.
    static constexpr int kFirstRetryMs = 5000;
    void setFirstRetryMs(int ms) { firstRetryMs_ = backoffMs_ = ms; }
    static constexpr int kLongestRetryMs = 10 * 60 * 1000;
    // Additions sent in one go.
    static constexpr int kBatch = 200;

    // The PostgreSQL client, loaded on first use; null when it cannot be.
    ClassLink* link();

signals:
    // A send ended (sent, failed or nothing to send).
    void settled();

private:
    void done(const QString& file, const ClassSendResult& r);
    static QString problemText(ClassProblem p, const QString& detail);

    HistoryStore& store_;
    std::function<QString(const QString&)> setting_;
    QStringList folders_;
    QLibrary library_;
    std::unique_ptr<ClassLink> link_;
    bool tried_ = false;
    QTimer retry_;
    int firstRetryMs_ = kFirstRetryMs;
    int backoffMs_ = kFirstRetryMs;
    ClassProblem problem_ = ClassProblem::None;
    QString detail_;
};
