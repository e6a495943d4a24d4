#pragma once
#include "HistoryTypes.h"
#include "Outbox.h"
#include "RunSummary.h"
#include "WaitingFile.h"

#include <QObject>
#include <QSqlDatabase>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

inline constexpr char kHistoryFileName[] = "Velotap.db";

// The run history: Velotap.db beside the record, in the working folder of the moment.
// The file is open only while it is used: a write opens it and closes it after, reads
// close it once the event loop runs again. A descriptor of the file opened and closed
// elsewhere in the process (the file dialog looks into every file) drops the process's
// locks on it, so a connection kept open would go on writing into a journal that an
// outside reader has meanwhile folded in and deleted.
// Failures never stop practice and never hold the window for long: what meets another
// program's lock (runs, settings, course steps) is kept in a file beside the history
// (see WaitingFile.h) and taken in by the next write to it, of this session or a later
// one; a run that cannot be written at all is dropped and said once per session; a
// damaged file, found so by a write or a read, is put aside and its readable runs
// carried into a new one (where it cannot be, what can be read of it is shown); a file
// from a newer program, or one in a folder that takes no writes, is only read. Messages
// go through the platform's message box.
class HistoryStore : public HistoryReader {
public:
    static constexpr int kVersion = 7; // PRAGMA user_version of the schema written here
    // The most the end of the program waits for another program holding the history.
    static constexpr int kExitWaitMs = 300;

    HistoryStore();
    ~HistoryStore() override;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Adds one run in one transaction; false when it was dropped. A run that meets
    // another program's lock counts as added: it waits (see pendingRuns).
    bool append(const RunSummary& run);
    // Adds many runs in one transaction (preparing large histories).
    bool appendAll(const std::vector<RunSummary>& runs);

    qint64 runCount() override;
    QList<HistoryRun> lastRuns(int n) override;
    QList<HistoryDay> days() override;
    QList<HistoryKey> keyFigures(int lastRuns) override;
    bool exportCsv(const QString& path) override;
    bool clear() override;
    QString setting(const QString& key, const QString& fallback = QString()) override;
    void setSetting(const QString& key, const QString& value) override;
    QString cannotRead() override { return cannotRead_; }
    QString cannotWrite() override;
    QList<CourseStep> courseSteps(const QString& track) override;
    bool addCourseStep(const QString& track, int unlocked) override;
    QList<QList<HistoryKey>> courseRunKeys(const QString& track, int lastRuns) override;
    QByteArray paceStrokes(const QString& mode, const QString& source, PaceRun which) override;
    QList<HistoryTest> testResults(const QString& way) override;
    QMap<QDate, double> dailySeconds(const QDate& from, const QDate& to) override;

    // With queueing on, every run and course step written is also put in the outbox
    // for the class's server (the application turns it on when a class is set).
    void setQueueing(bool on) { queueing_ = on; }
    // What waits to be sent, oldest first, at most max rows; the file they are in is
    // where unqueue takes them out.
    std::vector<OutboxItem> queued(int max, QString* file = nullptr);
    qint64 queuedCount();
    // Takes rows that the server has from the outbox of file; false when the history
    // could not be written now (they are sent again, which keeps one copy).
    bool unqueue(const QString& file, const std::vector<qint64>& ids);

    // How long one use waits for another program holding the file.
    void setBusyTimeoutMs(int ms) { busyTimeoutMs_ = ms; }
    bool isOpen() const { return db_.isOpen(); }
    bool readOnly() const { return readOnly_; }
    // Closes the file; the next use opens it again.
    void close();
    // Runs of this session waiting for another program to let go of their file (the
    // history of the working folder they were made in).
    int pendingRuns() const;
    // True when the last run added waits for the history instead of being in it.
    bool lastRunWaits() const { return lastRunWaits_; }
    // Writes what is waiting, giving the other program up to waitMs in all; what waits
    // beside the history stays there for the next session, and a message says what
    // could be kept nowhere. For the end of the program.
    void finish(int waitMs);

private:
    enum class Use { Read, Write };
    enum class Outcome { Written, Held, Dropped };
    // The database of the current working folder, opened when needed; false when it
    // cannot serve this use (then the caller does nothing).
    bool ready(Use use);
    bool open(const QString& path);
    bool openReadOnly(const QString& path);
    QString putAside(const QString& path);
    // Begins a new history at path after the damaged one was put aside, carrying over
    // what can still be read from it, and says so.
    bool startOver(const QString& path, const QString& aside);
    // The file at path (closed) was found damaged: put aside and begun anew where the
    // folder takes writes; false otherwise, and damaged_ tells whether it stays damaged.
    bool replaceDamaged(const QString& path);
    // Serves reads of the damaged file at path from a copy in memory of what can still be
    // read of it, and says so.
    bool readInMemory(const QString& path);
    // Runs body's queries on the working folder's history; a read that meets a damaged
    // page has the file put aside (or read in memory) and is made once more. False when
    // the history could not be read.
    bool read(const std::function<bool(QSqlQuery&)>& body);
    bool readVersion();
    bool prepareForWriting();
    bool exec(const QString& sql);
    // What one write adds.
    struct Batch {
        std::vector<const RunSummary*> runs;
        std::vector<std::pair<QString, QString>> settings;
        std::vector<waiting::Entry> steps;
        bool empty() const { return runs.empty() && settings.empty() && steps.empty(); }
    };
    // What this session knows waits for one history: in memory what its waiting file
    // could not take, and how many of its runs wait in that file.
    struct Waiting {
        std::vector<RunSummary> runs;
        std::map<QString, QString> settings;
        std::vector<waiting::Entry> steps;
        int runsInFile = 0;
    };
    // Writes the batch to the working folder's history, and what waits to each history
    // it waits for; Held when any of it still waits.
    Outcome write(const Batch& batch);
    // Writes what waits for file with the batch in one transaction, and closes.
    Outcome writeTo(const QString& file, const Batch& batch);
    // Within a write transaction: what waits beside the file and in memory, then the
    // batch; runs and course steps only with withRuns (a history being cleared takes
    // only the settings). Notes the last waiting entry taken in.
    bool writeWaiting(const waiting::Contents& beside, const Waiting* mine, const Batch& batch,
                      bool withRuns);
    // What waits for the current working folder's history, for reading.
    std::vector<waiting::Entry> waitingHere();
    // The runs among it, oldest first, with this session's that wait in memory.
    std::vector<RunSummary> waitingRuns();
    QString takenMark();
    static QString currentFile();
    void writeFailed(const QString& why);
    // A message for the user, shown once the file is closed: a box's event loop would
    // otherwise let this moment's end close the file under the use still going on.
    void say(const QString& text);
    void endOfMoment();

    QSqlDatabase db_;
    QString connection_;
    QString path_;
    int busyTimeoutMs_ = 200;
    bool readOnly_ = false;
    bool readable_ = true;
    QString readOnlyWhy_;
    QString checkedPath_;  // the file whose quick_check passed this session
    bool damaged_ = false; // the file found damaged could not be put aside
    QString damagedSeen_;  // how the damaged file last read in memory stood
    QString damagedSaid_;  // the damaged file said so this session
    int version_ = 0;
    bool busy_ = false;     // the last statement met another program's lock
    bool readHeld_ = false; // this moment's reads found the file held: the rest do not wait
    QString cannotRead_;
    QStringList notices_;                // said at the next close
    std::map<QString, Waiting> waiting_; // by history file
    QString target_;                     // the file a write goes to; empty: the working folder's
    QTimer retry_;
    QObject moment_; // context of the call that closes the file after this moment's reads
    bool momentQueued_ = false;
    bool writing_ = false; // a retry waits while a write shows a message
    bool lastRunWaits_ = false;
    bool writeFailSaid_ = false;
    bool newerSaid_ = false;
    bool queueing_ = false;
};
