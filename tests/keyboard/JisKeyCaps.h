#pragma once
#include <Qt>
#include <QtGlobal>

// The 48 character keys of a JIS 106/109 keyboard as the main window draws them:
// the X keycode (evdev + 8), the virtual-key code, the key panel, its captions
// without and with Shift, the finger of fingerColors that types it (-1: none), and
// the Qt keys of the unshifted symbol on a jp and on a us layout (0: no symbol).
namespace jis {

struct CharKey {
    quint32 xkey;
    quint16 vk;
    const char* panel;
    const char* caption;
    const char* shiftedCaption;
    int finger;
    int jpQtKey;
    int usQtKey;
};

inline constexpr CharKey kCharKeys[] = {
    {10, 49, "K1", "1", "!", 0, Qt::Key_1, Qt::Key_1},
    {11, 50, "Panel2", "2", "\"", 1, Qt::Key_2, Qt::Key_2},
    {12, 51, "Panel3", "3", "#", 2, Qt::Key_3, Qt::Key_3},
    {13, 52, "Panel4", "4", "$", 3, Qt::Key_4, Qt::Key_4},
    {14, 53, "Panel5", "5", "%", 3, Qt::Key_5, Qt::Key_5},
    {15, 54, "Panel6", "6", "\xEF\xBC\x86", 4, Qt::Key_6, Qt::Key_6}, // full-width ampersand
    {16, 55, "Panel7", "7", "'", 4, Qt::Key_7, Qt::Key_7},
    {17, 56, "Panel8", "8", "(", 5, Qt::Key_8, Qt::Key_8},
    {18, 57, "Panel9", "9", ")", 6, Qt::Key_9, Qt::Key_9},
    {19, 48, "Panel10", "0", "~", 7, Qt::Key_0, Qt::Key_0},
    {20, 189, "Panel11", "-", "=", -1, Qt::Key_Minus, Qt::Key_Minus},
    {21, 222, "Panel12", "^", "~", -1, Qt::Key_AsciiCircum, Qt::Key_Equal},
    {132, 220, "Panel13", "\\", "|", -1, Qt::Key_Backslash, 0},
    {24, 'Q', "Panel14", "Q", "Q", 0, Qt::Key_Q, Qt::Key_Q},
    {25, 'W', "Panel15", "W", "W", 1, Qt::Key_W, Qt::Key_W},
    {26, 'E', "Panel16", "E", "E", 2, Qt::Key_E, Qt::Key_E},
    {27, 'R', "Panel17", "R", "R", 3, Qt::Key_R, Qt::Key_R},
    {28, 'T', "Panel18", "T", "T", 3, Qt::Key_T, Qt::Key_T},
    {29, 'Y', "Panel19", "Y", "Y", 4, Qt::Key_Y, Qt::Key_Y},
    {30, 'U', "Panel20", "U", "U", 4, Qt::Key_U, Qt::Key_U},
    {31, 'I', "Panel21", "I", "I", 5, Qt::Key_I, Qt::Key_I},
    {32, 'O', "Panel22", "O", "O", 6, Qt::Key_O, Qt::Key_O},
    {33, 'P', "Panel23", "P", "P", 7, Qt::Key_P, Qt::Key_P},
    {34, 192, "Panel24", "@", "`", -1, Qt::Key_At, Qt::Key_BracketLeft},
    {35, 219, "Panel25", "[", "{", -1, Qt::Key_BracketLeft, Qt::Key_BracketRight},
    {38, 'A', "Panel26", "A", "A", 0, Qt::Key_A, Qt::Key_A},
    {39, 'S', "Panel27", "S", "S", 1, Qt::Key_S, Qt::Key_S},
    {40, 'D', "Panel28", "D", "D", 2, Qt::Key_D, Qt::Key_D},
    {41, 'F', "Panel29", "F", "F", 3, Qt::Key_F, Qt::Key_F},
    {42, 'G', "Panel30", "G", "G", 3, Qt::Key_G, Qt::Key_G},
    {43, 'H', "Panel31", "H", "H", 4, Qt::Key_H, Qt::Key_H},
    {44, 'J', "Panel32", "J", "J", 4, Qt::Key_J, Qt::Key_J},
    {45, 'K', "Panel33", "K", "K", 5, Qt::Key_K, Qt::Key_K},
    {46, 'L', "Panel34", "L", "L", 6, Qt::Key_L, Qt::Key_L},
    {47, 187, "Panel35", ";", "+", 7, Qt::Key_Semicolon, Qt::Key_Semicolon},
    {48, 186, "Panel36", ":", "*", -1, Qt::Key_Colon, Qt::Key_Apostrophe},
    {51, 221, "Panel37", "]", "}", -1, Qt::Key_BracketRight, Qt::Key_Backslash},
    {52, 'Z', "Panel38", "Z", "Z", 0, Qt::Key_Z, Qt::Key_Z},
    {53, 'X', "Panel39", "X", "X", 1, Qt::Key_X, Qt::Key_X},
    {54, 'C', "Panel40", "C", "C", 2, Qt::Key_C, Qt::Key_C},
    {55, 'V', "Panel41", "V", "V", 3, Qt::Key_V, Qt::Key_V},
    {56, 'B', "Panel42", "B", "B", 3, Qt::Key_B, Qt::Key_B},
    {57, 'N', "Panel43", "N", "N", 4, Qt::Key_N, Qt::Key_N},
    {58, 'M', "Panel44", "M", "M", 4, Qt::Key_M, Qt::Key_M},
    {59, 188, "Panel45", ",", "<", 5, Qt::Key_Comma, Qt::Key_Comma},
    {60, 190, "Panel46", ".", ">", 6, Qt::Key_Period, Qt::Key_Period},
    {61, 191, "Panel47", "/", "?", 7, Qt::Key_Slash, Qt::Key_Slash},
    {97, 226, "Panel48", "_", "_", -1, Qt::Key_Backslash, 0},
};

// X keycodes of the modifier keys driven by the real-display test.
inline constexpr quint32 kShiftL = 50, kShiftR = 62, kCtrlL = 37, kEisu = 66;

} // namespace jis
