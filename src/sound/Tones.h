#pragma once
#include "SoundPlayer.h"

#include <QtGlobal>
#include <vector>

// The program's own sounds, made sample by sample: mono, 16-bit, kTonesRate samples a
// second. Each starts at full strength within its first millisecond (a key's sound must
// not fade in) and fades to silence at its end (no crack when it stops).
inline constexpr int kTonesRate = 48000;

std::vector<qint16> toneSamples(Sound sound);
