#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// Made-up words that read like a word list's own: a walk over the letter pairs its
// words hold, from a letter its words begin with to one they end with, about as long
// as its words run.
// The walk begins with a pair words begin with and ends with one they end with. For a lesson over a
// few keys, where too few real words fit.
class MadeUpWords {
public:
    explicit MadeUpWords(const QStringList& words);

    // A word of the given letters only, holding every letter of `needs`, the first at
    // least a quarter of its presses when it can be (a blank after it counted when `blank`).
    // rnd(n) gives 0..n-1. Empty when no pair of the letters occurs in the list.
    QString make(const QString& letters, const QString& needs, bool blank,
                 const std::function<int(int)>& rnd) const;

private:
    // How many words hold each pair of letters, by the pair's two codes.
    using Pairs = QHash<quint32, int>;
    using Choices = std::vector<std::pair<std::pair<QChar, QChar>, int>>;
    Pairs starts_, ends_; // the first and the last two letters of words
    Pairs pairs_;
    // The first pairs with their weights summed, by letters and needs: the same few come again and
    // again.
    mutable QHash<QString, Choices> startChoices_;
    // For each letter, the letters that follow it in words and how often, by letters.
    using Successors = QHash<char16_t, std::vector<std::pair<QChar, int>>>;
    mutable QHash<QString, Successors> successors_;
    std::vector<int> lengths_; // how many words have each length, by length
};
