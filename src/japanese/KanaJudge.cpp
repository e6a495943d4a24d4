#include "KanaJudge.h"

#include "KanaLayout.h"
#include "KanaText.h"

void KanaJudge::reset(const QString& reading) {
    units_.clear();
    for (QChar c : reading) {
        auto keys = kanalayout::keysOf(kana::toHiragana(c));
        if (!keys.empty()) units_.push_back({c, std::move(keys)});
    }
    unit_ = 0;
    key_ = 0;
}

KeyVerdict KanaJudge::press(int vk, bool shift) {
    if (isModifierKey(vk)) return KeyVerdict::Ignored;
    if (finished() || units_[std::size_t(unit_)].keys[std::size_t(key_)] != KeyStroke{vk, shift})
        return KeyVerdict::Mistype;
    if (++key_ == int(units_[std::size_t(unit_)].keys.size())) {
        ++unit_;
        key_ = 0;
    }
    return KeyVerdict::Accepted;
}

KeyStroke KanaJudge::guide() const {
    return finished() ? KeyStroke{} : units_[std::size_t(unit_)].keys[std::size_t(key_)];
}

QString KanaJudge::typedText() const {
    QString out;
    for (int i = 0; i < unit_; ++i) out += units_[std::size_t(i)].kana;
    // A voiced kana half typed shows its base.
    if (key_ > 0) out += kanalayout::legendOf(units_[std::size_t(unit_)].keys[0].vk, false);
    return out;
}

QString KanaJudge::remainingReading() const {
    QString out;
    for (int i = unit_; i < int(units_.size()); ++i) out += units_[std::size_t(i)].kana;
    return out;
}

QString KanaJudge::remainingText() const {
    QString out;
    if (key_ > 0)
        out += kanalayout::legendOf(units_[std::size_t(unit_)].keys[std::size_t(key_)].vk, false);
    for (int i = unit_ + (key_ > 0 ? 1 : 0); i < int(units_.size()); ++i)
        out += units_[std::size_t(i)].kana;
    return out;
}
