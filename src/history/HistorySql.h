#pragma once
#include "HistoryTypes.h"
#include "Outbox.h"
#include "RunSummary.h"

#include <QSqlDatabase>
#include <QSqlQuery>

// The SQL behind HistoryStore, kept apart from its fault handling.
namespace historysql {

// The version whose step added the runs' UUIDs and the class's outbox.
inline constexpr int kOutboxVersion = 7;

// The columns of runs, in the order the queries read them (runOf) and the CSV shows them.
inline constexpr char kRunColumns[] =
    "id, started_at, ended_at, mode, source, seconds, keys, misses, speed, completed";
// The columns of runs a HistoryRun is read from (runOf) in a history of that version:
// kRunColumns, then the rhythm (NULL before it was kept).
QString runColumns(int version);
// The columns of run_keys a HistoryKey is read from, in a history of that version, in
// the order keyOf takes them: one row's, or (sums) summed over many rows.
QString keyColumns(int version, bool sums);
// The key read from the columns of keyColumns, the first of them at `first`.
HistoryKey keyOf(const QSqlQuery& q, int first = 0);
// Whether Shift was wrong in a confusion of a history of that version. Before the column
// was added, a key paired with itself could only be a left-out Shift.
QString shiftWrong(int version);

enum class Check { Whole, Damaged, Busy, Failed };
// Checks an open database: Damaged for a file that is no SQLite database or, with
// full (quick_check, which reads every page), whose pages do not hold together; Busy
// when another connection's lock kept it from reading; Failed when it could not be
// read at all.
Check check(QSqlDatabase& db, bool full);
// Leaves the journal as it is when the connection closes. Folding it into the file
// there would cost two disk flushes at the end of every run; it is folded in as it
// grows, and by outside readers when they close.
void keepJournalOnClose(QSqlDatabase& db);
// True for an error that only says another connection holds the file.
bool isBusy(const QSqlError& e);
// True for an error that says the file is damaged or no database.
bool isDamage(const QSqlError& e);
// Folds what the journal beside a closed history holds into the file itself and takes
// the journal away, so the file is whole on its own: Whole when done (or there is no
// database to fold into), Busy when another connection keeps it from it.
Check foldJournal(const QString& path, int busyTimeoutMs);
// Copies the runs of the damaged history at oldPath that can still be read, with their
// keys and confusions, its settings and its course steps into db (a new history of the
// current schema), stepping over the damaged pages. fixed: the file changes no more
// (it was put aside), so reading it needs no journal beside it. Returns how many runs
// were copied.
qint64 salvage(QSqlDatabase& db, const QString& oldPath, bool fixed);
// The columns of test_results, in the order RunWriter writes them and testOf reads them.
inline constexpr char kTestColumns[] =
    "run_id, way, grade, text_id, right_chars, faults, minutes, net, accuracy, passed";
// The result read from the columns of kTestColumns after run_id, the first at `first`.
TestResult testOf(const QSqlQuery& q, int first = 0);
// True when runs, run_keys and confusions have every column this program reads.
bool hasColumns(QSqlDatabase& db);
// Times as stored: ISO 8601 in UTC with milliseconds.
QString isoTime(const QDateTime& t);
QDateTime fromIsoTime(const QString& s);

// Puts one addition for the class's server in the outbox, inside the caller's transaction.
bool queue(QSqlDatabase& db, const QString& kind, const QJsonArray& params);

// Inserts runs with their keys and confusions, inside the caller's transaction.
class RunWriter {
public:
    // queue: each run also goes into the outbox for the class's server.
    explicit RunWriter(QSqlDatabase& db, bool queue = false);
    bool prepared() const { return prepared_; }
    bool write(const RunSummary& run);

private:
    QSqlQuery run_, key_, confusion_, strokes_, test_, uuid_, outbox_;
    bool prepared_ = false;
    bool queue_ = false;
};

} // namespace historysql
