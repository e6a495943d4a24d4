#pragma once
#include <QByteArray>
#include <array>
#include <cstdint>

// The drill rows a record can hold, element e at bit e:
// 0 number row, 1 A row, 2 Q row, 3 Z row.
struct RowSet {
    std::uint8_t bits = 0;
    void clear() { bits = 0; }
    void include(int e) {
        if (e >= 0 && e <= 3) bits = std::uint8_t(bits | (1u << e));
    }
    bool contains(int e) const { return e >= 0 && e <= 3 && (bits >> e) & 1u; }
};

enum RowElement { rowNumber = 0, rowA = 1, rowQ = 2, rowZ = 3 };

struct KeyStat {
    std::int32_t tries = 0;
    std::int32_t misses = 0;
};

// Settings, colours and statistics, stored as one 2136-byte little-endian image.
struct PracticeRecord {
    static constexpr int kSize = 2136;
    static constexpr int kKeyStatsOffset = 88;

    std::int32_t level = 0;
    std::array<std::uint8_t, 4> reserved{};
    std::array<std::uint32_t, 10> fingerColors{};
    RowSet rowSet;
    std::uint8_t guideOn = 0;
    std::array<std::uint8_t, 2> padding{};
    std::int32_t typedTotal = 0;
    std::int32_t reservedCount = 0;
    std::int32_t missTotal = 0;
    std::int32_t textLength = 0;
    std::int32_t wordCount = 0;
    std::int32_t runMisses = 0;
    float fastestRate = 0.0f;
    float averageRate = 0.0f;
    float currentRate = 0.0f;
    std::array<KeyStat, 256> keyStats{};

    QByteArray toBytes() const;
    // Fills every field from a 2136-byte image.
    void fromBytes(const QByteArray& image);

    // Counters, speeds and per-key statistics to zero; settings and colours stay.
    void resetStatistics();
    // The settings a new user starts with, then a statistics reset.
    void applyDefaults();
    // A timed run's speed (typed per second) merged into the current, average and
    // fastest speeds, and its keys into typedTotal.
    void addRunSpeed(qint64 typed, int seconds);
};
