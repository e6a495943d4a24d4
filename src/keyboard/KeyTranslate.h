#pragma once
#include <QtGlobal>

class QKeyEvent;

// A key event as the program sees it: a virtual-key code and the modifier state.
struct TranslatedKey {
    quint16 code = 0;
    bool shift = false;
    bool ctrl = false;
};

// The virtual-key code of an X keycode (evdev + 8) of a JIS 106/109 keyboard, or 0
// when the keycode is not known. Physical, so it holds whatever the system layout.
quint16 virtualKeyFromScanCode(quint32 xKeycode);
// The virtual-key code of a Qt key, used when the event carries no scan code.
quint16 virtualKeyFromQtKey(int qtKey);
// The whole translation of one key event, modifiers included. The keycode decides
// only when the event's symbol is one that key of a JIS keyboard carries under a jp
// or a us layout, or when it carries none; otherwise the symbol decides.
TranslatedKey translateKeyEvent(const QKeyEvent& event);
