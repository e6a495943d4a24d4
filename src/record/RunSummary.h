#pragma once
#include "Keystrokes.h"
#include "TestResult.h"

#include <QDateTime>
#include <QString>
#include <compare>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// What one practice run did, handed to the history at the run's save point. Keys are
// virtual-key codes; the expected key of a text character is the key that types it,
// Enter (13) for a line end.
struct RunKeyFigures {
    int expected = 0;   // times this key was the key to type
    int missed = 0;     // wrong keys pressed while it was awaited
    qint64 msTotal = 0; // from the previous accepted key to this key's acceptance
    int timed = 0; // presses whose time counts in msTotal (not a run's first, nor after a pause)
};

// A wrong key against the key that was due. Shift tells whether the Shift state was
// wrong too; a press of the due key itself with the wrong Shift state is a Shift slip.
enum class ShiftSlip { None = 0, Missing = 1, Extra = 2 };
// The slip of a wrong key pressed with or without Shift, when Shift was due or not.
inline ShiftSlip shiftSlip(bool pressed, bool due) {
    return pressed == due ? ShiftSlip::None : due ? ShiftSlip::Missing : ShiftSlip::Extra;
}
struct Confusion {
    int expected = 0;
    int typed = 0;
    ShiftSlip shift = ShiftSlip::None;
    auto operator<=>(const Confusion&) const = default;
};

struct RunSummary {
    QString mode;        // "lesson", "text", "drill", "weak", "japanese", "test"
    QString source;      // the file name, the drill's rows, or a test's way/grade
    QDateTime startedAt; // UTC
    QDateTime endedAt;   // UTC
    double seconds = 0;
    qint64 keys = 0;   // what the run added to typedTotal
    qint64 misses = 0; // what the run added to missTotal
    double speed = 0;  // the speed the record stores for the run
    bool completed = false;
    std::map<int, RunKeyFigures> perKey;           // by expected key
    std::map<Confusion, int> confusions;           // -> count
    std::vector<Keystroke> keystrokes;             // every key pressed, right or wrong, in order
    std::optional<double> rhythm = std::nullopt;   // evenness 0..100; none without two intervals
    std::optional<TestResult> test = std::nullopt; // a graded test's score (mode "test")
};

// Where finished runs go; the application connects it to the history store.
using RunSink = std::function<void(const RunSummary&)>;
