#include "CourseBank.h"
#include "CourseNumbers.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <map>

// The lesson builder: tokens of the unlocked keys that keep the focus and newest keys
// at their shares and no token at more than its own.
namespace course {
namespace {

using Word = WordBank::Data::Word;

int countOf(const Word& w, int index) {
    return int(std::count(w.keys.begin(), w.keys.end(), std::uint8_t(index)));
}

// No token comes back more often than one in twelve of the lesson's, so a lesson has
// at least twelve different ones.
constexpr int kRepeatShare = 12;
// Real words while this many fit, made-up ones mixed in below it.
constexpr int kEnoughWords = 30, kEnoughRich = 8;
// Made-up words of a kind a lesson makes before it mostly reuses them.
constexpr std::size_t kEnoughMadeUp = 12;

// Builds one lesson: keeps the focus and newest keys at their shares token by token.
class LessonMaker {
public:
    LessonMaker(const WordBank::Data& bank, Track track, int unlocked, int focus,
                const std::function<int()>& random)
        : bank_(bank), track_(track), focus_(focus), newest_(unlocked - 1), random_(random) {
        const Mask open = unlocked >= 64 ? ~Mask(0) : (Mask(1) << unlocked) - 1;
        for (const Word& w : bank.words)
            if ((w.mask & ~open) == 0 && w.presses <= 10) pool_.push_back(&w);
        for (const Word* w : pool_) {
            if (w->presses <= 2) few_.push_back(w);
            if (w->presses >= 2 && w->presses <= 4) short_.push_back(w);
        }
        const std::vector<CourseKey>& keys = keyOrder(track);
        for (int i = 0; i < unlocked; ++i) {
            const QString& cap = keys[std::size_t(i)].cap;
            if (track == Track::Letters && cap.size() == 1 && cap[0].isLetter())
                letters_ += cap.toLower();
            if (track == Track::Kana && cap.size() == 1 && !QStringLiteral("゛゜ー").contains(cap))
                kana_ += cap;
        }
        shift_ = indexOfVk(track, kShiftKey);
        shiftOpen_ = shift_ < unlocked;
        for (int i = 0; i < unlocked; ++i)
            if (QStringLiteral(",.;").contains(keys[std::size_t(i)].cap))
                punctuation_ += keys[std::size_t(i)].cap;
        if (track == Track::Letters) {
            // What the open keys type. The tilde is left out: the practice text counts
            // it on the 0 key, whose Shift types it too on this keyboard.
            chars_.resize(std::size_t(unlocked));
            for (char c = 0x21; c < 0x7F; ++c) {
                const KeyStroke k = jisKeyOfChar(c);
                const int i = indexOfVk(track, k.vk);
                if (i < 0 || i >= unlocked || (k.shift && !shiftOpen_) || c == '~') continue;
                open_ += QLatin1Char(c);
                chars_[std::size_t(i)] += QLatin1Char(c);
                if (c >= '0' && c <= '9') digitsOpen_ = true;
            }
        }
        numbers_ = std::make_unique<NumberTokens>(open_);
    }

    Lesson make() {
        Lesson lesson;
        lesson.focus = focus_;
        lesson.newest = newest_;
        QString line;
        int lineKeys = 0;
        std::vector<bool> pressed(keyOrder(track_).size());
        while (lesson.keys < kLessonKeys) {
            // A fifth, with room, for the focus key; a tenth for the newest key besides.
            const bool focusLow = lesson.keys == 0 || lesson.focusPresses * 100 < 24 * lesson.keys;
            const bool newestLow =
                newest_ != focus_ && lesson.newestPresses * 100 < 13 * lesson.keys;
            // How far each is below its share, as a part of that share.
            behind_ = 1 - double(lesson.focusPresses) / (0.24 * std::max(1, lesson.keys)) >
                      1 - double(lesson.newestPresses) / (0.13 * std::max(1, lesson.keys));
            std::vector<int> needs;
            if (focusLow) needs.push_back(focus_);
            if (newestLow) needs.push_back(newest_);
            // The start keys have no lesson of their own: each comes at least once.
            for (int i = 0; needs.empty() && i < startKeys(track_); ++i)
                if (!pressed[std::size_t(i)]) needs.push_back(i);
            Word w;
            w.text = next(needs);
            if (!describe(track_, w)) continue;
            ++uses_[w.text];
            ++tokens_;
            formWords_.clear();
            if (track_ == Track::Letters) {
                if (!lesson.text.isEmpty()) {
                    lesson.text += QLatin1Char(' ');
                    ++lesson.keys;
                }
                lesson.text += w.text;
            } else {
                // Kana phrases of a few words, one a line; the blanks are not typed.
                if (lineKeys > 0 && lineKeys + w.presses > 16) {
                    lesson.text += line + QLatin1Char('\n');
                    line.clear();
                    lineKeys = 0;
                }
                line += (line.isEmpty() ? QString() : QStringLiteral("　")) + w.text;
                lineKeys += w.presses;
            }
            lesson.keys += w.presses;
            lesson.focusPresses += countOf(w, focus_);
            lesson.newestPresses += countOf(w, newest_);
            for (std::uint8_t k : w.keys) pressed[k] = true;
        }
        if (!line.isEmpty()) lesson.text += line;
        return lesson;
    }

private:
    int rnd(int n) { return n <= 1 ? 0 : random_() % n; }
    template <class T> const T& pick(const std::vector<T>& v) {
        return v[std::size_t(rnd(int(v.size())))];
    }
    QChar pickChar(const QString& s) { return s[rnd(int(s.size()))]; }
    const QString& capOf(int index) const { return keyOrder(track_)[std::size_t(index)].cap; }

    // Whether the token may come once more and stay within its share.
    bool fresh(const QString& t) const {
        const auto it = uses_.find(t);
        return it == uses_.end() || (it.value() + 1) * kRepeatShare <= tokens_ + 1;
    }

    // A token for the keys in need, not yet used up to its share if one can be found.
    QString next(const std::vector<int>& needs) {
        QString t;
        for (int attempt = 0; attempt < 24; ++attempt) {
            // Where tokens holding both keys run out, one for the key further behind. A
            // number row key's tokens hold the focus key too while they can.
            const bool both = needs.size() == 2 || (needs.size() == 1 && needs[0] == newest_ &&
                                                    newest_ > shift_ && focus_ != newest_);
            if (both && attempt < 8)
                t = pair(focus_, newest_);
            else if (needs.empty())
                t = token(-1);
            else
                t = token(needs.size() == 2 && !behind_ ? needs[1] : needs[0]);
            if (fresh(t)) break;
        }
        return t;
    }

    // Words of the pool where the key is at least a third of the presses, or a quarter
    // where too few are that rich.
    const std::vector<const Word*>& richIn(int index) {
        auto& list = rich_[index];
        if (!computed_[index]) {
            computed_[index] = true;
            const int blank = track_ == Track::Letters ? 1 : 0;
            for (int part : {3, 4}) {
                list.clear();
                for (const Word* w : pool_)
                    if (countOf(*w, index) * part >= w->presses + blank) list.push_back(w);
                if (int(list.size()) >= kEnoughRich) break;
            }
        }
        return list;
    }

    // A real word of the list, or a made-up one as often as the list has too few.
    QString wordOf(const std::vector<const Word*>& words, int enough, int need) {
        const Word* w = freshOf(words, enough);
        if (!w) return madeUp(need);
        // The richest of three, so the key keeps its share beside another key's tokens.
        for (int more = 0; more < 2 && need >= 0; ++more) {
            const Word* other = freshOf(words, 0);
            if (other && countOf(*other, need) * w->presses > countOf(*w, need) * other->presses)
                w = other;
        }
        return w->text;
    }

    // A word of the list not yet used up, as often as `enough` words would give one (a
    // short list is counted; a long one is drawn from); none otherwise.
    const Word* freshOf(const std::vector<const Word*>& words, int enough,
                        const std::function<bool(const Word&)>& fits = {}) {
        const auto ok = [&](const Word* w) { return fresh(w->text) && (!fits || fits(*w)); };
        if (words.size() <= 64) {
            std::vector<const Word*> left;
            for (const Word* w : words)
                if (ok(w)) left.push_back(w);
            return rnd(std::max(enough, 1)) < int(left.size()) ? pick(left) : nullptr;
        }
        if (rnd(std::max(enough, 1)) >= int(words.size())) return nullptr;
        for (int attempt = 0; attempt < 8; ++attempt)
            if (const Word* w = pick(words); ok(w)) return w;
        return nullptr;
    }

    QString token(int need) {
        if (track_ == Track::Letters && need >= 0 && !isLetterKey(need)) {
            if (need != shift_) {
                const QString t = numbers_->make(
                    {chars_[std::size_t(need)]}, [this] { return formWord(-1); },
                    [this](int n) { return rnd(n); });
                if (!t.isEmpty()) return t;
            }
            return decorate(shortWord(2), need);
        }
        QString t;
        if (need < 0) {
            // Now and then a number, once the number row has keys.
            if (digitsOpen_ && rnd(8) == 0)
                t = numbers_->make(
                    {}, [this] { return formWord(-1); }, [this](int n) { return rnd(n); });
            if (!t.isEmpty()) return t;
            t = wordOf(pool_, kEnoughWords, -1);
        } else {
            t = wordOf(richIn(need), kEnoughRich, need);
        }
        // Lessons with Shift read like text: now and then a sign or a capital.
        if (track_ == Track::Letters && need < 0) {
            if (shiftOpen_ && rnd(6) == 0) t = t.left(1).toUpper() + t.mid(1);
            if (!punctuation_.isEmpty() && rnd(6) == 0) t += pickChar(punctuation_);
        }
        return t;
    }

    bool isLetterKey(int index) const {
        const QString& cap = capOf(index);
        return cap.size() == 1 && cap[0].isLetter() && cap[0].unicode() < 128;
    }

    // One short token holding both keys, when both are short of their shares.
    QString pair(int a, int b) {
        if (track_ == Track::Kana) return kanaSyllable(a) + kanaSyllable(b);
        const bool la = isLetterKey(a), lb = isLetterKey(b);
        if (la && lb) {
            // A real word rich in the one that holds the other, else a made-up one.
            if (const Word* w = freshOf(richIn(a), kEnoughRich,
                                        [b](const Word& w) { return countOf(w, b) > 0; }))
                return w->text;
            const QString t = bank_.madeUp->make(letters_, capOf(a).toLower() + capOf(b).toLower(),
                                                 true, [this](int n) { return rnd(n); });
            return t.isEmpty() ? letterSyllable(a) + capOf(b).toLower() : t;
        }
        if (a != shift_ && b != shift_) {
            // The forms' words rich in the letter, where one is needed.
            const int letter = la ? a : lb ? b : -1;
            for (int attempt = 0; attempt < 8; ++attempt) {
                Word w;
                w.text = numbers_->make(
                    {chars_[std::size_t(a)], chars_[std::size_t(b)]},
                    [this, letter] { return formWord(letter); }, [this](int n) { return rnd(n); },
                    5);
                // Only where it keeps both at their shares on its own.
                if (describe(track_, w) && countOf(w, a) * 5 >= w.presses + 1 &&
                    countOf(w, b) * 10 >= w.presses + 1 && fresh(w.text))
                    return w.text;
            }
        }
        // The number row's keys do not hang on words: a token for the one further behind.
        if (a > shift_ || b > shift_) return token(behind_ ? a : b);
        QString base = la ? madeUp(a) : lb ? madeUp(b) : shortWord(2);
        // A sign between letters keeps only the first: let that be the letter needed.
        const int sign = la ? b : a;
        if (la != lb && (capOf(sign) == QStringLiteral("-") || capOf(sign) == QStringLiteral("/")))
            base = capOf(la ? a : b).toLower();
        for (int k : {a, b})
            if (!isLetterKey(k)) base = decorate(base, k);
        return base;
    }

    // A token made to press a sign or Shift.
    QString decorate(const QString& base, int index) {
        if (index == shift_) return base.left(1).toUpper() + base.mid(1);
        const QChar sign = chars_[std::size_t(index)].front();
        // Between two letters, short enough to keep the sign at its share.
        if (sign == QLatin1Char('-') || sign == QLatin1Char('/'))
            return base.left(1) + sign + pickChar(letters_);
        return base + sign;
    }

    // A word for the number forms: a short one, or one rich in the letter. A few are
    // drawn for each token, as the forms are tried many times over.
    QString formWord(int letter) {
        std::vector<QString>& drawn = formWords_[letter];
        if (drawn.size() < 4) drawn.push_back(letter < 0 ? shortWord(4) : richWord(letter));
        return pick(drawn);
    }

    // A short word rich in the letter: a real one while enough are fresh.
    QString richWord(int letter) {
        if (const Word* w =
                freshOf(richIn(letter), kEnoughRich, [](const Word& w) { return w.presses <= 5; }))
            return w->text;
        return madeUp(letter).left(5);
    }

    // A real word of at most `presses` letters, or a made-up one cut to that.
    QString shortWord(int presses) {
        const std::vector<const Word*>& words = presses <= 2 ? few_ : short_;
        return words.size() >= 8 ? pick(words)->text : madeUp(-1).left(presses);
    }

    // A pronounceable made-up word of the unlocked keys, holding the needed key.
    QString madeUp(int need) {
        // Once a few are made, mostly one of those again while it is fresh: a walk that
        // seldom finds the key is slow to repeat.
        std::vector<QString>& made = madeUps_[need];
        if (made.size() >= kEnoughMadeUp && rnd(4) != 0) {
            const QString& again = pick(made);
            if (fresh(again)) return again;
        }
        const QString t = makeUp(need);
        if (made.size() < 4 * kEnoughMadeUp && std::find(made.begin(), made.end(), t) == made.end())
            made.push_back(t);
        return t;
    }

    QString makeUp(int need) {
        const auto r = [this](int n) { return rnd(n); };
        if (track_ == Track::Letters) {
            // Where walks are seldom rich enough in the key, a syllable of it: after a
            // few such walks, without trying again.
            int& poor = poorWalks_[need];
            if (poor >= 4 && rnd(4) != 0) return letterSyllable(need);
            const QString key = need < 0 ? QString() : capOf(need).toLower();
            const QString t = bank_.madeUp->make(letters_, key, true, r);
            if (!t.isEmpty() && (need < 0 || t.count(key) * 4 >= t.size() + 1)) return t;
            ++poor;
            return letterSyllable(need);
        }
        if (need >= 0 && !kana_.contains(capOf(need))) return kanaSyllable(need);
        const QString t = bank_.madeUp->make(kana_, need < 0 ? QString() : capOf(need), false, r);
        return t.isEmpty() ? kanaSyllable(need) : t;
    }

    QString letterSyllable(int need) {
        QString vowels, consonants;
        for (QChar c : letters_) (QStringLiteral("aeiou").contains(c) ? vowels : consonants) += c;
        if (vowels.isEmpty()) vowels = letters_;
        if (consonants.isEmpty()) consonants = letters_;
        auto cv = [&] { return QString(pickChar(consonants)) + pickChar(vowels); };
        if (need < 0) return cv() + cv();
        const QChar k = keyOrder(track_)[std::size_t(need)].cap[0].toLower();
        const bool vowel = vowels.contains(k);
        const QString& other = vowel ? consonants : vowels;
        switch (rnd(3)) {
        case 0:
            return QString(k) + pickChar(other);
        case 1:
            return QString(pickChar(other)) + k;
        default: // consonant, vowel, consonant, the key in its place
            return vowel ? QString(pickChar(consonants)) + k + pickChar(consonants)
                         : QString(k) + pickChar(vowels) + pickChar(consonants);
        }
    }

    QString kanaSyllable(int need) {
        const QString any = QString(pickChar(kana_));
        if (need < 0) return any + pickChar(kana_);
        const QString cap = keyOrder(track_)[std::size_t(need)].cap;
        if (cap == QStringLiteral("゛") || cap == QStringLiteral("゜")) {
            const bool half = cap == QStringLiteral("゜");
            QString bases;
            for (QChar c : kana_)
                if ((half ? QStringLiteral("はひふへほ")
                          : QStringLiteral("かきくけこさしすせそたちつてとはひふへほ"))
                        .contains(c))
                    bases += c;
            if (bases.isEmpty()) return any + any;
            return QString(QChar(pickChar(bases).unicode() + (half ? 2 : 1))) + any;
        }
        if (cap == QStringLiteral("ー")) return any + cap;
        if (cap == QStringLiteral("Shift")) {
            QStringList forms;
            if (kana_.contains(u'つ')) forms << any + QStringLiteral("っ") + pickChar(kana_);
            QString yoon;
            for (QChar c : kana_)
                if (QStringLiteral("きしちにひみり").contains(c)) yoon += c;
            const QString smalls[] = {QStringLiteral("ゃ"), QStringLiteral("ゅ"),
                                      QStringLiteral("ょ")};
            const QString bigs = QStringLiteral("やゆよ");
            for (int i = 0; i < 3; ++i)
                if (!yoon.isEmpty() && kana_.contains(bigs[i]))
                    forms << QString(pickChar(yoon)) + smalls[i];
            if (forms.isEmpty()) return any + any;
            return forms[rnd(int(forms.size()))];
        }
        return rnd(2) ? cap + any : any + cap;
    }

    const WordBank::Data& bank_;
    Track track_;
    int focus_, newest_;
    const std::function<int()>& random_;
    std::vector<const Word*> pool_, few_, short_;
    std::map<int, std::vector<const Word*>> rich_;
    std::map<int, bool> computed_;
    QString letters_, kana_, punctuation_;
    QString open_;               // every character the unlocked keys type (letters)
    std::vector<QString> chars_; // by track index: the characters that key types
    int shift_ = -1;
    bool shiftOpen_ = false, digitsOpen_ = false;
    bool behind_ = true; // the focus key further below its share than the newest
    std::unique_ptr<NumberTokens> numbers_;
    QHash<QString, int> uses_;
    std::map<int, std::vector<QString>> formWords_; // by letter, -1 for any
    std::map<int, std::vector<QString>> madeUps_;   // by the key needed, -1 for none
    std::map<int, int> poorWalks_;                  // walks too poor in the key, by key
    int tokens_ = 0;
};

} // namespace

Lesson makeLesson(const WordBank& bank, int unlocked, int focus,
                  const std::function<int()>& random) {
    unlocked = clampUnlocked(bank.track(), unlocked);
    focus = std::clamp(focus, 0, unlocked - 1);
    return LessonMaker(*bank.d_, bank.track(), unlocked, focus, random).make();
}

} // namespace course
