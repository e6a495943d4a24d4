#pragma once
#include "Phrases.h"
#include "TestResult.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <set>
#include <vector>

// The grade ladders: one per way of typing, each grade a timed test over a text the
// program composes from its own pools (lessons/grades/), one text per band and ISO week.
// Plain logic: no widgets, no storage; the caller keeps the results.
//
// Scoring: a test counts the characters typed right (for the Japanese ways each kana of
// the reading, however many keys it takes; for letters every letter, space and mark)
// and its faults (wrong key presses). Net characters per minute
//     net = (right - kPenalty * faults) / minutes, never below 0,
// accuracy = 100 * right / (right + faults) (0 when nothing was pressed). A test passes
// when it ran its full minutes and both net >= the grade's pass speed and accuracy >=
// its pass accuracy; an earned grade is kept for good.
namespace grades {

enum class Way { Letters, Romaji, Kana };
// "letters", "romaji", "kana": TestResult::way and the history's name of the way.
QString wayName(Way way);
std::optional<Way> wayFromName(const QString& name);

enum class TextKind {
    SingleKana,     // one kana at a time
    KanaWords,      // words in kana
    KanaSentences,  // sentences in kana
    KanjiSentences, // kanji-mixed sentences, typed by their readings
    ShortWords,     // English words of two or three letters
    Words,          // English words
    Sentences,      // English sentences
};
// How the rules line and the ladder name the kind (translated).
QString kindName(TextKind kind);

// Characters each fault takes off the right ones.
inline constexpr int kPenalty = 2;

struct Grade {
    int index = 0; // 0 = 20級, 19 = 1級, 20 = 初段, ...
    TextKind kind = TextKind::SingleKana;
    QString band;         // the text pool it draws from, e.g. "ja-kanji"
    int minutes = 1;      // how long the test runs
    int passNet = 0;      // net characters per minute, at least
    int passAccuracy = 0; // percent, at least
};

// The way's ladder, lowest grade first; index = Grade::index.
const std::vector<Grade>& ladder(Way way);
// The grade at index on the way's ladder; none outside it.
std::optional<Grade> gradeAt(Way way, int index);
// "20級" … "1級", "初段", "二段", …; in English "Grade 20" … "Grade 1", "Dan 1", ….
QString gradeName(int index);
// The test's rules on one line: grade, text kind, minutes, pass speed, pass accuracy
// and the penalty.
QString rulesLine(Way way, int index);

struct Score {
    double net = 0;      // net characters per minute
    double accuracy = 0; // percent
};
// The scoring rule above; minutes <= 0 scores 0.
Score score(int rightChars, int faults, double minutes);
// Whether a score meets both of the grade's thresholds.
bool meets(const Grade& grade, const Score& s);
// A test's result: scored, and passed when it ran its full minutes (ranFullTime; a test
// stopped early is not passed) and meets the grade.
TestResult judge(Way way, int index, const QString& textId, int rightChars, int faults,
                 double minutes, bool ranFullTime);

// The grades passed in these results (of one way).
std::set<int> earnedGrades(const QList<TestResult>& results);
// The grade to sit next: the one above the highest earned, 0 with none earned; -1 when
// the top of the ladder is earned.
int nextGrade(Way way, const std::set<int>& earned);
// The best result at a grade: the highest net among its passed ones, else among all;
// none when it was never sat.
std::optional<TestResult> bestAt(const QList<TestResult>& results, int index);

// How much the best results fall short of a grade ("あと 12 字/分 で 8級").
struct Shortfall {
    double net = 0;      // characters per minute missing; 0 when met
    double accuracy = 0; // percentage points missing; 0 when met
    bool sat = false;    // the grade itself was sat (else the figures come from the way's
                         // best result at any grade, or the whole threshold when none)
};
Shortfall shortfall(Way way, int index, const QList<TestResult>& results);

// A test's text: what is shown and typed, and the id that rebuilds it.
struct TestText {
    // "<band>/<ISO year>-W<week>.<attempt>/<chars>/<checksum of the band's file>",
    // e.g. "ja-kanji/2026-W50.0/1500/3f2a91c0"; textById rebuilds the same text.
    QString id;
    QString written;             // as shown, lines joined by '\n'
    std::vector<Phrase> phrases; // the Japanese ways: phrases with their readings to type
    int chars = 0;               // characters to type (readings for the Japanese ways)
};
// The text of the grade for the ISO week holding localDate: long enough that twice the
// pass speed does not run out in the test's minutes. A text whose readings cannot be had
// or that yields too few characters falls back to another of the band; none when every
// attempt fails (a kanji band with no dictionary).
std::optional<TestText> testText(Way way, int index, QDate localDate, ReadingSource& reader);
// The text an id names, rebuilt; none for an id of no band or of another version of the
// band's file.
std::optional<TestText> textById(const QString& id, ReadingSource& reader);

} // namespace grades
