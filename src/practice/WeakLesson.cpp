#include "WeakLesson.h"

#include "KeyTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cctype>

namespace {

constexpr int kTargetBytes = 1000; // counting the CR LF the pane gives every line
constexpr int kLineWidth = 30;     // under the 34 bytes the preparation breaks at
constexpr int kLongestWord = 20;
constexpr int kWeakKeys = 5;
constexpr qint64 kReadLimit = 64 * 1024;

bool isWordByte(char c) {
    return c > ' ' && c < 0x7F;
}

// A word of three letters or more, perhaps with a sign after it: what makes the
// mixed-in words read as text rather than as drill.
bool isPlainWord(const QByteArray& w) {
    const qsizetype letters = std::count_if(w.begin(), w.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
    return letters >= 3 && letters >= w.size() - 1 && std::isalpha(quint8(w[0]));
}

// The share of a word's characters typed on the weak keys.
double richness(const QByteArray& word, const QList<int>& weak) {
    int hits = 0;
    for (const char c : word) hits += weak.contains(keyOfPrintable(c)) ? 1 : 0;
    return double(hits) / double(word.size());
}

} // namespace

QList<QByteArray> lessonWords(const QList<QByteArray>& texts) {
    QList<QByteArray> words;
    QSet<QByteArray> seen;
    for (const QByteArray& text : texts) {
        qsizetype i = 0;
        while (i < text.size()) {
            while (i < text.size() && quint8(text[i]) <= ' ') ++i;
            const qsizetype start = i;
            bool plain = true;
            while (i < text.size() && quint8(text[i]) > ' ') plain = isWordByte(text[i++]) && plain;
            const QByteArray word = text.mid(start, i - start);
            if (plain && !word.isEmpty() && word.size() <= kLongestWord && !seen.contains(word)) {
                seen.insert(word);
                words.append(word);
            }
        }
    }
    return words;
}

WeakLesson weakKeyLesson(const QList<QByteArray>& words, const QList<int>& ranking,
                         const std::function<int()>& random) {
    WeakLesson lesson;
    for (const int key : ranking) {
        if (lesson.keys.size() == kWeakKeys) break;
        const bool typed = std::any_of(words.begin(), words.end(), [key](const QByteArray& w) {
            return std::any_of(w.begin(), w.end(),
                               [key](char c) { return keyOfPrintable(c) == key; });
        });
        if (typed) lesson.keys.append(key);
    }
    if (lesson.keys.isEmpty()) return lesson;

    QList<QByteArray> rich, others;
    for (const QByteArray& w : words) {
        if (richness(w, lesson.keys) > 0)
            rich.append(w);
        else if (isPlainWord(w))
            others.append(w);
    }
    std::stable_sort(rich.begin(), rich.end(), [&lesson](const QByteArray& a, const QByteArray& b) {
        return richness(a, lesson.keys) > richness(b, lesson.keys);
    });
    // The richer half, but enough words that the text does not go round in circles.
    rich.resize(std::max<qsizetype>(std::min<qsizetype>(12, rich.size()), rich.size() / 2));
    if (others.isEmpty()) others = rich;

    QByteArray line, previous;
    int total = 0;
    while (total < kTargetBytes) {
        QByteArray word;
        for (int tries = 0; tries < 8 && (word.isEmpty() || word == previous); ++tries) {
            if (random() % 5 == 0) {
                word = others[random() % others.size()];
            } else {
                // The smaller of two draws leans toward the richest words.
                const int a = random() % int(rich.size()), b = random() % int(rich.size());
                word = rich[std::min(a, b)];
            }
        }
        previous = word;
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
