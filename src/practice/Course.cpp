#include "Course.h"

#include "KanaLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdint>

namespace course {
namespace {

using Mask = std::uint64_t;

std::vector<CourseKey> makeLetters() {
    // Both hands' home row first; then the middle fingers up, the index fingers up and
    // in, and on by how often English needs a key; the signs the little fingers reach
    // last, Shift for capitals at the end.
    std::vector<CourseKey> keys;
    for (char c : QByteArray("asdfjkleiruonthgcmwpyvbxqz,.;-/"))
        keys.push_back({jisKeyOfChar(c).vk, QString(QChar::fromLatin1(c)).toUpper()});
    keys.push_back({kShiftKey, QStringLiteral("Shift")});
    return keys;
}

std::vector<CourseKey> makeKana() {
    // The home row's index, middle and ring fingers; the Q row above them; the Z row;
    // the voicing marks; the number row's vowels and や行; the far little-finger keys;
    // Shift for the small kana last.
    std::vector<CourseKey> keys;
    for (QChar c : QStringLiteral("としはまのりいなすかんにきくてらたせちれこみそもつねさるひめ゛゜"
                                  "うあえおやよゆわけむろほへふぬー"))
        keys.push_back({kanalayout::keysOf(c).front().vk, QString(c)});
    keys.push_back({kShiftKey, QStringLiteral("Shift")});
    return keys;
}

const std::vector<CourseKey>& lettersOrder() {
    static const std::vector<CourseKey> keys = makeLetters();
    return keys;
}

const std::vector<CourseKey>& kanaOrder() {
    static const std::vector<CourseKey> keys = makeKana();
    return keys;
}

// A run's figures that no typing can give.
bool damaged(const KeyFigures& f) {
    return f.expected < 0 || f.missed < 0 || f.msTotal < 0 || f.expected + f.missed <= 0 ||
           f.timedPresses() > f.expected || (f.timedPresses() > 0 && f.msTotal == 0) ||
           f.expected > (1 << 24) || f.missed > (1 << 24);
}

} // namespace

int indexOfVk(Track track, int vk) {
    const std::vector<CourseKey>& keys = keyOrder(track);
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i].vk == vk) return int(i);
    return -1;
}

const std::vector<CourseKey>& keyOrder(Track track) {
    return track == Track::Kana ? kanaOrder() : lettersOrder();
}

int startKeys(Track track) {
    return track == Track::Kana ? 6 : 7;
}

QString trackName(Track track) {
    return track == Track::Kana ? QStringLiteral("kana") : QStringLiteral("letters");
}

int clampUnlocked(Track track, int unlocked) {
    return std::clamp(unlocked, startKeys(track), int(keyOrder(track).size()));
}

int lessonNumber(Track track, int unlocked) {
    return clampUnlocked(track, unlocked) - startKeys(track) + 1;
}

int lessonCount(Track track) {
    return int(keyOrder(track).size()) - startKeys(track) + 1;
}

std::map<int, KeyStanding> standings(const std::vector<KeyFigureMap>& runsNewestFirst) {
    struct Sum {
        double expected = 0, missed = 0, ms = 0, timed = 0;
    };
    std::map<int, Sum> sums;
    for (const KeyFigureMap& run : runsNewestFirst)
        for (const auto& [vk, f] : run) {
            if (damaged(f)) continue;
            Sum& s = sums[vk];
            const double presses = double(f.expected + f.missed);
            const double room = kPresses - (s.expected + s.missed);
            if (room <= 0) continue;
            // Of a run that reaches past the window, the share inside it.
            const double part = std::min(1.0, room / presses);
            s.expected += part * double(f.expected);
            s.missed += part * double(f.missed);
            s.ms += part * double(f.msTotal);
            s.timed += part * double(f.timedPresses());
        }
    std::map<int, KeyStanding> out;
    for (const auto& [vk, s] : sums) {
        if (s.expected <= 0) continue; // only misses: nothing typed yet
        KeyStanding k;
        k.typed = true;
        // Only presses with a time tell the speed; a key with none has none yet.
        k.perMinute = s.ms > 0 ? 60000.0 * s.timed / s.ms : 0.0;
        k.accuracy = 100.0 * s.expected / (s.expected + s.missed);
        out[vk] = k;
    }
    return out;
}

bool meetsSpeed(const KeyStanding& s, const Targets& t) {
    return s.typed && s.perMinute >= t.perMinute;
}

bool meetsAccuracy(const KeyStanding& s, const Targets& t) {
    return s.typed && s.accuracy >= t.accuracy;
}

bool keyMeets(Track track, int index, const std::map<int, KeyStanding>& s, const Targets& t) {
    const int vk = keyOrder(track)[std::size_t(index)].vk;
    if (vk == kShiftKey) return true;
    const auto it = s.find(vk);
    return it != s.end() && meetsSpeed(it->second, t) && meetsAccuracy(it->second, t);
}

int unlockAfter(Track track, int unlocked, const std::map<int, KeyStanding>& s, const Targets& t) {
    unlocked = clampUnlocked(track, unlocked);
    if (unlocked >= int(keyOrder(track).size())) return unlocked;
    for (int i = 0; i < unlocked; ++i)
        if (!keyMeets(track, i, s, t)) return unlocked;
    return unlocked + 1;
}

int focusIndex(Track track, int unlocked, const std::map<int, KeyStanding>& s, const Targets& t) {
    unlocked = clampUnlocked(track, unlocked);
    const int newest = unlocked - 1;
    if (!keyMeets(track, newest, s, t)) return newest;
    // How far below the targets: the smaller share of either, 0 for a key not typed.
    auto score = [&](int i) {
        const int vk = keyOrder(track)[std::size_t(i)].vk;
        if (vk == kShiftKey) return 2.0;
        const auto it = s.find(vk);
        if (it == s.end() || !it->second.typed) return 0.0;
        return std::min(it->second.perMinute / std::max(1.0, t.perMinute),
                        it->second.accuracy / std::max(1.0, t.accuracy));
    };
    int weakest = newest;
    for (int i = newest; i >= 0; --i)
        if (score(i) < score(weakest)) weakest = i;
    return weakest;
}

std::vector<KeyStroke> strokesOf(Track track, const QString& text) {
    std::vector<KeyStroke> out;
    for (QChar c : text) {
        if (track == Track::Letters) {
            if (c == QLatin1Char(' ')) {
                out.push_back({32, false});
            } else if (c.unicode() < 128) {
                const KeyStroke k = jisKeyOfChar(char(c.unicode()));
                if (k.vk) out.push_back(k);
            }
        } else {
            for (const KeyStroke& k : kanalayout::keysOf(c)) out.push_back(k);
        }
    }
    return out;
}

struct WordBank::Data {
    struct Word {
        QString text;
        Mask mask = 0;
        std::vector<std::uint8_t> keys; // track indices pressed, Shift after its key
        int presses = 0;
    };
    std::vector<Word> words;
};

namespace {

using Word = WordBank::Data::Word;

// The track indices a text presses, and whether the track can type it at all.
bool describe(Track track, Word& w) {
    const int shift = int(keyOrder(track).size()) - 1;
    for (const KeyStroke& k : strokesOf(track, w.text)) {
        ++w.presses;
        if (k.vk == 32) continue;
        const int i = indexOfVk(track, k.vk);
        if (i < 0) return false;
        w.keys.push_back(std::uint8_t(i));
        w.mask |= Mask(1) << i;
        if (k.shift) {
            w.keys.push_back(std::uint8_t(shift));
            w.mask |= Mask(1) << shift;
        }
    }
    return w.presses > 0;
}

int countOf(const Word& w, int index) {
    return int(std::count(w.keys.begin(), w.keys.end(), std::uint8_t(index)));
}

// Builds one lesson: keeps the focus and newest keys at their shares token by token.
class LessonMaker {
public:
    LessonMaker(const WordBank::Data& bank, Track track, int unlocked, int focus,
                const std::function<int()>& random)
        : track_(track), focus_(focus), newest_(unlocked - 1), random_(random) {
        const Mask open = unlocked >= 64 ? ~Mask(0) : (Mask(1) << unlocked) - 1;
        for (const Word& w : bank.words)
            if ((w.mask & ~open) == 0 && w.presses <= 10) pool_.push_back(&w);
        const std::vector<CourseKey>& keys = keyOrder(track);
        for (int i = 0; i < unlocked; ++i) {
            const QString& cap = keys[std::size_t(i)].cap;
            if (track == Track::Letters && cap.size() == 1 && cap[0].isLetter())
                letters_ += cap.toLower();
            if (track == Track::Kana && cap.size() == 1 && !QStringLiteral("゛゜ー").contains(cap))
                kana_ += cap;
        }
        shiftOpen_ = keys[std::size_t(newest_)].vk == kShiftKey;
        for (int i = 0; i < unlocked; ++i)
            if (QStringLiteral(",.;").contains(keys[std::size_t(i)].cap))
                punctuation_ += keys[std::size_t(i)].cap;
    }

    Lesson make() {
        Lesson lesson;
        lesson.focus = focus_;
        lesson.newest = newest_;
        QString line;
        int lineKeys = 0;
        while (lesson.keys < kLessonKeys) {
            // A fifth, with room, for the focus key; a tenth for the newest key besides.
            const bool focusLow = lesson.keys == 0 || lesson.focusPresses * 100 < 24 * lesson.keys;
            const bool newestLow =
                newest_ != focus_ && lesson.newestPresses * 100 < 13 * lesson.keys;
            std::vector<int> needs;
            if (focusLow) needs.push_back(focus_);
            if (newestLow) needs.push_back(newest_);
            Word w;
            w.text =
                needs.size() == 2 ? pair(needs[0], needs[1]) : token(needs.empty() ? -1 : needs[0]);
            if (!describe(track_, w)) continue;
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

    // Words of the pool where the key is at least the given share of the presses.
    const std::vector<const Word*>& richIn(int index) {
        auto& list = rich_[index];
        if (!computed_[index]) {
            computed_[index] = true;
            const int blank = track_ == Track::Letters ? 1 : 0;
            for (const Word* w : pool_)
                if (countOf(*w, index) * 4 >= w->presses + blank) list.push_back(w);
        }
        return list;
    }

    QString token(int need) {
        if (track_ == Track::Letters && need >= 0 && !isLetterKey(need))
            return decorate(shortWord(), need);
        QString t;
        if (need < 0) {
            t = pool_.size() >= 30 ? pick(pool_)->text : syllables(-1);
        } else {
            const auto& rich = richIn(need);
            t = rich.size() >= 8 ? pick(rich)->text : syllables(need);
        }
        // Whole-keyboard lessons read like text: now and then a sign or a capital.
        if (track_ == Track::Letters && need < 0) {
            if (shiftOpen_ && rnd(6) == 0) t = t.left(1).toUpper() + t.mid(1);
            if (!punctuation_.isEmpty() && rnd(6) == 0) t += pickChar(punctuation_);
        }
        return t;
    }

    bool isLetterKey(int index) const {
        const QString& cap = keyOrder(track_)[std::size_t(index)].cap;
        return cap.size() == 1 && cap[0].isLetter() && cap[0].unicode() < 128;
    }

    // One short token holding both keys, when both are short of their shares.
    QString pair(int a, int b) {
        if (track_ == Track::Kana) return syllables(a) + syllables(b);
        const bool la = isLetterKey(a), lb = isLetterKey(b);
        QString base;
        if (la && lb)
            base = letterSyllable(a) + keyOrder(track_)[std::size_t(b)].cap.toLower();
        else
            base = la ? letterSyllable(a) : lb ? letterSyllable(b) : shortWord();
        // A sign between letters keeps only the first: let that be the letter needed.
        const int sign = la ? b : a;
        const QString& signCap = keyOrder(track_)[std::size_t(sign)].cap;
        if (la != lb && (signCap == QStringLiteral("-") || signCap == QStringLiteral("/")))
            base = keyOrder(track_)[std::size_t(la ? a : b)].cap.toLower();
        for (int k : {a, b})
            if (!isLetterKey(k)) base = decorate(base, k);
        return base;
    }

    // A token made to press a sign or Shift.
    QString decorate(const QString& base, int index) {
        const QString& cap = keyOrder(track_)[std::size_t(index)].cap;
        if (cap == QStringLiteral("Shift")) return base.left(1).toUpper() + base.mid(1);
        // Between two letters, short enough to keep the sign at its share.
        if (cap == QStringLiteral("-") || cap == QStringLiteral("/"))
            return base.left(1) + cap + pickChar(letters_);
        return base + cap;
    }

    QString shortWord() {
        std::vector<const Word*> few;
        for (const Word* w : pool_)
            if (w->presses <= 2) few.push_back(w);
        return few.size() >= 8 ? pick(few)->text : syllables(-1).left(2);
    }

    // Pronounceable made-up words of the unlocked keys, holding the needed key.
    QString syllables(int need) {
        if (track_ == Track::Letters) return letterSyllable(need);
        return kanaSyllable(need);
    }

    QString letterSyllable(int need) {
        QString vowels, consonants;
        for (QChar c : letters_) (QStringLiteral("aeiou").contains(c) ? vowels : consonants) += c;
        if (vowels.isEmpty()) vowels = letters_;
        if (consonants.isEmpty()) consonants = letters_;
        auto cv = [&] { return QString(pickChar(consonants)) + pickChar(vowels); };
        if (need < 0) return cv() + cv();
        const QChar k = keyOrder(track_)[std::size_t(need)].cap[0].toLower();
        if (vowels.contains(k))
            return rnd(2) ? QString(pickChar(consonants)) + k : QString(k) + pickChar(consonants);
        return rnd(2) ? QString(k) + pickChar(vowels) : QString(pickChar(vowels)) + k;
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

    Track track_;
    int focus_, newest_;
    const std::function<int()>& random_;
    std::vector<const Word*> pool_;
    std::map<int, std::vector<const Word*>> rich_;
    std::map<int, bool> computed_;
    QString letters_, kana_, punctuation_;
    bool shiftOpen_ = false;
};

} // namespace

WordBank::WordBank(Track track, const QStringList& words)
    : track_(track), d_(std::make_unique<Data>()) {
    d_->words.reserve(std::size_t(words.size()));
    for (const QString& text : words) {
        Word w;
        w.text = text.trimmed();
        if (w.text.isEmpty() || w.text.contains(QLatin1Char(' '))) continue;
        if (describe(track, w)) d_->words.push_back(std::move(w));
    }
}

WordBank::~WordBank() = default;

int WordBank::size() const {
    return int(d_->words.size());
}

Lesson makeLesson(const WordBank& bank, int unlocked, int focus,
                  const std::function<int()>& random) {
    unlocked = clampUnlocked(bank.track(), unlocked);
    focus = std::clamp(focus, 0, unlocked - 1);
    return LessonMaker(*bank.d_, bank.track(), unlocked, focus, random).make();
}

QStringList shippedWords(Track track) {
    QFile file(track == Track::Kana ? QStringLiteral(":/course/course-kana.words")
                                    : QStringLiteral(":/course/course-english.words"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace course
