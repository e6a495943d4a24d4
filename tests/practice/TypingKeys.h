#pragma once
#include "KeyTable.h"
#include "Keys.h"

#include <QWidget>
#include <cstring>

// How a touch typist on a JIS keyboard types a printable character: the X keycode,
// whether Shift is held, and the key code the program counts the key under.
struct Stroke {
    quint32 xkey = 0;
    bool shift = false;
    int keyCode = 0;
};

inline Stroke strokeFor(char c) {
    struct Sym {
        char base, shifted;
        quint32 xkey;
    };
    static const Sym syms[] = {
        {'-', '=', keys::Minus},  {'^', '~', keys::Caret},    {'\\', '|', keys::Yen},
        {'@', '`', keys::At},     {'[', '{', keys::BracketL}, {';', '+', keys::Semicolon},
        {':', '*', keys::Colon},  {']', '}', keys::BracketR}, {',', '<', keys::Comma},
        {'.', '>', keys::Period}, {'/', '?', keys::Slash},    {'_', '_', keys::Ro},
    };
    static const char digitShifted[] = "~!\"#$%&'()"; // shifted 0..9
    if (c == ' ') return {keys::Space, false, vkSpace};
    if (c >= 'a' && c <= 'z') return {keys::xkeyOf(char(c - 32)), false, c - 32};
    if (c >= 'A' && c <= 'Z') return {keys::xkeyOf(c), true, c};
    if (c >= '0' && c <= '9') return {keys::xkeyOf(c), false, c};
    for (int d = 1; d <= 9; ++d)
        if (digitShifted[d] == c) return {keys::xkeyOf(char('0' + d)), true, '0' + d};
    for (const Sym& s : syms) {
        if (s.base == c) return {s.xkey, false, punctuationKeyCode(c)};
        if (s.shifted == c) return {s.xkey, true, punctuationKeyCode(s.base)};
    }
    return {};
}

// Types one character: Shift goes down first and up last, as fingers do it.
inline void typeChar(QWidget* w, char c) {
    const Stroke s = strokeFor(c);
    if (s.shift) keys::press(w, keys::ShiftL, Qt::ShiftModifier);
    const Qt::KeyboardModifiers mods = s.shift ? Qt::ShiftModifier : Qt::NoModifier;
    keys::tap(w, s.xkey, mods);
    if (s.shift) keys::release(w, keys::ShiftL, Qt::NoModifier);
}
