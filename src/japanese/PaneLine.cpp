#include "PaneLine.h"

namespace {

// The least of the keys that must show beside the reading.
constexpr qsizetype kKeysShown = 12;
constexpr QChar kGap = u'　';
constexpr QChar kCut = u'…';

} // namespace

PaneLine paneLine(const QString& reading, const QString& remainingReading, const QString& keys,
                  const std::function<bool(const QString&)>& fits) {
    if (fits(reading + kGap + keys)) return {reading + kGap + keys, int(reading.size()) + 1};
    if (fits(remainingReading + kGap + keys))
        return {remainingReading + kGap + keys, int(remainingReading.size()) + 1};
    // The reading cut at its end, to what leaves room for the next keys.
    const QString next = keys.left(kKeysShown);
    QString head = remainingReading;
    if (!fits(head + kGap + next)) {
        while (!head.isEmpty() && !fits(head + kCut + kGap + next)) head.chop(1);
        if (!head.isEmpty()) head += kCut;
    }
    return {head + kGap + keys, int(head.size()) + 1};
}
