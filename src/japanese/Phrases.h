#pragma once
#include "MecabReader.h"

#include <QString>
#include <vector>

// A stretch typed in one go: a word with the particles and endings that follow it, or
// the text up to punctuation. start and end are columns of the source line.
struct Phrase {
    QString written;
    QString reading; // kana, punctuation and ASCII to type
    int start = 0;
    int end = 0;
    qint64 line = 0; // the byte where the source line starts in its file
    int skipped = 0; // phrases in it shown but not typed: a kanji with no reading
};

struct LinePhrases {
    std::vector<Phrase> phrases;
    bool leftOut = false; // text needing a dictionary was left out for want of one
};

// The phrases of one line of e-text. reader is asked only when the line holds kanji
// outside ruby; when it is unavailable such text is left out. A word the dictionary
// has no reading for is read kanji by kanji; a phrase still holding a kanji without a
// reading is kept in the text with nothing to type and counted as skipped.
LinePhrases phrasesOfLine(QStringView line, ReadingSource& reader);
