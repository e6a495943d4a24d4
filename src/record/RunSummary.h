#pragma once
#include <QDateTime>
#include <QString>
#include <functional>
#include <map>
#include <utility>

// What one practice run did, handed to the history at the run's save point. Keys are
// virtual-key codes; the expected key of a text character is the key that types it,
// Enter (13) for a line end.
struct RunKeyFigures {
    int expected = 0;   // times this key was the key to type
    int missed = 0;     // wrong keys pressed while it was awaited
    qint64 msTotal = 0; // from the previous accepted key to this key's acceptance
};

struct RunSummary {
    QString mode;        // "lesson", "text", "drill", "weak", "japanese"
    QString source;      // the file name, or the drill's rows
    QDateTime startedAt; // UTC
    QDateTime endedAt;   // UTC
    double seconds = 0;
    qint64 keys = 0;   // what the run added to typedTotal
    qint64 misses = 0; // what the run added to missTotal
    double speed = 0;  // the speed the record stores for the run
    bool completed = false;
    std::map<int, RunKeyFigures> perKey;           // by expected key
    std::map<std::pair<int, int>, int> confusions; // (expected, pressed) -> count
};

// Where finished runs go; the application connects it to the history store.
using RunSink = std::function<void(const RunSummary&)>;
