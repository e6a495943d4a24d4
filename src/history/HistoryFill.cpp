#include "HistoryFill.h"

#include "HistoryStore.h"

#include <QRandomGenerator>
#include <vector>

namespace {

constexpr char kKeys[] = "ASDFGHJKLQWERTYUIOPZXCVBNM1234567890";

RunSummary madeUpRun(QRandomGenerator& rnd, int i, int n, int runsPerDay) {
    static const QDateTime first(QDate(2026, 1, 5), QTime(7, 0), Qt::UTC);
    RunSummary r;
    const int pick = int(rnd.bounded(10));
    r.mode = pick < 4   ? QStringLiteral("drill")
             : pick < 8 ? QStringLiteral("lesson")
                        : QStringLiteral("text");
    r.source = r.mode == QLatin1String("drill")    ? QStringLiteral("A Q")
               : r.mode == QLatin1String("lesson") ? QStringLiteral("Lesson%1.txt").arg(1 + i % 3)
                                                   : QStringLiteral("memo.txt");
    const int day = i / runsPerDay;
    const int slot = i % runsPerDay;
    r.startedAt = first.addDays(day).addSecs(qint64(slot) * 86'000 / runsPerDay);
    // Faster as the months go by, with some scatter.
    const double speed = 1.2 + 3.0 * i / qMax(1, n) + rnd.bounded(0.8);
    const int keyCount = r.mode == QLatin1String("drill") ? 50 : 200 + int(rnd.bounded(600));
    const int distinct = 20 + int(rnd.bounded(16));
    for (int k = 0; k < keyCount; ++k) {
        const int vk = kKeys[rnd.bounded(distinct)];
        RunKeyFigures& f = r.perKey[vk];
        f.expected += 1;
        f.msTotal += qint64(1000.0 / speed * (0.5 + rnd.bounded(1.0)));
        f.timed += 1;
        // Misses are rarer on the home row and later on.
        if (rnd.bounded(1000) < (vk < 'A' ? 80 : 40) - 30 * i / qMax(1, n)) {
            f.missed += 1;
            // The key itself stands for a left-out Shift.
            const int typed = kKeys[rnd.bounded(int(sizeof kKeys) - 1)];
            r.confusions[{vk, typed, typed == vk ? ShiftSlip::Missing : ShiftSlip::None}] += 1;
            r.misses += 1;
        }
    }
    r.keys = keyCount;
    r.seconds = keyCount / speed;
    r.speed = float(keyCount / r.seconds);
    r.endedAt = r.startedAt.addMSecs(qint64(r.seconds * 1000));
    r.completed = rnd.bounded(5) != 0;
    return r;
}

} // namespace

bool fillHistory(HistoryStore& store, int n, quint32 seed, int runsPerDay) {
    QRandomGenerator rnd(seed);
    const int perDay = qMax(1, runsPerDay);
    std::vector<RunSummary> batch;
    for (int i = 0; i < n;) {
        batch.clear();
        for (int j = 0; j < 5000 && i < n; ++j, ++i) batch.push_back(madeUpRun(rnd, i, n, perDay));
        if (!store.appendAll(batch)) return false;
    }
    return true;
}
