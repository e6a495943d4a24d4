#pragma once
#include "JisKeys.h"

#include <QString>

enum class KeyVerdict { Accepted, Mistype, Ignored };

// Judges the keys typed for one phrase's reading. Keys are virtual-key codes of the
// JIS layout with the Shift state.
class PhraseJudge {
public:
    virtual ~PhraseJudge() = default;
    // Starts over on a new reading (kana, the long-vowel mark, punctuation, ASCII).
    virtual void reset(const QString& reading) = 0;
    // A modifier alone is ignored; a key no spelling continues with is a mistype.
    virtual KeyVerdict press(int vk, bool shift) = 0;
    virtual bool finished() const = 0;
    // The key to press next, as the guide shows it; vk 0 when finished.
    virtual KeyStroke guide() const = 0;
    // What has been typed and what is still to type, for the text pane.
    virtual QString typedText() const = 0;
    virtual QString remainingText() const = 0;
    // The reading from the character being typed on, as the phrase writes it.
    virtual QString remainingReading() const = 0;
    // The characters of the reading this judge makes the learner type.
    virtual int units() const = 0;
};

inline bool isModifierKey(int vk) {
    return vk == 16 || vk == 17 || vk == 18 || vk == 240;
}
