#pragma once
#include <QString>

// What one graded test scored, kept with its run in the history.
struct TestResult {
    QString way;    // "letters", "romaji" or "kana"
    int grade = -1; // index on that way's ladder: 0 = 20級, 19 = 1級, 20 = 初段, ...
    QString textId; // rebuilds the exact text the test used
    int rightChars = 0;
    int faults = 0;
    double minutes = 0;  // how long it ran
    double net = 0;      // net characters per minute
    double accuracy = 0; // percent
    bool passed = false;
};
