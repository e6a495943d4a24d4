#pragma once
#include "Grades.h"
#include "PracticeControls.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>

class JapaneseExercise;
struct PracticeRecord;
class TextExercise;

// A graded test as the learner sits it: the next grade of the way, its rules on the
// prompt line, then the start prompts and a run of the test's minutes over its text,
// judged by the text exercise (letters) or the Japanese one (romaji, kana). The time
// panel counts down and the test ends at zero; the stop button ends it early, and
// then it is not passed. The run goes to the history with its score.
class GradeTest {
    Q_DECLARE_TR_FUNCTIONS(GradeTest)
public:
    GradeTest(PracticeRecord& record, TextExercise& text, JapaneseExercise& japanese,
              const PracticeControls& controls);

    // The way the next test is of; unset, letters.
    std::function<grades::Way()> chosenWay;
    // The results the way's tests have had, oldest first; unset, none.
    std::function<QList<TestResult>(grades::Way)> results;

    // Starts the next grade's test of the chosen way; false when none could start.
    bool btnTestClick();
    bool start(grades::Way way, int index);
    // A second of the timer, after the exercise counted it: the time left, and the end.
    void tick();
    // The exercise's run ended, however: the test is no longer running.
    void runEnded() { running_ = false; }
    bool running() const { return running_; }
    // A finished run of the test's: its score goes with it and on the prompt line.
    void finishRun(RunSummary& run);

    int secondsLeft() const;
    const grades::TestText& text() const { return text_; }

private:
    int elapsed() const;

    PracticeRecord& record_;
    TextExercise& exercise_;
    JapaneseExercise& japanese_;
    PracticeControls c_;
    grades::Way way_ = grades::Way::Letters;
    int index_ = 0;
    int minutes_ = 1;
    grades::TestText text_;
    QStringList parts_; // a letters text in parts the text exercise holds, the next first
    bool running_ = false;
    bool fullTime_ = false; // the clock ran out, as against the stop button
};

// The way a learner's test is of, from their last practice run: Japanese after
// Japanese practice, a Japanese way's test or the kana course (in kana when the kana
// setting is on, else romaji); letters otherwise.
grades::Way wayAfterRun(const QString& mode, const QString& source, bool kanaSetting);
