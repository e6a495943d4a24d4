#pragma once
#include <QtGlobal>

// One key press: a virtual-key code and whether Shift is held.
struct KeyStroke {
    int vk = 0;
    bool shift = false;
    bool operator==(const KeyStroke&) const = default;
};

// The key of the JIS layout that types printable ASCII c; vk 0 when there is none.
KeyStroke jisKeyOfChar(char c);
// The ASCII character a key types on the JIS layout, or 0.
char jisCharOfKey(int vk, bool shift);
