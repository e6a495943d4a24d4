#include "KeyTranslate.h"

#include <QKeyEvent>
#include <array>

namespace {

// X keycode -> virtual-key code for a JIS keyboard; 0 marks an unknown keycode.
constexpr std::array<quint16, 256> makeScanTable() {
    std::array<quint16, 256> t{};
    t[9] = 27; // Esc
    const quint16 digits[10] = {49, 50, 51, 52, 53, 54, 55, 56, 57, 48};
    for (int i = 0; i < 10; ++i) t[std::size_t(10 + i)] = digits[i];
    t[20] = 189; // - =
    t[21] = 222; // ^ ~
    t[22] = 8;   // Backspace
    t[23] = 9;   // Tab
    const char upper[] = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i) t[std::size_t(24 + i)] = quint16(upper[i]);
    t[34] = 192; // @ `
    t[35] = 219; // [ {
    t[36] = 13;  // Enter
    t[37] = 17;  // left Ctrl
    const char home[] = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i) t[std::size_t(38 + i)] = quint16(home[i]);
    t[47] = 187; // ; +
    t[48] = 186; // : *
    t[49] = 243; // Hankaku/Zenkaku
    t[50] = 16;  // left Shift
    t[51] = 221; // ] }
    const char lower[] = "ZXCVBNM";
    for (int i = 0; i < 7; ++i) t[std::size_t(52 + i)] = quint16(lower[i]);
    t[59] = 188; // , <
    t[60] = 190; // . >
    t[61] = 191; // / ?
    t[62] = 16;  // right Shift
    t[63] = 106; // keypad *
    t[64] = 18;  // left Alt
    t[65] = 32;  // Space
    t[66] = 240; // Eisu / Caps Lock
    for (int i = 0; i < 10; ++i) t[std::size_t(67 + i)] = quint16(112 + i); // F1-F10
    t[77] = 144; // Num Lock
    t[78] = 145; // Scroll Lock
    const quint16 keypad[] = {103, 104, 105, 109, 100, 101, 102, 107, 97, 98, 99, 96, 110};
    for (int i = 0; i < 13; ++i) t[std::size_t(79 + i)] = keypad[i];
    t[95] = 122;  // F11
    t[96] = 123;  // F12
    t[97] = 226;  // \ _ (ro)
    t[100] = 28;  // Henkan
    t[101] = 242; // Hiragana/Katakana
    t[102] = 29;  // Muhenkan
    t[104] = 13;  // keypad Enter
    t[105] = 17;  // right Ctrl
    t[106] = 111; // keypad /
    t[107] = 44;  // Print
    t[108] = 18;  // right Alt
    t[110] = 36;  // Home
    t[111] = 38;  // Up
    t[112] = 33;  // Page Up
    t[113] = 37;  // Left
    t[114] = 39;  // Right
    t[115] = 35;  // End
    t[116] = 40;  // Down
    t[117] = 34;  // Page Down
    t[118] = 45;  // Insert
    t[119] = 46;  // Delete
    t[127] = 19;  // Pause
    t[132] = 220; // \ | (yen)
    t[133] = 91;  // left Super
    t[134] = 92;  // right Super
    t[135] = 93;  // Menu
    return t;
}
constexpr auto kScanTable = makeScanTable();

} // namespace

quint16 virtualKeyFromScanCode(quint32 xKeycode) {
    return xKeycode < kScanTable.size() ? kScanTable[xKeycode] : 0;
}

quint16 virtualKeyFromQtKey(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return quint16(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return quint16(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return quint16(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: case Qt::Key_AltGr: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Henkan: return 28;
    case Qt::Key_Muhenkan: return 29;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Exclam: return 49;
    case Qt::Key_QuoteDbl: return 50;
    case Qt::Key_NumberSign: return 51;
    case Qt::Key_Dollar: return 52;
    case Qt::Key_Percent: return 53;
    case Qt::Key_Ampersand: return 54;
    case Qt::Key_Apostrophe: return 55;
    case Qt::Key_ParenLeft: return 56;
    case Qt::Key_ParenRight: return 57;
    case Qt::Key_Colon: case Qt::Key_Asterisk: return 186;
    case Qt::Key_Semicolon: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Equal: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_At: case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: case Qt::Key_yen: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_AsciiCircum: case Qt::Key_AsciiTilde: return 222;
    case Qt::Key_Underscore: return 226;
    case Qt::Key_CapsLock: case Qt::Key_Eisu_toggle: case Qt::Key_Eisu_Shift: return 240;
    case Qt::Key_Hiragana_Katakana: case Qt::Key_Hiragana: case Qt::Key_Katakana: return 242;
    case Qt::Key_Zenkaku_Hankaku: case Qt::Key_Zenkaku: case Qt::Key_Hankaku: return 243;
    case 0: return 0;
    default: return 255; // a key the JIS keyboard does not have: no panel
    }
}

TranslatedKey translateKeyEvent(const QKeyEvent& event) {
    TranslatedKey out;
    out.code = virtualKeyFromScanCode(event.nativeScanCode());
    if (out.code == 0) out.code = virtualKeyFromQtKey(event.key());
    const bool press = event.type() == QEvent::KeyPress;
    // On a modifier's own event Qt reports the state around the change; the key
    // itself says it: held on its key-down, released on its key-up.
    out.shift = out.code == 16 ? press : event.modifiers().testFlag(Qt::ShiftModifier);
    out.ctrl = out.code == 17 ? press : event.modifiers().testFlag(Qt::ControlModifier);
    return out;
}
