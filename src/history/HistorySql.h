#pragma once
#include "RunSummary.h"

#include <QSqlDatabase>
#include <QSqlQuery>

// The SQL behind HistoryStore, kept apart from its fault handling.
namespace historysql {

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
// Copies the runs of the damaged history at oldPath that can still be read, with their
// keys and confusions, and its settings, into db (a new history of the current
// schema), stepping over the damaged pages. Returns how many runs were copied.
qint64 salvage(QSqlDatabase& db, const QString& oldPath);
// True when runs, run_keys and confusions have every column this program reads.
bool hasColumns(QSqlDatabase& db);
// Times as stored: ISO 8601 in UTC with milliseconds.
QString isoTime(const QDateTime& t);
QDateTime fromIsoTime(const QString& s);

// Inserts runs with their keys and confusions, inside the caller's transaction.
class RunWriter {
public:
    explicit RunWriter(QSqlDatabase& db);
    bool prepared() const { return prepared_; }
    bool write(const RunSummary& run);

private:
    QSqlQuery run_, key_, confusion_;
    bool prepared_ = false;
};

} // namespace historysql
