#include "RunTally.h"

#include "Platform.h"
#include "PracticeRecord.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

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
    beganMs_ = lastMs_;
    keyed_ = false;
    active_ = true;
}

void RunTally::keep(qint64 now, int pressedVk, bool shift, bool right) {
    s_.keystrokes.push_back({std::max<qint64>(0, now - beganMs_), pressedVk & 0xFF, shift, right});
}

void RunTally::accept(int vk, int pressedVk, bool shift, int count) {
    if (!active_) return;
    const qint64 now = Platform::get().clockMs();
    keep(now, pressedVk, shift, true);
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

void RunTally::miss(int expectedVk, int pressedVk, bool shift, ShiftSlip slip) {
    if (!active_) return;
    keep(Platform::get().clockMs(), pressedVk, shift, false);
    s_.perKey[expectedVk].missed += 1;
    s_.confusions[{expectedVk, pressedVk, slip}] += 1;
}

std::optional<double> RunTally::rhythm(const std::vector<Keystroke>& keys) {
    double sum = 0, squares = 0;
    int n = 0;
    std::optional<qint64> before;
    for (const Keystroke& k : keys) {
        if (!k.right) continue;
        if (before && k.ms - *before <= kPauseMs) {
            const double gap = double(k.ms - *before);
            sum += gap;
            squares += gap * gap;
            ++n;
        }
        before = k.ms;
    }
    if (n < 2 || sum <= 0) return std::nullopt;
    const double mean = sum / n;
    const double sigma = std::sqrt(std::max(0.0, squares / n - mean * mean));
    return std::clamp(100.0 * (1.0 - sigma / mean), 0.0, 100.0);
}

QString RunTally::rhythmNote(const std::optional<double>& rhythm) {
    if (!rhythm) return QString();
    return QCoreApplication::translate("RunTally", "　リズム%1").arg(std::lround(*rhythm));
}

bool RunTally::finish(const PracticeRecord& record, double seconds, double speed, bool completed,
                      RunSummary& out) {
    if (!active_) return false;
    active_ = false;
    s_.endedAt = utcNow();
    s_.seconds = seconds;
    s_.speed = speed;
    s_.completed = completed;
    s_.rhythm = rhythm(s_.keystrokes);
    // The record's 32-bit totals may wrap; the run's share is what changed.
    s_.keys = qint64(qint32(quint32(record.typedTotal) - quint32(typedAtStart_)));
    s_.misses = qint64(qint32(quint32(record.missTotal) - quint32(missedAtStart_)));
    out = std::move(s_);
    return true;
}
