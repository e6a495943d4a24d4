#include "WeakLesson.h"

#include "KeyTable.h"
#include "WeakKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

constexpr int kTargetBytes = 1000; // counting the CR LF the pane gives every line
constexpr int kLineWidth = 30;     // under the 34 bytes the preparation breaks at
constexpr int kLongestWord = 20;
constexpr int kWeakKeys = 5;
constexpr int kShiftKey = 16;
constexpr qint64 kReadLimit = 64 * 1024;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAlnum(char c) {
    return isLetter(c) || isDigit(c);
}

// Whether a run of letters reads as a word rather than as drill: a short word of the
// language, or three letters or more with a vowel that do not just walk along a row of
// keys (as "asdf" and "lkj" do).
bool readsAsWord(const QByteArray& letters) {
    static const QByteArray rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const QByteArray w = letters.toLower();
    if (w.size() == 2) {
        static const QList<QByteArray> shortWords = {
            "am", "an", "as", "at", "be", "by", "do", "go", "he", "if", "in", "is",
            "it", "me", "my", "no", "of", "on", "or", "so", "to", "up", "us", "we"};
        return shortWords.contains(w);
    }
    if (!std::any_of(w.begin(), w.end(), [](char c) { return QByteArray("aeiouy").contains(c); }))
        return false;
    for (const QByteArray& row : rows) {
        bool walk = true;
        for (qsizetype i = 1; walk && i < w.size(); ++i) {
            const qsizetype a = row.indexOf(w[i - 1]), b = row.indexOf(w[i]);
            walk = a >= 0 && b >= 0 && (a - b == 1 || b - a == 1);
        }
        if (walk) return false;
    }
    return true;
}

// The share of a word's characters typed on the weak keys.
double richness(const QByteArray& word, const QList<int>& weak) {
    int hits = 0;
    for (const char c : word) hits += weak.contains(keyOfPrintable(c)) ? 1 : 0;
    return double(hits) / double(word.size());
}

// The sign on a weak key's cap that a word can carry, or NUL for a letter or digit key.
char signOfKey(int key) {
    const char c = capOfKey(key);
    return c != '\0' && !isAlnum(c) ? c : '\0';
}

} // namespace

QList<QByteArray> lessonWords(const QList<QByteArray>& texts) {
    QList<QByteArray> words;
    QSet<QByteArray> seen;
    for (const QByteArray& text : texts) {
        qsizetype i = 0;
        while (i < text.size()) {
            while (i < text.size() && quint8(text[i]) <= ' ') ++i;
            qsizetype start = i;
            while (i < text.size() && quint8(text[i]) > ' ') ++i;
            // The signs around a word belong to the sentence, not to the word.
            qsizetype end = i;
            while (start < end && !isAlnum(text[start])) ++start;
            while (end > start && !isAlnum(text[end - 1])) --end;
            const QByteArray word = text.mid(start, end - start);
            const bool letters = word.size() >= 2 &&
                                 std::all_of(word.begin(), word.end(), isLetter) &&
                                 readsAsWord(word);
            const bool number = !word.isEmpty() && std::all_of(word.begin(), word.end(), isDigit);
            if ((letters || number) && word.size() <= kLongestWord && !seen.contains(word)) {
                seen.insert(word);
                words.append(word);
            }
        }
    }
    return words;
}

QList<int> rankShift(QList<int> ranking, const QList<int>& shiftLeftOut) {
    for (int i = 0; i < std::min(kWeakKeys, int(ranking.size())); ++i)
        if (shiftLeftOut.contains(ranking[i])) {
            ranking.insert(i, kShiftKey);
            break;
        }
    return ranking;
}

WeakLesson weakKeyLesson(const QList<QByteArray>& lessonWords, const QList<int>& ranking,
                         const std::function<int()>& random) {
    // Capitals only where Shift itself is weak; otherwise a capital mid-line is a Shift
    // press the learner did not ask to practise.
    const bool shiftWeak = ranking.mid(0, kWeakKeys).contains(kShiftKey);
    QList<QByteArray> words;
    QSet<QByteArray> seen;
    for (const QByteArray& w : lessonWords) {
        const QByteArray word = shiftWeak ? w : w.toLower();
        if (!seen.contains(word)) {
            seen.insert(word);
            words.append(word);
        }
    }

    // A letter or digit key counts when a word holds it; a sign key always, as the
    // sign follows a word.
    WeakLesson lesson;
    QByteArray signs;
    for (const int key : ranking) {
        if (lesson.keys.size() == kWeakKeys) break;
        if (key == kShiftKey && shiftWeak) {
            lesson.keys.append(key);
            continue;
        }
        if (const char sign = signOfKey(key)) {
            lesson.keys.append(key);
            signs += sign;
            continue;
        }
        const bool typed = std::any_of(words.begin(), words.end(), [key](const QByteArray& w) {
            return std::any_of(w.begin(), w.end(),
                               [key](char c) { return keyOfPrintable(c) == key; });
        });
        if (typed) lesson.keys.append(key);
    }
    if (lesson.keys.isEmpty() || words.isEmpty()) return {};

    QList<QByteArray> rich, others;
    for (const QByteArray& w : words) {
        if (richness(w, lesson.keys) > 0)
            rich.append(w);
        else if (w.size() >= 3 && isLetter(w[0]))
            others.append(w);
    }
    std::stable_sort(rich.begin(), rich.end(), [&lesson](const QByteArray& a, const QByteArray& b) {
        return richness(a, lesson.keys) > richness(b, lesson.keys);
    });
    // The richer third, but enough words that the text does not go round in circles.
    rich.resize(std::max<qsizetype>(std::min<qsizetype>(16, rich.size()), rich.size() / 3));
    if (others.isEmpty()) others = rich.isEmpty() ? words : rich;
    if (rich.isEmpty()) rich = others; // only sign keys: any words carry the signs

    QByteArray line, previous;
    int total = 0;
    while (total < kTargetBytes) {
        QByteArray word;
        for (int tries = 0; tries < 8 && (word.isEmpty() || word == previous); ++tries) {
            if (random() % 6 == 0) {
                word = others[random() % others.size()];
            } else {
                // The smallest of three draws leans toward the richest words.
                const int n = int(rich.size());
                word = rich[std::min({random() % n, random() % n, random() % n})];
            }
        }
        previous = word;
        // Every other word rich in weak keys carries one of the weak signs.
        if (!signs.isEmpty() && rich.contains(word) && random() % 2 == 0)
            word += signs[random() % signs.size()];
        if (!line.isEmpty() && line.size() + 1 + word.size() > kLineWidth) {
            lesson.text += line + '\n';
            total += int(line.size()) + 2;
            line.clear();
        }
        line += (line.isEmpty() ? QByteArray() : QByteArray(" ")) + word;
    }
    if (!line.isEmpty()) lesson.text += line + '\n';
    return lesson;
}

QList<QByteArray> readLessonTexts(const QStringList& folders) {
    QList<QByteArray> texts;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("Lesson*.txt")}, QDir::Files, QDir::Name)) {
            // Only a regular file: a pipe or device with a lesson's name could be read forever.
            const QString path = dir.filePath(name);
            QFile file(path);
            if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
                texts.append(file.read(kReadLimit));
        }
    }
    return texts;
}
