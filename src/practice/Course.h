#pragma once
#include "JisKeys.h"
#include "WeakKeys.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// The guided course: a fixed order of keys per track, the rule that unlocks the next
// one, the choice of the key to practise most, and the lesson text over the unlocked
// keys. No widgets and no storage: the caller hands in the figures and keeps the state.
namespace course {

enum class Track { Letters, Kana };

// Shift takes a place in each order (capitals; small kana) under this code.
constexpr int kShiftKey = 16;

struct CourseKey {
    int vk;
    QString cap; // how the prompt names it: "G", "し", "Shift"
};

// The track's keys in the order they unlock; the first startKeys() come unlocked.
const std::vector<CourseKey>& keyOrder(Track track);
// Where the key stands in the track's order; -1 for a key not in it.
int indexOfVk(Track track, int vk);
int startKeys(Track track);
// "letters" or "kana": the track's name in the history.
QString trackName(Track track);
// The lesson number of a count of unlocked keys, and how many lessons the track has.
int lessonNumber(Track track, int unlocked);
int lessonCount(Track track);
// Clamped into the track: at least the start keys, at most all of them.
int clampUnlocked(Track track, int unlocked);

struct Targets {
    double perMinute = 150; // presses per minute
    double accuracy = 95;   // percent of presses that were the right key
};

// A key's figures over its last kPresses presses (fewer when it has not had that many).
struct KeyStanding {
    bool typed = false;
    double perMinute = 0;
    double accuracy = 0;
};
constexpr int kPresses = 100;

// Per-key standings from course runs' figures, the newest run first. A run's figures
// for a key that cannot be (negative, or timed presses without time) are left out, so
// a key with nothing else counts as not yet typed. Speeds go over the timed presses.
std::map<int, KeyStanding> standings(const std::vector<KeyFigureMap>& runsNewestFirst);

bool meetsSpeed(const KeyStanding& s, const Targets& t);
bool meetsAccuracy(const KeyStanding& s, const Targets& t);
// Whether the key at index i of the track meets both targets. Shift has no presses of
// its own (a capital is its letter's key), so it stands as met.
bool keyMeets(Track track, int index, const std::map<int, KeyStanding>& s, const Targets& t);

// The unlocked count after a lesson: one more when every unlocked key meets both
// targets. Never fewer than given: a key once unlocked stays unlocked.
int unlockAfter(Track track, int unlocked, const std::map<int, KeyStanding>& s, const Targets& t);
// The index of the key to practise most: the newest key until it meets the targets,
// then the unlocked key furthest below them (a key not yet typed first).
int focusIndex(Track track, int unlocked, const std::map<int, KeyStanding>& s, const Targets& t);

// One lesson's text and what it was built around.
struct Lesson {
    QString text;  // letters: words and blanks; kana: phrases, one a line
    int keys = 0;  // presses it takes
    int focus = 0; // track indices
    int newest = 0;
    int focusPresses = 0;
    int newestPresses = 0;
};

// A track's words, each with the keys it takes; built once, shared by every lesson.
class WordBank {
public:
    WordBank(Track track, const QStringList& words);
    ~WordBank();
    Track track() const { return track_; }
    int size() const;
    struct Data;

private:
    friend Lesson makeLesson(const WordBank&, int, int, const std::function<int()>&);
    Track track_;
    std::unique_ptr<Data> d_;
};

constexpr int kLessonKeys = 200; // about a minute at the speed target
// A lesson of 150 to 250 presses over the first `unlocked` keys of the bank's track, at
// least a fifth of them on the focus key and a tenth on the newest key. Real words
// while enough of them fit, made-up syllables of the unlocked keys otherwise. random
// gives values 0..32767. Never empty.
Lesson makeLesson(const WordBank& bank, int unlocked, int focus,
                  const std::function<int()>& random);

// The presses that type a lesson's text on the track (kana through the kana
// arrangement); a character the track cannot type gives none.
std::vector<KeyStroke> strokesOf(Track track, const QString& text);

// The shipped word list of a track, one word a line.
QStringList shippedWords(Track track);

} // namespace course
