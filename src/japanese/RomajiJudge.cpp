#include "RomajiJudge.h"

#include "KanaText.h"

void RomajiJudge::reset(const QString& reading) {
    text_.clear();
    shown_.clear();
    for (const QChar written : reading) {
        const QChar c = kana::toHiragana(kana::foldWidth(written));
        if (!kana::isTypeable(c)) continue;
        text_ += c.unicode();
        shown_ += written;
    }
    options_.assign(text_.size(), {});
    for (std::size_t i = 0; i < text_.size(); ++i) options_[i] = romajiOptionsAt(text_, i);
    typed_.clear();
    live_.clear();
    finished_ = false;
    expand(0, live_);
}

void RomajiJudge::expand(int at, std::vector<Hypothesis>& out) {
    while (at < int(text_.size()) && options_[std::size_t(at)].empty()) ++at;
    if (at >= int(text_.size())) {
        finished_ = true;
        return;
    }
    const auto& opts = options_[std::size_t(at)];
    for (int k = 0; k < int(opts.size()); ++k) {
        bool seen = false;
        for (const Hypothesis& h : out) seen = seen || (h.at == at && h.option == k && h.pos == 0);
        if (!seen) out.push_back({at, k, 0});
    }
}

bool RomajiJudge::pressChar(char c) {
    if (finished_ || c == 0) return false;
    std::vector<Hypothesis> next;
    for (const Hypothesis& h : live_) {
        const std::string& letters = options_[std::size_t(h.at)][std::size_t(h.option)].letters;
        if (letters[std::size_t(h.pos)] != c) continue;
        if (h.pos + 1 < int(letters.size())) {
            next.push_back({h.at, h.option, h.pos + 1});
            continue;
        }
        expand(h.at + options_[std::size_t(h.at)][std::size_t(h.option)].kana, next);
        if (finished_) break;
    }
    if (next.empty() && !finished_) return false;
    typed_ += c;
    live_ = std::move(next);
    if (finished_) live_.clear();
    return true;
}

KeyVerdict RomajiJudge::press(int vk, bool shift) {
    if (isModifierKey(vk)) return KeyVerdict::Ignored;
    return pressChar(jisCharOfKey(vk, shift)) ? KeyVerdict::Accepted : KeyVerdict::Mistype;
}

std::string RomajiJudge::remaining() const {
    if (finished_ || live_.empty()) return {};
    const Hypothesis& h = live_.front();
    const RomajiOption& current = options_[std::size_t(h.at)][std::size_t(h.option)];
    std::string out = current.letters.substr(std::size_t(h.pos));
    for (int at = h.at + current.kana; at < int(text_.size());) {
        if (options_[std::size_t(at)].empty()) {
            ++at;
            continue;
        }
        const RomajiOption& usual = options_[std::size_t(at)].front();
        out += usual.letters;
        at += usual.kana;
    }
    return out;
}

QString RomajiJudge::remainingReading() const {
    if (finished_ || live_.empty()) return {};
    return shown_.sliced(live_.front().at);
}

KeyStroke RomajiJudge::guide() const {
    if (finished_ || live_.empty()) return {};
    const Hypothesis& h = live_.front();
    return jisKeyOfChar(
        options_[std::size_t(h.at)][std::size_t(h.option)].letters[std::size_t(h.pos)]);
}
