#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>
#include <map>
#include <vector>

// One key's figures over a span of runs: how often it was pressed right while due (once
// per line end), how often a wrong key came while it was awaited, and the milliseconds
// its timed presses took (a run's first key and a key after a pause have no time).
struct KeyFigures {
    qint64 expected = 0;
    qint64 missed = 0;
    qint64 msTotal = 0;
    qint64 timed = -1; // presses with a time; -1 when not told apart: every press
    qint64 timedPresses() const { return timed < 0 ? expected : timed; }
};

// The miss rate a key's presses bear out: the lower bound of the one-sided 95 % Wilson
// interval of missed / (expected + missed). A key missed 8 times in 10 presses gets 0.54,
// one missed 160 times in 200 gets 0.75: few presses count for less. 0 with no presses.
double missEvidence(qint64 expected, qint64 missed);
// By virtual-key code.
using KeyFigureMap = std::map<int, KeyFigures>;

// How much more often a key should come up than a faultless key of average speed.
//   m = missEvidence(expected, missed)         the miss rate, as far as borne out
//   t = (msTotal / timed) / mean of those      the time against the keys' mean time
//   weight = (1 + 3.75 m) * sqrt(clamp(t, 1/4, 4))
// so a key missed 80 % of the time weighs nearly 4 once it was due a few hundred
// times (3.8 at 200, 3.6 at 50), a faultless one 1, and a key twice as
// slow as the others about 1.4 times its miss weight. Keys without time figures take
// t = 1. A key never due weighs the mean of the keys that were.
std::map<int, double> keyWeights(const std::vector<int>& keys, const KeyFigureMap& figures);

// Up to n keys that type printable characters, heaviest first; only keys that were typed.
QList<int> weakestKeys(const KeyFigureMap& figures, int n);

// The character on a key's cap: its capital letter, digit or unshifted sign.
char capOfKey(int key);
// The note that names the keys a practice is aimed at: "苦手キー: Q @ ;".
QString weakKeyNote(const QList<int>& keys);
