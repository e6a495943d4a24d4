#include "MadeUpWords.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kShortest = 2, kLongest = 8;
constexpr int kNeedWeight = 3; // how much more often a walk steps onto a needed letter

bool isVowel(QChar c) {
    switch (c.unicode()) {
    case 'a':
    case 'e':
    case 'i':
    case 'o':
    case 'u':
    case 'y':
        return true;
    default:
        return false;
    }
}

// Whether the word can be said and does not stutter with `next` after it: no three
// vowels or three consonants in a row, no pair of letters twice ("lalla"). Every kana
// is a syllable of its own, but stutters all the same.
bool sayable(const QString& w, QChar next) {
    const qsizetype n = w.size();
    const QChar* d = w.constData();
    const QChar last = d[n - 1];
    for (qsizetype i = 1; i < n - 1; ++i)
        if (d[i - 1] == last && d[i] == next) return false;
    if (n < 2 || d[0].unicode() >= 128) return true;
    const QChar a = d[n - 2];
    return isVowel(a) != isVowel(last) || isVowel(last) != isVowel(next);
}

bool hasVowel(const QString& w) {
    for (QChar c : w)
        if (c.unicode() >= 128 || isVowel(c)) return true;
    return false;
}

quint32 keyOf(QChar a, QChar b) {
    return quint32(a.unicode()) << 16 | b.unicode();
}

// A letter twice in a row, which a word has once at most.
bool hasDouble(const QString& w) {
    for (qsizetype i = 1; i < w.size(); ++i)
        if (w[i] == w[i - 1]) return true;
    return false;
}

// Common pairs come up more often than rare ones, but not overwhelmingly.
int weightOf(int count) {
    return count <= 0 ? 0 : 1 + int(std::sqrt(double(count)));
}

} // namespace

MadeUpWords::MadeUpWords(const QStringList& words) : lengths_(kLongest + 1, 0) {
    for (const QString& w : words) {
        if (w.size() < kShortest) continue;
        ++starts_[keyOf(w[0], w[1])];
        ++ends_[keyOf(w[w.size() - 2], w.back())];
        for (qsizetype i = 1; i < w.size(); ++i) ++pairs_[keyOf(w[i - 1], w[i])];
        ++lengths_[std::size_t(std::min<qsizetype>(w.size(), kLongest))];
    }
}

QString MadeUpWords::make(const QString& letters, const QString& needs, bool blank,
                          const std::function<int(int)>& rnd) const {
    auto countIn = [](const Pairs& pairs, QChar a, QChar b) { return pairs.value(keyOf(a, b)); };
    auto weightFor = [&](int count, QChar a, QChar b) {
        int w = weightOf(count);
        if (needs.contains(a)) w *= kNeedWeight;
        if (!b.isNull() && needs.contains(b)) w *= kNeedWeight;
        return w;
    };
    // Each choice two letters (the second null for one) and the weights up to it.
    auto add = [](Choices& choice, QChar a, QChar b, int w) {
        choice.push_back({{a, b}, (choice.empty() ? 0 : choice.back().second) + w});
    };
    auto pick = [&](const Choices& choice) {
        const int r = rnd(choice.back().second);
        return std::upper_bound(choice.begin(), choice.end(), r,
                                [](int v, const auto& c) { return v < c.second; })
            ->first;
    };
    // It begins as words begin.
    Choices steps;
    auto cached = startChoices_.find(letters + QChar(0) + needs);
    if (cached == startChoices_.end()) {
        Choices made;
        for (QChar a : letters)
            for (QChar b : letters)
                if (const int w = weightFor(countIn(starts_, a, b), a, b)) add(made, a, b, w);
        cached = startChoices_.insert(letters + QChar(0) + needs, made);
    }
    const Choices& starts = cached.value();
    // What may follow each letter, and how many words hold the pair.
    auto following = successors_.find(letters);
    if (following == successors_.end()) {
        Successors made;
        for (QChar a : letters)
            for (QChar b : letters)
                if (const int n = countIn(pairs_, a, b)) made[a.unicode()].push_back({b, n});
        following = successors_.insert(letters, made);
    }
    const Successors& nexts = following.value();
    int lengthTotal = 0;
    for (int n : lengths_) lengthTotal += n;
    if (starts.empty() || lengthTotal == 0) return {};

    QString best;
    double bestShare = -1;
    for (int attempt = 0; attempt < 24; ++attempt) {
        // A length as the list's words have.
        int length = rnd(lengthTotal);
        int want = 0;
        while (length >= lengths_[std::size_t(want)]) length -= lengths_[std::size_t(want++)];
        // Shorter, where long ones keep the needed letter too rare.
        if (attempt >= 16)
            want = std::min(want, 3);
        else if (attempt >= 8)
            want = std::min(want, 4);
        const auto first = pick(starts);
        QString w = QString(first.first) + first.second;
        // It goes on over pairs words hold.
        while (w.size() < want) {
            steps.clear();
            const bool doubled = hasDouble(w);
            for (const auto& [c, count] : nexts.value(w.back().unicode())) {
                if (doubled && c == w.back()) continue;
                if (sayable(w, c)) add(steps, c, QChar(), weightFor(count, c, QChar()));
            }
            if (steps.empty()) break;
            w += pick(steps).first;
        }
        // It ends as words end.
        while (w.size() > kShortest && !countIn(ends_, w[w.size() - 2], w.back())) w.chop(1);
        if (!countIn(ends_, w[w.size() - 2], w.back()) || !hasVowel(w)) continue;
        if (needs.isEmpty()) return w;
        const int held = int(w.count(needs.front()));
        bool all = true;
        for (QChar n : needs) all = all && w.contains(n);
        if (!all) continue;
        const double share = double(held) / double(w.size() + (blank ? 1 : 0));
        if (share * 4 >= 1) return w;
        if (share > bestShare) {
            bestShare = share;
            best = w;
        }
    }
    return best;
}
