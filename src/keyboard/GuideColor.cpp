#include "GuideColor.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Bright and saturated, each light enough for black legends.
constexpr TColor kCandidates[] = {
    0x0000A5FF, // orange
    0x00FF40FF, // magenta
    0x0000E000, // green
    0x00FFC800, // sky blue
    0x0000FFFF, // yellow
    0x006060FF, // coral red
    0x000000FF, // red
    0x00FF8000, // azure
};

} // namespace

const std::vector<TColor>& guideColorChoices() {
    static const std::vector<TColor> choices(std::begin(kCandidates), std::end(kCandidates));
    return choices;
}

int colorDistance(const QColor& a, const QColor& b) {
    // The red-weighted RGB distance: close to how far apart colours look, at no cost.
    const int mean = (a.red() + b.red()) / 2;
    const int r = a.red() - b.red(), g = a.green() - b.green(), bl = a.blue() - b.blue();
    return int(
        std::sqrt((((512 + mean) * r * r) >> 8) + 4 * g * g + (((767 - mean) * bl * bl) >> 8)));
}

TColor standoutGuideColor(const std::vector<TColor>& keyColors) {
    TColor best = kCandidates[0];
    int bestDistance = -1;
    for (const TColor candidate : kCandidates) {
        int nearest = INT_MAX;
        for (const TColor key : keyColors)
            nearest = std::min(nearest, colorDistance(toQColor(candidate), toQColor(key)));
        if (nearest > bestDistance) {
            best = candidate;
            bestDistance = nearest;
        }
    }
    return best;
}
