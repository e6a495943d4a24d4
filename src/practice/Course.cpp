#include "Course.h"

#include "CourseBank.h"
#include "KanaLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdint>

namespace course {
namespace {

std::vector<CourseKey> makeLetters() {
    // Both hands' home row first; then the middle fingers up, the index fingers up and
    // in, and on by how often English needs a key; the signs the little fingers reach,
    // Shift for capitals and the signs above the keys; then the number row, finger by
    // finger from the index fingers out, and the far signs of the right little finger.
    std::vector<CourseKey> keys;
    for (char c : QByteArray("asdfjkleiruonthgcmwpyvbxqz,.;-/"))
        keys.push_back({jisKeyOfChar(c).vk, QString(QChar::fromLatin1(c)).toUpper()});
    keys.push_back({kShiftKey, QStringLiteral("Shift")});
    for (char c : QByteArray("4738291056:@[]^"))
        keys.push_back({jisKeyOfChar(c).vk, QString(QChar::fromLatin1(c))});
    // The yen key types the backslash its sign stands for; the ro key, the underscore.
    keys.push_back({jisKeyOfChar('\\').vk, QStringLiteral("¥")});
    keys.push_back({jisKeyOfChar('_').vk, QStringLiteral("_")});
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

using Word = WordBank::Data::Word;

bool describe(Track track, Word& w) {
    const int shift = indexOfVk(track, kShiftKey);
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

WordBank::WordBank(Track track, const QStringList& words)
    : track_(track), d_(std::make_unique<Data>()) {
    d_->words.reserve(std::size_t(words.size()));
    QStringList kept;
    for (const QString& text : words) {
        Word w;
        w.text = text.trimmed();
        if (w.text.isEmpty() || w.text.contains(QLatin1Char(' '))) continue;
        if (!describe(track, w)) continue;
        kept << w.text;
        d_->words.push_back(std::move(w));
    }
    d_->madeUp = std::make_unique<MadeUpWords>(kept);
}

WordBank::~WordBank() = default;

int WordBank::size() const {
    return int(d_->words.size());
}

QStringList shippedWords(Track track) {
    QFile file(track == Track::Kana ? QStringLiteral(":/course/course-kana.words")
                                    : QStringLiteral(":/course/course-english.words"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace course
