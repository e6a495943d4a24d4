#include "FunctionKeys.h"

#include "KeyTranslate.h"
#include "TVelotapper.h"

namespace {

enum : quint16 { vkF1 = 112, vkF11 = 122, vkF12 = 123 };

// One row a key; F8 (speech) belongs to the spoken mode.
constexpr FunctionKey kFunctionKeys[] = {
    {vkF1, false, &TVelotapper::btnAboutClick},
    {vkF1 + 1, false, &TVelotapper::btnLessonClick},   // F2 the drill
    {vkF1 + 2, false, &TVelotapper::btnExerciseClick}, // F3 the lesson
    {vkF1 + 3, false, &TVelotapper::fileKey},          // F4 a file, then its run
    {vkF1 + 4, false, &TVelotapper::btnJapaneseClick}, // F5
    {vkF1 + 5, false, &TVelotapper::btnCourseClick},   // F6
    {vkF1 + 6, false, &TVelotapper::btnTestClick},     // F7 the next grade's test
    {vkF1 + 8, false, &TVelotapper::btnToolClick},     // F9 the settings
    {vkF1 + 8, true, &TVelotapper::btnSoundClick},     // Shift+F9 sounds
    {vkF1 + 9, false, &TVelotapper::btnExitClick},     // F10
    {vkF11, false, &TVelotapper::startExploration},
    {vkF12, false, &TVelotapper::btnStartClick},  // the loaded text again
    {vkF12, true, &TVelotapper::btnKeybordClick}, // Shift+F12 the finger colours
};

} // namespace

bool runFunctionKey(TVelotapper& window, const TranslatedKey& key) {
    if (window.exploring()) {
        if (key.code != vkEscape) return false;
        window.endExploration();
        return true;
    }
    if (!window.toolsEnabled()) {
        if (key.code != vkF12) return false;
        window.stopKey();
        return true;
    }
    for (const FunctionKey& row : kFunctionKeys) {
        if (row.vk == key.code && row.shift == key.shift) {
            (window.*row.act)();
            return true;
        }
    }
    return false;
}
