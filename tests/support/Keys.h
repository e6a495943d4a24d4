#pragma once
#include <QKeyEvent>

class QWidget;

// Key events as a real keyboard under X delivers them: with the X keycode as the
// native scan code (QTest::keyClick carries none).
namespace keys {

// X keycodes of a JIS keyboard.
enum XKey : quint32 {
    Esc = 9,
    Digit1 = 10,
    Minus = 20,
    Caret = 21,
    BackSpace = 22,
    Tab = 23,
    Q = 24,
    At = 34,
    BracketL = 35,
    Enter = 36,
    CtrlL = 37,
    A = 38,
    S = 39,
    D = 40,
    F = 41,
    J = 44,
    K = 45,
    L = 46,
    Semicolon = 47,
    Colon = 48,
    ShiftL = 50,
    BracketR = 51,
    Z = 52,
    Comma = 59,
    Period = 60,
    Slash = 61,
    ShiftR = 62,
    Space = 65,
    Eisu = 66,
    F1 = 67,
    Ro = 97,
    Left = 113,
    Down = 116,
    Yen = 132,
};

// The X keycode of a letter 'A'..'Z' or a digit '0'..'9'.
quint32 xkeyOf(char c);

void press(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods = Qt::NoModifier,
           bool autoRepeat = false, int qtKey = 0);
void release(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods = Qt::NoModifier,
             bool autoRepeat = false, int qtKey = 0);
// Press and release.
void tap(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods = Qt::NoModifier);

} // namespace keys
