#pragma once
#include "RunSummary.h"

struct PracticeRecord;

// Counts what one run does for the history: each accepted key with the time since the
// key before it, each wrong key with the key that was awaited, and every key pressed,
// in order, with its time since the run began. Keys and misses are what the run added
// to the record's totals. The run's first key has no key before it (its time is the
// start prompts and the learner's getting ready), and a key after a pause is not a
// key's time either: neither adds to a key's time.
class RunTally {
public:
    // The longest gap between two keys that still counts as typing.
    static constexpr qint64 kPauseMs = 2000;

    // Starts a run now (the platform's clock and calendar).
    void begin(const PracticeRecord& record, const QString& mode, const QString& source);
    // The awaited key vk was typed, by pressing pressedVk (Enter's place may take Space);
    // count > 1 when it passes several characters at once.
    void accept(int vk, int pressedVk, bool shift, int count = 1);
    void miss(int expectedVk, int pressedVk, bool shift, ShiftSlip slip = ShiftSlip::None);
    // Ends the run; false when none was begun or it was already ended.
    bool finish(const PracticeRecord& record, double seconds, double speed, bool completed,
                RunSummary& out);
    bool active() const { return active_; }

    // How evenly the right keys came: 100 × (1 − σ/μ) of the times between consecutive
    // right keys, pauses (longer than kPauseMs) left out, within 0..100; none with fewer
    // than two such times.
    static std::optional<double> rhythm(const std::vector<Keystroke>& keys);
    // The rhythm as the end of a run shows it beside the speed ("  リズム87"); empty for none.
    static QString rhythmNote(const std::optional<double>& rhythm);

private:
    void keep(qint64 now, int pressedVk, bool shift, bool right);

    RunSummary s_;
    qint64 typedAtStart_ = 0;
    qint64 missedAtStart_ = 0;
    qint64 lastMs_ = 0;
    qint64 beganMs_ = 0;
    bool keyed_ = false; // a key was accepted: the next one has a time
    bool active_ = false;
};
