#pragma once
#include "OnScreenKeyboard.h"
#include "PracticeControls.h"
#include "RunTally.h"

#include <QString>

struct PracticeRecord;

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
    void btnFileClick();
    void btnStartClick();
    void btnStopClick();
    void Timer1Timer();
    JudgeOutcome judgeKey(quint16 key, bool shift, quint16& paneKey);
    void showStartPrompts();
    void btnExerciseClick();
    void startLesson(const QString& fileName);

    bool practiceRunning() const { return keyboard_.practiceRunning; }
    const char* practiceText() const { return practiceText_; }
    int textLength() const;
    int cursorPos = 0;
    int elapsedSeconds = 0;

private:
    // The key that types character c of the text (Enter for a line end).
    int keyOfChar(char c) const;

    PracticeRecord& record_;
    OnScreenKeyboard& keyboard_;
    PracticeControls c_;
    char practiceText_[kTextSize] = {};
    // What the loaded text is to the history: a lesson or a file, and its name.
    QString textMode_ = QStringLiteral("text");
    QString textSource_;
    RunTally tally_;
};
