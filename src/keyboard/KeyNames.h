#pragma once
#include "KeyTable.h"

#include <QString>

// What a key is called for a learner who cannot see it: its legend and the finger that
// types it on a JIS keyboard, e.g. "A、左手小指" ("A, left little finger" in English).
// rightSide tells the right Shift from the left, which share one code.
QString keyAndFinger(int vk, const QString& caption, bool rightSide = false);
// The finger alone ("左手小指"); empty for a key no finger types (a function key).
QString fingerName(int vk, bool rightSide = false);
// Gives every key panel of the table its key-and-finger name for screen readers; the
// two Shift panels, of which the table holds one, by their sides.
void nameKeyPanels(const KeyTable& table, TPanel* shiftLeft, TPanel* shiftRight);
