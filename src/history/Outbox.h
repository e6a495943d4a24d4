#pragma once
#include "RunSummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QString>
#include <vector>

// What waits in the local history to go to the class's server: one row an addition, its
// statement's parameters kept as the server takes them, so the row goes as it was made
// whatever becomes of the local runs since (cleared, put aside, carried over).
struct OutboxItem {
    qint64 id = 0;
    QString kind;      // "run", "step" or "test"
    QJsonArray params; // strings, or null for a NULL
};

namespace outbox {
// The parameters of a run's addition (see the class server's contract): its UUID first.
QJsonArray runParams(const RunSummary& run, const QString& uuid);
// A graded test's result, sent after its run.
QJsonArray testParams(const TestResult& t, const QString& runUuid);
QJsonArray stepParams(const QString& track, int unlocked, const QDateTime& at);
QByteArray encode(const QJsonArray& params);
QJsonArray decode(const QByteArray& text);
} // namespace outbox
