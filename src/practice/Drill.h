#pragma once
#include "OnScreenKeyboard.h"
#include "PracticeControls.h"

struct PracticeRecord;
class TextExercise;

// The form-position drill: 50 keys prompted at random from the chosen rows.
class Drill {
public:
    static constexpr int kKeys = 50;

    Drill(PracticeRecord& record, OnScreenKeyboard& keyboard, TextExercise& exercise,
          const PracticeControls& controls);

    void btnLessonClick();
    void runDrill();

private:
    PracticeRecord& record_;
    OnScreenKeyboard& keyboard_;
    TextExercise& exercise_;
    PracticeControls c_;
};
