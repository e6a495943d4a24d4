#include "Drill.h"

Drill::Drill(PracticeRecord& record, OnScreenKeyboard& keyboard, TextExercise& exercise,
             const PracticeControls& controls)
    : record_(record), keyboard_(keyboard), exercise_(exercise), c_(controls) {}

void Drill::btnLessonClick() {}
void Drill::runDrill() {}
