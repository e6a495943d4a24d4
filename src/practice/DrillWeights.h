#pragma once
#include "WeakKeys.h"

#include <QByteArray>

struct PracticeRecord;

// The drill's weighted draw over the chosen rows.
struct DrillWeights {
    QByteArray chars;               // the chosen rows' characters
    std::vector<double> cumulative; // the draw odds of chars, summed up to 1
    QList<int> noted;               // the keys the prompt names, heaviest first
};

// The fewest keys the recent runs must hold for the chosen rows before they count;
// until then the record's lifetime counts serve.
constexpr qint64 kRecentKeysNeeded = 200;

// The draw for the rows of the mask, from the figures of the recent runs or, while
// those are too few, from the record's counts.
DrillWeights drillWeights(int mask, const KeyFigureMap& recent, const PracticeRecord& record);
// A character drawn with the platform's generator, never the previous one.
char drawWeightedChar(const DrillWeights& weights, char previous);
