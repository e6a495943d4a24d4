#pragma once
#include "Grades.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// How a test's text is made. A band's file (lessons/grades/<band>.pool) holds frames,
// lines with {slot} marks, and pools of words for the slots. Every way of filling a
// frame is one line of the band. A text takes its lines from the frames in turn; each
// frame's lines are numbered 0 .. its count-1, and each week (and each of its attempts)
// takes the next block of numbers from every frame, each number mixed through a fixed
// permutation of the frame's lines before it is spelled out. So a week's lines differ
// from the lines of every other week until a frame's numbers run round, after
// count / (kAttempts * frame's block) weeks: a band takes no frame that runs round within
// five weeks (kWeeksLeast), and most of the shipped frames last far more than a year.
namespace grades {

// Numbers a week takes per attempt, and attempts a week has before a test gives up.
inline constexpr int kBlockLines = 400;
inline constexpr int kAttempts = 3;
// Weeks a frame's lines must last, at least, so that none comes back within four weeks.
inline constexpr int kWeeksLeast = 5;

struct Band {
    QString name;
    QString checksum; // of the file's bytes, kept in the text id
    bool japanese = false;
    struct Part {
        QString text; // literal text, or empty for a slot
        int pool = -1;
    };
    std::vector<std::vector<Part>> frames;
    std::vector<QStringList> pools;
    std::vector<std::uint64_t> frameLines; // lines each frame makes
};

// A band read from its file; none for a file that does not hold together (a frame naming
// no pool, a pool left empty, no frame at all, a frame whose lines last fewer than kWeeksLeast
// weeks).
std::optional<Band> parseBand(const QString& name, const QByteArray& bytes);
// The band shipped with the program (read once); null when it cannot be read.
const Band* shippedBand(const QString& name);
// Frame f's line number n (0 <= n < frameLines[f]) spelled out, whole or as the frame's
// text and the pools' words it is made of.
QString lineAt(const Band& band, std::size_t frame, std::uint64_t n);
QStringList linePieces(const Band& band, std::size_t frame, std::uint64_t n);
// Line k (0 <= k < kBlockLines) of an attempt of a week (see weekNumber).
QString weekLine(const Band& band, qint64 week, int attempt, int k);
QStringList weekPieces(const Band& band, qint64 week, int attempt, int k);
// The number of the week holding a date: one more each Monday.
qint64 weekNumber(QDate date);
// The lines of one attempt of a week, as many as make `need` characters at least; none
// when the attempt holds a line that cannot be read or too few characters.
std::optional<TestText> compose(const Band& band, QDate date, int attempt, int need,
                                ReadingSource& reader);
// The week's text: the first attempt that can be had.
std::optional<TestText> choose(const Band& band, QDate date, int need, ReadingSource& reader);
// Characters a grade's text needs: enough for twice the pass speed.
int charsNeeded(const Grade& grade);

} // namespace grades
