#pragma once
#include "Course.h"
#include "OnScreenKeyboard.h"
#include "PracticeControls.h"

#include <QCoreApplication>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// The course's targets in the history's settings: presses per minute and percent.
inline const QString kCourseSpeedSetting = QStringLiteral("course.speed");
inline const QString kCourseAccuracySetting = QStringLiteral("course.accuracy");
// A target as kept, or its default when the kept text is none or out of reason.
double courseTarget(const QString& kept, double fallback, double low, double high);

class JapaneseExercise;
class TextExercise;
class TPanel;

// Runs the guided course: builds the next lesson of the chosen track, names it, marks
// the keyboard (locked keys grey, the focus key yellow), and after the run unlocks the
// next key when the targets are met. Letters run as a text exercise, kana through the
// kana judge. What it keeps comes and goes through the functions the application fills.
class CourseExercise {
    Q_DECLARE_TR_FUNCTIONS(CourseExercise)
public:
    CourseExercise(OnScreenKeyboard& keyboard, TextExercise& text, JapaneseExercise& japanese,
                   const PracticeControls& controls);
    ~CourseExercise();

    // Whether the kana track is wanted; unset, the letters track.
    std::function<bool()> kanaWanted;
    std::function<course::Targets()> targets;
    // The track's kept count of unlocked keys; 0 when nothing is kept.
    std::function<int(course::Track)> loadUnlocked;
    // Keeps a new count; false when it could not be kept.
    std::function<bool(course::Track, int)> saveUnlocked;
    // The figures of the track's last course runs, newest first.
    std::function<std::vector<KeyFigureMap>(course::Track)> recentRuns;

    // Starts the next lesson at once; false when none could start.
    bool btnCourseClick();
    // A finished run, after the history had it (kept: it was written there).
    void runFinished(const RunSummary& run, bool kept);
    // The run ended, however: the keyboard gets its colours back.
    void runEnded();

    course::Track track() const { return track_; }
    int unlocked(course::Track track);
    const course::Lesson& lesson() const { return lesson_; }

private:
    std::vector<KeyFigureMap> figures(course::Track track);
    // Greys the keys past the first open ones and marks the lesson's focus key.
    void markKeyboard(int open);
    void notKept();
    const course::WordBank& bank(course::Track track);

    OnScreenKeyboard& keyboard_;
    TextExercise& text_;
    JapaneseExercise& japanese_;
    PracticeControls c_;
    course::Track track_ = course::Track::Letters;
    course::Lesson lesson_;
    std::map<course::Track, int> unlocked_; // this session's, when the history keeps none
    std::map<course::Track, std::deque<KeyFigureMap>> session_;
    std::map<course::Track, std::unique_ptr<course::WordBank>> banks_;
    std::vector<std::pair<TPanel*, quint32>> marked_;
    bool kept_ = true; // every course run and step so far went into the history
    bool notKeptSaid_ = false;
};
