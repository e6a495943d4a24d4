#include "KeyTable.h"

#include "TPanel.h"
#include "TextBytes.h"

#include <cstring>

namespace {

struct Punctuation {
    char base;
    int code;
    char shifted;
};
constexpr Punctuation kPunctuation[] = {
    {',', 188, '<'},  {'-', 189, '='}, {'.', 190, '>'}, {'/', 191, '?'},
    {':', 186, '*'},  {';', 187, '+'}, {'@', 192, '`'}, {'[', 219, '{'},
    {'\\', 220, '|'}, {']', 221, '}'}, {'^', 222, '~'}, {'_', 226, '_'},
};

constexpr char kDigitShifted[10] = {'~', '!', '"', '#', '$', '%', '&', '\'', '(', ')'};

struct NamedKey {
    const char* caption;
    int code;
};
constexpr NamedKey kNamedKeys[] = {{"Esc", 27},  {"Tab", 9},    {"Lock", 240}, {"Shift", 16},
                                   {"Ctrl", 17}, {"Enter", 13}, {"BS", 8}};

// Each finger's home key and the keys (by unshifted character) that finger types.
struct Finger {
    char home;
    const char* keys;
};
constexpr Finger kFingers[] = {{'a', "1qaz"},     {'s', "2wsx"}, {'d', "3edc"}, {'f', "45rtfgvb"},
                               {'j', "67yuhjnm"}, {'k', "8ik,"}, {'l', "9ol."}, {';', "0p;/"}};

char homeKeyOf(char base) {
    if (base != '\0')
        for (const Finger& f : kFingers)
            if (std::strchr(f.keys, base)) return f.home;
    return ' ';
}

void appendShiftKey(ShiftCaptionKeys& keys, int code) {
    // Room for 30; a design with more such keys keeps the first 30 flipping.
    if (keys.count < ShiftCaptionKeys::kCapacity) keys.codes[std::size_t(keys.count++)] = code;
}

void registerPanel(TPanel* panel, KeyTable& table, ShiftCaptionKeys& keys) {
    const QByteArray caption = captionBytes(panel->caption());
    if (caption.size() == 1) {
        const char c = caption[0];
        if (c >= '0' && c <= '9') {
            auto& e = table[std::size_t(static_cast<unsigned char>(c))];
            e.panel = panel;
            e.baseChar = c;
            e.shiftedChar = kDigitShifted[c - '0'];
            appendShiftKey(keys, c);
        } else if (c >= 'A' && c <= 'Z') {
            auto& e = table[std::size_t(static_cast<unsigned char>(c))];
            e.panel = panel;
            e.shiftedChar = c;
            e.baseChar = char(c - 'A' + 'a');
        } else if (const int code = punctuationKeyCode(c)) {
            auto& e = table[std::size_t(code)];
            e.panel = panel;
            e.baseChar = c;
            for (const auto& p : kPunctuation)
                if (p.base == c) e.shiftedChar = p.shifted;
            appendShiftKey(keys, code);
        } else if (c == ' ') {
            auto& e = table[vkSpace];
            e.panel = panel;
            e.shiftedChar = ' ';
            e.baseChar = ' ';
        }
        return;
    }
    for (const auto& named : kNamedKeys) {
        if (caption == named.caption) {
            auto& e = table[std::size_t(named.code)];
            e.panel = panel;
            e.shiftedChar = 0;
            e.baseChar = 0;
            return;
        }
    }
}

} // namespace

int punctuationKeyCode(char c) {
    for (const auto& p : kPunctuation)
        if (p.base == c) return p.code;
    return 0;
}

int keyCodeOfChar(char c) {
    if (c == ' ') return vkSpace;
    if (const int code = punctuationKeyCode(c)) return code;
    return static_cast<unsigned char>(c);
}

int keyOfPrintable(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    for (const auto& p : kPunctuation)
        if (p.base == c || p.shifted == c) return p.code;
    // '~' is the caret key's, found above; the digits' shifted signs from 1 up.
    for (int d = 1; d <= 9; ++d)
        if (kDigitShifted[d] == c) return '0' + d;
    return 0;
}

void clearKeyTable(KeyTable& table, ShiftCaptionKeys& shiftKeys) {
    table.fill(KeyEntry{});
    shiftKeys.count = 0;
}

void BuildKeyTable(QObject* root, KeyTable& table, ShiftCaptionKeys& shiftKeys) {
    clearKeyTable(table, shiftKeys);
    // findChildren visits depth first in creation order: a container's children
    // come right after it, as the designs list them.
    const auto children = root->findChildren<QObject*>();
    for (QObject* obj : children) {
        if (qstricmp(obj->metaObject()->className(), "TPanel") != 0) continue;
        if (auto* panel = qobject_cast<TPanel*>(obj)) registerPanel(panel, table, shiftKeys);
    }
    for (auto& e : table) e.homeKey = e.panel ? homeKeyOf(e.baseChar) : ' ';
}
