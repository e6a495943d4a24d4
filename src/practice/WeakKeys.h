#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>
#include <map>
#include <vector>

// One key's figures over a span of runs: how often it was the key to type, how often a
// wrong key came while it was awaited, and the milliseconds it took in all.
struct KeyFigures {
    qint64 expected = 0;
    qint64 missed = 0;
    qint64 msTotal = 0;
};
// By virtual-key code.
using KeyFigureMap = std::map<int, KeyFigures>;

// How much more often a key should come up than a faultless key of average speed.
//   m = min(1, missed / expected)              the miss rate
//   t = (msTotal / expected) / mean of those   the time against the keys' mean time
//   weight = (1 + 3.75 m) * sqrt(clamp(t, 1/4, 4))
// so a key missed 80 % of the time weighs 4, a faultless one 1, and a key twice as
// slow as the others about 1.4 times its miss weight. Keys without time figures take
// t = 1. A key never typed weighs the mean of the keys that were.
std::map<int, double> keyWeights(const std::vector<int>& keys, const KeyFigureMap& figures);

// Up to n keys that type printable characters, heaviest first; only keys that were typed.
QList<int> weakestKeys(const KeyFigureMap& figures, int n);

// The character on a key's cap: its capital letter, digit or unshifted sign.
char capOfKey(int key);
// The note that names the keys a practice is aimed at: "苦手キー: Q @ ;".
QString weakKeyNote(const QList<int>& keys);
