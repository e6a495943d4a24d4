#include "DrillWeights.h"

#include "Drill.h"
#include "KeyTable.h"
#include "Platform.h"
#include "PracticeRecord.h"

#include <algorithm>
#include <cmath>

namespace {

// The record counts a drill's prompts under the character and a text's keys under
// the key; for letters and digits the two are the same entry.
KeyFigureMap recordFigures(const QByteArray& chars, const PracticeRecord& record) {
    KeyFigureMap figures;
    for (const char c : chars) {
        const int key = keyCodeOfChar(c);
        const int own = static_cast<unsigned char>(c);
        KeyFigures& f = figures[key];
        f.expected = record.keyStats[std::size_t(own)].tries;
        f.missed = record.keyStats[std::size_t(own)].misses;
        if (key != own) {
            f.expected += record.keyStats[std::size_t(key)].tries;
            f.missed += record.keyStats[std::size_t(key)].misses;
        }
    }
    return figures;
}

// Odds q to draw with, so that frequencies come out in proportion to the weights w
// although a draw equal to the previous key is drawn again: with that redraw key i
// comes up in proportion to q_i (1 - q_i), so q_i solves q (1 - q) = k w_i with k
// chosen to make the q sum to 1. No key can come up more often than every other
// time; a weight beyond that is held there.
std::vector<double> drawOdds(const std::vector<double>& w) {
    const double wMax = *std::max_element(w.begin(), w.end());
    const auto odds = [&w](double k) {
        std::vector<double> q;
        for (const double wi : w)
            q.push_back((1.0 - std::sqrt(std::max(0.0, 1.0 - 4.0 * k * wi))) / 2.0);
        return q;
    };
    const auto sum = [](const std::vector<double>& q) {
        double s = 0;
        for (const double x : q) s += x;
        return s;
    };
    double lo = 0.0, hi = 1.0 / (4.0 * wMax);
    if (sum(odds(hi)) > 1.0) {
        for (int i = 0; i < 60; ++i) {
            const double mid = (lo + hi) / 2.0;
            (sum(odds(mid)) > 1.0 ? hi : lo) = mid;
        }
    }
    std::vector<double> q = odds(hi);
    const double s = sum(q);
    for (double& x : q) x /= s;
    return q;
}

} // namespace

DrillWeights drillWeights(int mask, const KeyFigureMap& recent, const PracticeRecord& record) {
    DrillWeights d;
    for (int r = 0; r < 4; ++r)
        if (mask & (1 << r)) d.chars += drillRow(r);
    std::vector<int> keys;
    qint64 recentKeys = 0;
    for (const char c : d.chars) {
        keys.push_back(keyCodeOfChar(c));
        const auto it = recent.find(keys.back());
        if (it != recent.end()) recentKeys += it->second.expected;
    }
    const KeyFigureMap figures =
        recentKeys >= kRecentKeysNeeded ? recent : recordFigures(d.chars, record);
    const std::map<int, double> weights = keyWeights(keys, figures);

    std::vector<double> w;
    double mean = 0;
    for (const int key : keys) w.push_back(weights.at(key));
    for (const double x : w) mean += x / double(w.size());
    double running = 0;
    for (const double q : drawOdds(w)) d.cumulative.push_back(running += q);
    d.cumulative.back() = 1.0;

    // The prompt names the few keys clearly above the rows' mean.
    std::vector<int> heavy;
    for (const int key : keys)
        if (weights.at(key) > 1.25 * mean) heavy.push_back(key);
    std::stable_sort(heavy.begin(), heavy.end(),
                     [&weights](int a, int b) { return weights.at(a) > weights.at(b); });
    for (std::size_t i = 0; i < heavy.size() && i < 3; ++i) d.noted.append(heavy[i]);
    return d;
}

char drawWeightedChar(const DrillWeights& weights, char previous) {
    Platform& platform = Platform::get();
    for (;;) {
        // Two values of 15 bits make one fraction of 30.
        const int high = platform.random();
        const int low = platform.random();
        const double u = (double(high) * 32768.0 + double(low)) / (32768.0 * 32768.0);
        const auto it = std::upper_bound(weights.cumulative.begin(), weights.cumulative.end(), u);
        const auto i =
            std::min<qsizetype>(it - weights.cumulative.begin(), weights.chars.size() - 1);
        if (weights.chars[i] != previous) return weights.chars[i];
    }
}
