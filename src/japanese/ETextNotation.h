#pragma once
#include <QString>
#include <vector>

// A stretch of one line of e-text: plain text, or a ruby base with its reading.
// Plain text is the line's own characters from rawStart; a ruby stretch ends at
// rawEnd, after its 《reading》.
struct NotationPiece {
    QString text;
    QString ruby; // empty for plain text
    int rawStart = 0;
    int rawEnd = 0;
};

// A line of e-text notation read: base《reading》 ruby (the base runs back to a ｜,
// or else over the characters of the same kind before 《), ［＃…］ notes dropped.
std::vector<NotationPiece> parseNotation(QStringView line);
// Whether a line is one of the hyphen rules framing the notation explanation.
bool isNotationRule(QStringView line);
