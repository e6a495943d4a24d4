#pragma once
#include "PracticeRecord.h"

#include <cstdint>

// A record whose every field follows from one counter, so that a file holding parts of
// two saves is told apart from a whole one.
namespace pattern {

inline void apply(PracticeRecord& r, std::int32_t n) {
    r.level = n % 3;
    for (int i = 0; i < 10; ++i) r.fingerColors[i] = std::uint32_t(n) * 16u + std::uint32_t(i);
    r.rowSet.bits = std::uint8_t(n & 0x0F);
    r.guideOn = std::uint8_t(n & 1);
    r.typedTotal = n;
    r.reservedCount = -n;
    r.missTotal = n * 7;
    r.textLength = n + 1;
    r.wordCount = n + 2;
    r.runMisses = n + 3;
    r.fastestRate = float(n);
    r.averageRate = float(n) * 0.5f;
    r.currentRate = float(n) * 0.25f;
    for (int k = 0; k < 256; ++k) {
        r.keyStats[k].tries = n + k;
        r.keyStats[k].misses = n ^ k;
    }
}

// True when the record is exactly the pattern of its own typedTotal.
inline bool holds(const PracticeRecord& r) {
    PracticeRecord want = r;
    apply(want, r.typedTotal);
    return want.toBytes() == r.toBytes();
}

} // namespace pattern
