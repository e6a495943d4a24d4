#pragma once
#include <QtGlobal>
#include <array>

class QObject;
class TPanel;

// Windows virtual-key codes the program handles by name.
enum VirtualKey : quint16 {
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkMenu = 18,
    vkEscape = 27,
    vkSpace = 32,
    vkDown = 40,
    vkCapsJis = 240,
};

struct KeyEntry {
    TPanel* panel = nullptr;
    char homeKey = ' ';
    char shiftedChar = ' ';
    char baseChar = ' ';
};

using KeyTable = std::array<KeyEntry, 256>;

// The digit and punctuation keys whose captions flip while Shift is held.
struct ShiftCaptionKeys {
    static constexpr int kCapacity = 30;
    qint32 count = 0;
    std::array<qint32, kCapacity> codes{};
};

// Every entry without a panel and blank characters; the list emptied.
void clearKeyTable(KeyTable& table, ShiftCaptionKeys& shiftKeys);
// Walks the panels owned by root in creation order, registering each by its
// caption, then gives every entry its finger's home key.
void BuildKeyTable(QObject* root, KeyTable& table, ShiftCaptionKeys& shiftKeys);
// The key code of a punctuation character of the JIS layout, or 0.
int punctuationKeyCode(char c);
// The code of the key that types character c: punctuation by the JIS table, a blank
// as the space bar, anything else its own code.
int keyCodeOfChar(char c);
// The key that types a printable character 0x21-0x7E of the JIS layout, with or
// without Shift; 0 for any other byte.
int keyOfPrintable(char c);
