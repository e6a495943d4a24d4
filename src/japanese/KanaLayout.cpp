#include "KanaLayout.h"

#include "KanaText.h"

namespace kanalayout {
namespace {

struct KanaKey {
    char16_t kana;
    int vk;
    bool shift;
};

// Each key's kana, unshifted, then the small kana and brackets Shift gives.
constexpr KanaKey kKeys[] = {
    {u'ぬ', '1', false}, {u'ふ', '2', false}, {u'あ', '3', false}, {u'う', '4', false},
    {u'え', '5', false}, {u'お', '6', false}, {u'や', '7', false}, {u'ゆ', '8', false},
    {u'よ', '9', false}, {u'わ', '0', false}, {u'ほ', 189, false}, {u'へ', 222, false},
    {u'ー', 220, false}, {u'た', 'Q', false}, {u'て', 'W', false}, {u'い', 'E', false},
    {u'す', 'R', false}, {u'か', 'T', false}, {u'ん', 'Y', false}, {u'な', 'U', false},
    {u'に', 'I', false}, {u'ら', 'O', false}, {u'せ', 'P', false}, {u'゛', 192, false},
    {u'゜', 219, false}, {u'ち', 'A', false}, {u'と', 'S', false}, {u'し', 'D', false},
    {u'は', 'F', false}, {u'き', 'G', false}, {u'く', 'H', false}, {u'ま', 'J', false},
    {u'の', 'K', false}, {u'り', 'L', false}, {u'れ', 187, false}, {u'け', 186, false},
    {u'む', 221, false}, {u'つ', 'Z', false}, {u'さ', 'X', false}, {u'そ', 'C', false},
    {u'ひ', 'V', false}, {u'こ', 'B', false}, {u'み', 'N', false}, {u'も', 'M', false},
    {u'ね', 188, false}, {u'る', 190, false}, {u'め', 191, false}, {u'ろ', 226, false},
    {u'ぁ', '3', true},  {u'ぅ', '4', true},  {u'ぇ', '5', true},  {u'ぉ', '6', true},
    {u'ゃ', '7', true},  {u'ゅ', '8', true},  {u'ょ', '9', true},  {u'を', '0', true},
    {u'ぃ', 'E', true},  {u'っ', 'Z', true},  {u'「', 219, true},  {u'」', 221, true},
    {u'、', 188, true},  {u'。', 190, true},  {u'・', 191, true},
};

} // namespace

std::vector<KeyStroke> keysOf(QChar c) {
    const char16_t u = c.unicode();
    for (const KanaKey& k : kKeys)
        if (k.kana == u) return {{k.vk, k.shift}};
    // A voiced kana: its base's key, then the mark's.
    const auto [base, mark] = kana::splitVoicing(c);
    if (mark == kana::Voicing::None) return {};
    const std::vector<KeyStroke> baseKeys = keysOf(base);
    if (baseKeys.empty()) return {};
    return {baseKeys.front(),
            {mark == kana::Voicing::Voiced ? kDakutenKey : kHandakutenKey, false}};
}

QChar legendOf(int vk, bool shift) {
    for (const KanaKey& k : kKeys)
        if (k.vk == vk && k.shift == shift) return QChar(k.kana);
    return {};
}

} // namespace kanalayout
