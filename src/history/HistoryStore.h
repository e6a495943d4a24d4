#pragma once
#include "HistoryTypes.h"
#include "RunSummary.h"

#include <QSqlDatabase>
#include <vector>

inline constexpr char kHistoryFileName[] = "Velotap.db";

// The run history: Velotap.db beside the record, in the working folder of the moment.
// Nothing is opened until a run is added or something is read. Failures never stop
// practice: a run that cannot be written is dropped and said once per session; a
// damaged file is put aside and a new one started; a file from a newer program is only
// read. Messages go through the platform's message box.
class HistoryStore : public HistoryReader {
public:
    static constexpr int kVersion = 3; // PRAGMA user_version of the schema written here

    HistoryStore();
    ~HistoryStore() override;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Adds one run in one transaction; false when it was dropped.
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
    QList<CourseStep> courseSteps(const QString& track) override;
    bool addCourseStep(const QString& track, int unlocked) override;
    QList<QList<HistoryKey>> courseRunKeys(const QString& track, int lastRuns) override;

    // How long a write waits for another program holding the file.
    void setBusyTimeoutMs(int ms) { busyTimeoutMs_ = ms; }
    bool isOpen() const { return db_.isOpen(); }
    bool readOnly() const { return readOnly_; }
    // Closes the file; the next use opens it again.
    void close();

private:
    enum class Use { Read, Write };
    // The database of the current working folder, opened when needed; false when it
    // cannot serve this use (then the caller does nothing).
    bool ready(Use use);
    bool open(const QString& path);
    bool putAside(const QString& path);
    bool readVersion();
    bool prepareForWriting();
    bool hasColumns();
    bool exec(const QString& sql);
    bool insertRun(const RunSummary& run);
    bool writeRuns(const std::vector<const RunSummary*>& runs);
    void writeFailed();

    QSqlDatabase db_;
    QString connection_;
    QString path_;
    int busyTimeoutMs_ = 3000;
    bool readOnly_ = false;
    bool readable_ = true;
    bool checked_ = false; // quick_check passed since the file was opened
    int version_ = 0;
    bool writeFailSaid_ = false;
    bool newerSaid_ = false;
};
