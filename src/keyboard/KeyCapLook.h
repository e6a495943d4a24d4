#pragma once
#include "DesignTable.h"

// The look of a character key's panel, on the main keyboard and on the mistype map:
// raised, a single border line, the legend in the terminal face; small punctuation
// larger, the slash and the space bar in the proportional face.
PanelLook keyCapLook(char caption);
