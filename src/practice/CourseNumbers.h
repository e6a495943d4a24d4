#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

namespace course {

// Tokens of the number row and the signs as a text has them: a year, a time, a price,
// a date, a phone number, an address, a range, a sum, a footnote; of the characters in
// `open` only.
class NumberTokens {
public:
    explicit NumberTokens(const QString& open);
    // One holding a character of each of `needs` (each the characters one key types),
    // the first at least 1/part of the presses with the blank after it where a form
    // allows. word() gives a short real word of the open letters; rnd(n) 0..n-1. With
    // no needs, any form; empty when no form holds every need.
    QString make(const QStringList& needs, const std::function<QString()>& word,
                 const std::function<int(int)>& rnd, int part = 4);

private:
    QString open_;
    std::map<QString, std::vector<QString>> forms_; // by the needs
};

} // namespace course
