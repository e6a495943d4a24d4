#pragma once
#include "OnScreenKeyboard.h"
#include "PracticeControls.h"
#include "RunTally.h"

#include <QString>
#include <functional>

struct PracticeRecord;
class TextCollector;

// The practice text and the timed exercise over it: loading, the start prompts,
// the per-key judging, the timer, the stop with its speed bookkeeping, and the
// one-click lesson start.
class TextExercise {
public:
    static constexpr int kTextSize = 4096;

    TextExercise(PracticeRecord& record, OnScreenKeyboard& keyboard,
                 const PracticeControls& controls);

    // 0 when the file was read, 1 when it cannot be opened (then nothing changes).
    int loadPracticeText(const QString& fileName);
    // The same preparation for a text made in the program rather than read from a file.
    void loadPracticeBytes(const QByteArray& bytes);
    // True when the chosen file became the practice text.
    bool btnFileClick();
    void btnStartClick();
    void btnStopClick();
    void Timer1Timer();
    JudgeOutcome judgeKey(quint16 key, bool shift, quint16& paneKey);
    // The two start prompts; a note, when given, takes the place of the second, and a
    // lead, when given, comes before them.
    void showStartPrompts(const QString& note = QString(), const QString& lead = QString());
    void btnExerciseClick();
    void startLesson(const QString& fileName);
    // Runs a text made in the program (the weak keys' lesson, the course's), kept in the
    // history as mode and source, with the note and the lead prompt of start(); false,
    // with nothing changed, when the text holds nothing to type.
    bool startMadeText(const QByteArray& bytes, const QString& mode, const QString& source,
                       const QString& note = {}, const QString& lead = {});

    // Asked when a run has typed its text through: more text (as a file's bytes) goes on
    // in the same run; empty, or unset, the run ends there.
    std::function<QByteArray()> textRunsOut;

    // What the loaded text is, for the run's history: "lesson", "text" or "weak".
    const QString& runMode() const { return runMode_; }

    bool practiceRunning() const { return keyboard_.practiceRunning; }
    const char* practiceText() const { return practiceText_; }
    int textLength() const;
    int cursorPos = 0;
    int elapsedSeconds = 0;

private:
    // Takes the collected text as the practice text: the shared end of every load.
    void takeCollected(const TextCollector& collector);
    void start(const QString& note, const QString& lead = QString());
    // Takes more text for the running run, from its start; false when it holds nothing.
    bool goOnWith(const QByteArray& bytes);
    // The key that types character c of the text (Enter for a line end).
    int keyOfChar(char c) const;

    PracticeRecord& record_;
    OnScreenKeyboard& keyboard_;
    PracticeControls c_;
    char practiceText_[kTextSize] = {};
    QString runMode_ = QStringLiteral("text");
    // The loaded file's name, or the note of a text made in the program.
    QString textSource_;
    RunTally tally_;
};
