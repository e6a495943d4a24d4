#include "PaceGhost.h"

#include <algorithm>
#include <cmath>

namespace {

bool isModifier(int vk) {
    return vk == 16 || vk == 17 || vk == 18 || vk == 240;
}

} // namespace

int paceTarget(const QString& kept) {
    bool ok = false;
    const int v = kept.toInt(&ok);
    return ok && v >= kPaceTargetLow && v <= kPaceTargetHigh ? v : kPaceTargetDefault;
}

bool PaceGhost::step(qint64 ms) {
    // As the judging: a line end passes its CR LF pair with one key, and the run ends
    // past the text's last character.
    if (!text_.isEmpty() && position_ > text_.size()) return false;
    const bool lineEnd = position_ < text_.size() && text_[position_] == '\r';
    position_ += lineEnd ? 2 : 1;
    steps_.emplace_back(ms, position_);
    return text_.isEmpty() || position_ <= text_.size();
}

PaceGhost PaceGhost::steady(int keysPerMinute, QByteArrayView text) {
    PaceGhost g;
    g.text_ = text.toByteArray();
    g.msPerKey_ = 60000.0 / std::clamp(keysPerMinute, kPaceTargetLow, kPaceTargetHigh);
    if (!g.text_.isEmpty())
        for (qint64 k = 1; g.step(qint64(std::llround(double(k) * g.msPerKey_))); ++k) {
        }
    return g;
}

PaceGhost PaceGhost::replay(QByteArrayView encoded, int fallbackKeysPerMinute,
                            QByteArrayView text) {
    const auto keys = keystrokes::decode(encoded);
    if (!keys) return steady(fallbackKeysPerMinute, text);
    return replay(*keys, fallbackKeysPerMinute, text);
}

PaceGhost PaceGhost::replay(const std::vector<Keystroke>& keys, int fallbackKeysPerMinute,
                            QByteArrayView text) {
    PaceGhost g;
    g.text_ = text.toByteArray();
    g.replaying_ = true;
    for (const Keystroke& k : keys)
        if (k.right && !isModifier(k.vk) && !g.step(k.ms)) break;
    if (g.steps_.empty()) return steady(fallbackKeysPerMinute, text);
    return g;
}

int PaceGhost::positionAt(qint64 ms) const {
    if (steps_.empty()) return ms <= 0 ? 0 : int(double(ms) / msPerKey_);
    const auto after = std::upper_bound(steps_.begin(), steps_.end(), ms,
                                        [](qint64 t, const auto& s) { return t < s.first; });
    return after == steps_.begin() ? 0 : std::prev(after)->second;
}

qint64 PaceGhost::msAt(int position) const {
    if (position <= 0) return 0;
    if (steps_.empty()) return qint64(std::llround(double(position) * msPerKey_));
    const auto at = std::lower_bound(steps_.begin(), steps_.end(), position,
                                     [](const auto& s, int p) { return s.second < p; });
    if (at != steps_.end()) return at->first;
    const auto& [lastMs, lastPos] = steps_.back();
    return lastMs + qint64(std::llround(double(position - lastPos) * double(lastMs) / lastPos));
}
