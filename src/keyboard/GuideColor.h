#pragma once
#include "Colors.h"

#include <vector>

// The colour that lights the next key in a run whose keys may wear any colours: of a few
// bright colours under which the black legends stay readable, the one farthest from
// every colour on the keys (the finger colours included).
TColor standoutGuideColor(const std::vector<TColor>& keyColors);
// The colours standoutGuideColor chooses from.
const std::vector<TColor>& guideColorChoices();
// How far apart two colours look (0 for the same, about 765 for black and white).
int colorDistance(const QColor& a, const QColor& b);
