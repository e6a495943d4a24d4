#pragma once
#include "JisKeys.h"

#include <QChar>
#include <QString>
#include <vector>

// The kana arrangement printed on JIS keyboards.
namespace kanalayout {

constexpr int kDakutenKey = 192;    // the @ key: ゛
constexpr int kHandakutenKey = 219; // the [ key: ゜

// The keys that type hiragana c (or 、。・「」ー): one key, or the base kana's key and
// then ゛ or ゜; empty when the arrangement has no way to type it.
std::vector<KeyStroke> keysOf(QChar c);
// The legend of a key in kana input: what it types with or without Shift; a null
// character when it types no kana.
QChar legendOf(int vk, bool shift);

} // namespace kanalayout
