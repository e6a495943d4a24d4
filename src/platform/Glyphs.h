#pragma once
#include <QIcon>
#include <QPixmap>

enum class Glyph {
    Tool,
    Lesson,
    Exercise,
    File,
    Keyboard,
    Exit,
    About,
    Start,
    Stop,
    Japanese,
    Course,
    Sound,
    Test
};

// A 32 x 16 two-state picture (normal left, disabled right) for a speed button,
// drawn as vectors at the given device pixel ratio so it stays crisp when scaled.
QPixmap makeGlyph(Glyph g, qreal dpr = 1.0);
// The same glyph as a 16 x 16 icon (normal and disabled) that is drawn afresh at the
// pixel ratio it is painted with, so a window moved to a screen of another scale
// keeps sharp buttons.
QIcon makeGlyphIcon(Glyph g);
// The 44 x 37 picture of the About box.
QPixmap makeAboutPicture(qreal dpr = 1.0);
