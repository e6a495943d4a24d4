#include "JisKeys.h"

namespace {

struct Symbol {
    char c;
    int vk;
    bool shift;
};
// The punctuation of the JIS layout, unshifted and shifted. The ro key types a
// backslash as the yen key does; the guide shows the yen key, listed first.
constexpr Symbol kSymbols[] = {
    {' ', 32, false},  {'!', '1', true},  {'"', '2', true},  {'#', '3', true},   {'$', '4', true},
    {'%', '5', true},  {'&', '6', true},  {'\'', '7', true}, {'(', '8', true},   {')', '9', true},
    {'-', 189, false}, {'=', 189, true},  {'^', 222, false}, {'~', 222, true},   {'\\', 220, false},
    {'|', 220, true},  {'@', 192, false}, {'`', 192, true},  {'[', 219, false},  {'{', 219, true},
    {';', 187, false}, {'+', 187, true},  {':', 186, false}, {'*', 186, true},   {']', 221, false},
    {'}', 221, true},  {',', 188, false}, {'<', 188, true},  {'.', 190, false},  {'>', 190, true},
    {'/', 191, false}, {'?', 191, true},  {'_', 226, true},  {'\\', 226, false},
};

} // namespace

KeyStroke jisKeyOfChar(char c) {
    if (c >= 'a' && c <= 'z') return {c - 'a' + 'A', false};
    if (c >= 'A' && c <= 'Z') return {c, true};
    if (c >= '0' && c <= '9') return {c, false};
    for (const Symbol& s : kSymbols)
        if (s.c == c) return {s.vk, s.shift};
    return {};
}

char jisCharOfKey(int vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return char(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9' && !shift) return char(vk);
    for (const Symbol& s : kSymbols)
        if (s.vk == vk && s.shift == shift) return s.c;
    return 0;
}
