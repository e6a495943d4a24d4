#include "WeakKeys.h"

#include "KeyTable.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

double missEvidence(qint64 expected, qint64 missed) {
    const double n = double(std::max<qint64>(0, expected) + std::max<qint64>(0, missed));
    if (n <= 0) return 0.0;
    const double p = std::max<qint64>(0, missed) / n;
    constexpr double z = 1.645, z2 = z * z;
    const double low =
        (p + z2 / (2 * n) - z * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n))) / (1 + z2 / n);
    return std::clamp(low, 0.0, 1.0);
}

std::map<int, double> keyWeights(const std::vector<int>& keys, const KeyFigureMap& figures) {
    const auto typed = [&figures](int key) -> const KeyFigures* {
        const auto it = figures.find(key);
        return it != figures.end() && (it->second.expected > 0 || it->second.missed > 0)
                   ? &it->second
                   : nullptr;
    };
    double timeSum = 0;
    int timed = 0;
    for (const int key : keys) {
        if (const KeyFigures* f = typed(key); f && f->timedPresses() > 0 && f->msTotal > 0) {
            timeSum += double(f->msTotal) / double(f->timedPresses());
            ++timed;
        }
    }
    const double meanTime = timed > 0 ? timeSum / timed : 0.0;

    std::map<int, double> weights;
    double seenSum = 0;
    int seen = 0;
    for (const int key : keys) {
        const KeyFigures* f = typed(key);
        if (!f) continue;
        const double m = missEvidence(f->expected, f->missed);
        double t = 1.0;
        if (meanTime > 0 && f->timedPresses() > 0 && f->msTotal > 0)
            t = std::clamp(double(f->msTotal) / double(f->timedPresses()) / meanTime, 0.25, 4.0);
        const double w = (1.0 + 3.75 * m) * std::sqrt(t);
        weights[key] = w;
        seenSum += w;
        ++seen;
    }
    const double average = seen > 0 ? seenSum / seen : 1.0;
    for (const int key : keys) weights.try_emplace(key, average);
    return weights;
}

char capOfKey(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return char(key);
    for (char c = '!'; c < '~'; ++c)
        if (punctuationKeyCode(c) == key) return c;
    return '\0';
}

QList<int> weakestKeys(const KeyFigureMap& figures, int n) {
    std::vector<int> keys;
    for (const auto& [key, f] : figures)
        if ((f.expected > 0 || f.missed > 0) && capOfKey(key) != '\0') keys.push_back(key);
    const std::map<int, double> weights = keyWeights(keys, figures);
    std::stable_sort(keys.begin(), keys.end(),
                     [&weights](int a, int b) { return weights.at(a) > weights.at(b); });
    if (int(keys.size()) > n) keys.resize(std::size_t(n));
    return QList<int>(keys.begin(), keys.end());
}

QString weakKeyNote(const QList<int>& keys) {
    QString note = QCoreApplication::translate("WeakKeys", "苦手キー:");
    for (const int key : keys)
        note += QLatin1Char(' ') +
                (key == 16 ? QStringLiteral("Shift") : QString(QLatin1Char(capOfKey(key))));
    return note;
}
