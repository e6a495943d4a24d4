#include "KeyTranslate.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace {

using Pair = std::pair<int, quint16>;

// X keycode (evdev + 8) -> virtual-key code on a JIS 106/109 keyboard. Keys that
// come in runs (digits, letter rows, F1-F10, keypad) are filled below.
constexpr Pair kScanPairs[] = {
    {9, 27},    // Esc
    {20, 189},  // - =
    {21, 222},  // ^ ~
    {22, 8},    // Backspace
    {23, 9},    // Tab
    {34, 192},  // @ `
    {35, 219},  // [ {
    {36, 13},   // Enter
    {37, 17},   // left Ctrl
    {47, 187},  // ; +
    {48, 186},  // : *
    {49, 243},  // Hankaku/Zenkaku
    {50, 16},   // left Shift
    {51, 221},  // ] }
    {59, 188},  // , <
    {60, 190},  // . >
    {61, 191},  // / ?
    {62, 16},   // right Shift
    {63, 106},  // keypad *
    {64, 18},   // left Alt
    {65, 32},   // Space
    {66, 240},  // Eisu / Caps Lock
    {77, 144},  // Num Lock
    {78, 145},  // Scroll Lock
    {95, 122},  // F11
    {96, 123},  // F12
    {97, 226},  // \ _ (ro)
    {100, 28},  // Henkan
    {101, 242}, // Hiragana/Katakana
    {102, 29},  // Muhenkan
    {104, 13},  // keypad Enter
    {105, 17},  // right Ctrl
    {106, 111}, // keypad /
    {107, 44},  // Print
    {108, 18},  // right Alt
    {110, 36},  // Home
    {111, 38},  // Up
    {112, 33},  // Page Up
    {113, 37},  // Left
    {114, 39},  // Right
    {115, 35},  // End
    {116, 40},  // Down
    {117, 34},  // Page Down
    {118, 45},  // Insert
    {119, 46},  // Delete
    {127, 19},  // Pause
    {132, 220}, // \ | (yen)
    {133, 91},  // left Super
    {134, 92},  // right Super
    {135, 93},  // Menu
};

constexpr std::array<quint16, 256> makeScanTable() {
    std::array<quint16, 256> t{}; // 0 marks an unknown keycode
    const quint16 digits[10] = {49, 50, 51, 52, 53, 54, 55, 56, 57, 48};
    for (int i = 0; i < 10; ++i) t[std::size_t(10 + i)] = digits[i];
    const char upper[] = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i) t[std::size_t(24 + i)] = quint16(upper[i]);
    const char home[] = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i) t[std::size_t(38 + i)] = quint16(home[i]);
    const char lower[] = "ZXCVBNM";
    for (int i = 0; i < 7; ++i) t[std::size_t(52 + i)] = quint16(lower[i]);
    for (int i = 0; i < 10; ++i) t[std::size_t(67 + i)] = quint16(112 + i); // F1-F10
    const quint16 keypad[] = {103, 104, 105, 109, 100, 101, 102, 107, 97, 98, 99, 96, 110};
    for (int i = 0; i < 13; ++i) t[std::size_t(79 + i)] = keypad[i];
    for (const auto& [x, vk] : kScanPairs) t[std::size_t(x)] = vk;
    return t;
}
constexpr auto kScanTable = makeScanTable();

// The symbols (as Qt keys) a JIS keyboard's key carries under the jp and the us
// layouts, with and without Shift, and with Alt where jp puts a second symbol there.
// A keymap an on-screen keyboard, a remote desktop or a key-injection tool brings
// along hands out key codes in its own order; its symbol then is not among these,
// and the key code says nothing about the key.
constexpr int kMaxSymbols = 4;
struct KeySymbols {
    int xkey;
    int qtKeys[kMaxSymbols];
};

constexpr KeySymbols kSymbolPairs[] = {
    {9, {Qt::Key_Escape}},
    {10, {Qt::Key_1, Qt::Key_Exclam}},
    {11, {Qt::Key_2, Qt::Key_QuoteDbl, Qt::Key_At}},
    {12, {Qt::Key_3, Qt::Key_NumberSign}},
    {13, {Qt::Key_4, Qt::Key_Dollar}},
    {14, {Qt::Key_5, Qt::Key_Percent}},
    {15, {Qt::Key_6, Qt::Key_Ampersand, Qt::Key_AsciiCircum}},
    {16, {Qt::Key_7, Qt::Key_Apostrophe, Qt::Key_Ampersand}},
    {17, {Qt::Key_8, Qt::Key_ParenLeft, Qt::Key_Asterisk}},
    {18, {Qt::Key_9, Qt::Key_ParenRight, Qt::Key_ParenLeft}},
    {19, {Qt::Key_0, Qt::Key_AsciiTilde, Qt::Key_ParenRight}},
    {20, {Qt::Key_Minus, Qt::Key_Equal, Qt::Key_Underscore}},
    {21, {Qt::Key_AsciiCircum, Qt::Key_AsciiTilde, Qt::Key_Equal, Qt::Key_Plus}},
    {22, {Qt::Key_Backspace}},
    {23, {Qt::Key_Tab, Qt::Key_Backtab}},
    {34, {Qt::Key_At, Qt::Key_QuoteLeft, Qt::Key_BracketLeft, Qt::Key_BraceLeft}},
    {35, {Qt::Key_BracketLeft, Qt::Key_BraceLeft, Qt::Key_BracketRight, Qt::Key_BraceRight}},
    {36, {Qt::Key_Return}},
    {37, {Qt::Key_Control}},
    {47, {Qt::Key_Semicolon, Qt::Key_Plus, Qt::Key_Colon}},
    {48, {Qt::Key_Colon, Qt::Key_Asterisk, Qt::Key_Apostrophe, Qt::Key_QuoteDbl}},
    {49, {Qt::Key_Zenkaku_Hankaku, Qt::Key_Kanji, Qt::Key_QuoteLeft, Qt::Key_AsciiTilde}},
    {50, {Qt::Key_Shift}},
    {51, {Qt::Key_BracketRight, Qt::Key_BraceRight, Qt::Key_Backslash, Qt::Key_Bar}},
    {59, {Qt::Key_Comma, Qt::Key_Less}},
    {60, {Qt::Key_Period, Qt::Key_Greater}},
    {61, {Qt::Key_Slash, Qt::Key_Question}},
    {62, {Qt::Key_Shift}},
    {63, {Qt::Key_Asterisk}},
    {64, {Qt::Key_Alt, Qt::Key_Meta}},
    {65, {Qt::Key_Space}},
    {66, {Qt::Key_Eisu_toggle, Qt::Key_CapsLock}},
    {77, {Qt::Key_NumLock}},
    {78, {Qt::Key_ScrollLock}},
    {79, {Qt::Key_7, Qt::Key_Home}},
    {80, {Qt::Key_8, Qt::Key_Up}},
    {81, {Qt::Key_9, Qt::Key_PageUp}},
    {82, {Qt::Key_Minus}},
    {83, {Qt::Key_4, Qt::Key_Left}},
    {84, {Qt::Key_5, Qt::Key_Clear}},
    {85, {Qt::Key_6, Qt::Key_Right}},
    {86, {Qt::Key_Plus}},
    {87, {Qt::Key_1, Qt::Key_End}},
    {88, {Qt::Key_2, Qt::Key_Down}},
    {89, {Qt::Key_3, Qt::Key_PageDown}},
    {90, {Qt::Key_0, Qt::Key_Insert}},
    {91, {Qt::Key_Delete, Qt::Key_Period, Qt::Key_Comma}},
    {95, {Qt::Key_F11}},
    {96, {Qt::Key_F12}},
    {97, {Qt::Key_Backslash, Qt::Key_Underscore}},
    {100, {Qt::Key_Henkan, Qt::Key_Mode_switch}},
    {101, {Qt::Key_Hiragana_Katakana, Qt::Key_Romaji}},
    {102, {Qt::Key_Muhenkan}},
    {104, {Qt::Key_Enter}},
    {105, {Qt::Key_Control}},
    {106, {Qt::Key_Slash}},
    {107, {Qt::Key_Print, Qt::Key_Execute, Qt::Key_SysReq}},
    {108, {Qt::Key_Alt, Qt::Key_Meta, Qt::Key_AltGr}},
    {110, {Qt::Key_Home}},
    {111, {Qt::Key_Up}},
    {112, {Qt::Key_PageUp}},
    {113, {Qt::Key_Left}},
    {114, {Qt::Key_Right}},
    {115, {Qt::Key_End}},
    {116, {Qt::Key_Down}},
    {117, {Qt::Key_PageDown}},
    {118, {Qt::Key_Insert}},
    {119, {Qt::Key_Delete}},
    {127, {Qt::Key_Pause}},
    {132, {Qt::Key_Backslash, Qt::Key_Bar, Qt::Key_yen}},
    {133, {Qt::Key_Super_L, Qt::Key_Meta}},
    {134, {Qt::Key_Super_R, Qt::Key_Meta}},
    {135, {Qt::Key_Menu}},
};

using SymbolRow = std::array<int, kMaxSymbols>;

constexpr std::array<SymbolRow, 256> makeSymbolTable() {
    std::array<SymbolRow, 256> t{}; // 0 pads a row; no event symbol is 0 here
    // A letter key carries its letter's Qt key whatever the case.
    for (int x = 0; x < 256; ++x)
        if (kScanTable[std::size_t(x)] >= 'A' && kScanTable[std::size_t(x)] <= 'Z')
            t[std::size_t(x)][0] = kScanTable[std::size_t(x)];
    for (int i = 0; i < 10; ++i) t[std::size_t(67 + i)][0] = Qt::Key_F1 + i;
    for (const auto& [x, keys] : kSymbolPairs)
        for (int i = 0; i < kMaxSymbols; ++i) t[std::size_t(x)][std::size_t(i)] = keys[i];
    return t;
}
constexpr auto kSymbolTable = makeSymbolTable();

// Qt key -> the JIS key that types the symbol, for events without a scan code.
// Symbols of other layouts land on the JIS key that carries the same character.
constexpr Pair kQtKeyPairs[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_Escape, 27},
    {Qt::Key_Henkan, 28},
    {Qt::Key_Muhenkan, 29},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Meta, 91},
    {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Exclam, 49},
    {Qt::Key_QuoteDbl, 50},
    {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},
    {Qt::Key_Percent, 53},
    {Qt::Key_Ampersand, 54},
    {Qt::Key_Apostrophe, 55},
    {Qt::Key_ParenLeft, 56},
    {Qt::Key_ParenRight, 57},
    {Qt::Key_Colon, 186},
    {Qt::Key_Asterisk, 186},
    {Qt::Key_Semicolon, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Equal, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_At, 192},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_yen, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_AsciiCircum, 222},
    {Qt::Key_AsciiTilde, 222},
    {Qt::Key_Underscore, 226},
    {Qt::Key_CapsLock, 240},
    {Qt::Key_Eisu_toggle, 240},
    {Qt::Key_Eisu_Shift, 240},
    {Qt::Key_Hiragana_Katakana, 242},
    {Qt::Key_Hiragana, 242},
    {Qt::Key_Katakana, 242},
    {Qt::Key_Zenkaku_Hankaku, 243},
    {Qt::Key_Zenkaku, 243},
    {Qt::Key_Hankaku, 243},
};

// The key code as a position, or 0 when the symbol says it is not one. keysym is the
// event's native virtual key, an X keysym on xcb and wayland: a symbol Qt has no key for.
quint16 virtualKeyByPosition(quint32 xKeycode, int qtKey, quint32 keysym) {
    if (xKeycode >= kScanTable.size()) return 0;
    // No symbol at all (the yen and ro keys under a us layout): the position decides.
    if (qtKey == 0 || qtKey == Qt::Key_unknown) return keysym == 0 ? kScanTable[xKeycode] : 0;
    for (const int own : kSymbolTable[xKeycode])
        if (own == qtKey) return kScanTable[xKeycode];
    return 0;
}

} // namespace

quint16 virtualKeyFromScanCode(quint32 xKeycode) {
    return xKeycode < kScanTable.size() ? kScanTable[xKeycode] : 0;
}

quint16 virtualKeyFromQtKey(int k) {
    if (k == 0) return 0;
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return quint16(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return quint16(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return quint16(112 + (k - Qt::Key_F1));
    for (const auto& [qtKey, vk] : kQtKeyPairs)
        if (qtKey == k) return vk;
    return 255; // a key the JIS keyboard does not have: no panel
}

TranslatedKey translateKeyEvent(const QKeyEvent& event) {
    TranslatedKey out;
    out.code = virtualKeyByPosition(event.nativeScanCode(), event.key(), event.nativeVirtualKey());
    if (out.code == 0) out.code = virtualKeyFromQtKey(event.key());
    const bool press = event.type() == QEvent::KeyPress;
    // On a modifier's own event Qt reports the state around the change; the key
    // itself says it: held on its key-down, released on its key-up.
    out.shift = out.code == 16 ? press : event.modifiers().testFlag(Qt::ShiftModifier);
    out.ctrl = out.code == 17 ? press : event.modifiers().testFlag(Qt::ControlModifier);
    return out;
}
