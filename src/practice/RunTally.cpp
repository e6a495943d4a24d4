#include "RunTally.h"

#include "Platform.h"
#include "PracticeRecord.h"

namespace {
QDateTime utcNow() {
    return QDateTime::fromMSecsSinceEpoch(Platform::get().calendarMs(), Qt::UTC);
}
} // namespace

void RunTally::begin(const PracticeRecord& record, const QString& mode, const QString& source) {
    s_ = RunSummary{};
    s_.mode = mode;
    s_.source = source;
    s_.startedAt = utcNow();
    typedAtStart_ = record.typedTotal;
    missedAtStart_ = record.missTotal;
    lastMs_ = Platform::get().clockMs();
    keyed_ = false;
    active_ = true;
}

void RunTally::accept(int vk, int count) {
    if (!active_) return;
    const qint64 now = Platform::get().clockMs();
    RunKeyFigures& k = s_.perKey[vk];
    k.expected += count;
    // One press, however many characters it passes.
    if (keyed_ && now - lastMs_ <= kPauseMs) {
        k.msTotal += now - lastMs_;
        k.timed += 1;
    }
    keyed_ = true;
    lastMs_ = now;
}

void RunTally::miss(int expectedVk, int pressedVk, ShiftSlip shift) {
    if (!active_) return;
    s_.perKey[expectedVk].missed += 1;
    s_.confusions[{expectedVk, pressedVk, shift}] += 1;
}

bool RunTally::finish(const PracticeRecord& record, double seconds, double speed, bool completed,
                      RunSummary& out) {
    if (!active_) return false;
    active_ = false;
    s_.endedAt = utcNow();
    s_.seconds = seconds;
    s_.speed = speed;
    s_.completed = completed;
    // The record's 32-bit totals may wrap; the run's share is what changed.
    s_.keys = qint64(qint32(quint32(record.typedTotal) - quint32(typedAtStart_)));
    s_.misses = qint64(qint32(quint32(record.missTotal) - quint32(missedAtStart_)));
    out = std::move(s_);
    return true;
}
