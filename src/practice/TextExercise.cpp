#include "TextExercise.h"

#include <cstring>

TextExercise::TextExercise(PracticeRecord& record, OnScreenKeyboard& keyboard,
                           const PracticeControls& controls)
    : record_(record), keyboard_(keyboard), c_(controls) {}

int TextExercise::textLength() const { return int(std::strlen(practiceText_)); }
int TextExercise::loadPracticeText(const QString&) { return 1; }
void TextExercise::btnFileClick() {}
void TextExercise::btnStartClick() {}
void TextExercise::btnStopClick() {}
void TextExercise::Timer1Timer() {}
JudgeOutcome TextExercise::judgeKey(quint16, bool, quint16&) { return JudgeOutcome::Accepted; }
void TextExercise::showStartPrompts() {}
void TextExercise::btnExerciseClick() {}
void TextExercise::startLesson(const QString&) {}
