#include "CourseNumbers.h"

#include <optional>
#include <vector>

namespace course {
namespace {

// The forms, one a token. Placeholders: D a digit, N a digit but 0, M a digit 0-5 (the
// tens of minutes), T a digit 4-9 (before "th"), w a short word, x a letter (a page,
// a version: p7, v2), S a sum that adds up; everything else stands for itself (\ is the
// yen sign's key).
// clang-format off
const char* const kForms[] = {
    "N", "ND", "NDD", "N.D", "N.DD", "N,DDD", "N-N", "N/N", "N/ND",   // counts, ranges
    "19DD", "20DD", "20DD/N/N", "Tth", "1Dth", "1st", "2nd", "3rd",   // years, dates
    "N:MD", "1N:MD", "N:MD:MD", "N:N",                                // times, ratios
    "$N", "$ND", "$N.DD", "\\ND", "\\NDD", "\\N,DDD", "ND%",         // prices
    "0N-DDDD-DDDD", "0N0-DDDD-DDDD", "NDD-DDDD",                      // phone numbers
    "x@x", "w@x", "@w", "@N", "`w`", "w_w", "x_N", "w_N", "_w",       // addresses, names
    "#N", "(N)", "[N]", "[x]", "[w]", "[N", "[ND", "[w", "{x}", "{w}", // notes, lists
    "N*N", "*w", "N^N", "x^N", "|N|", "x|x", "w|w", "S", "x=N", "N+N", "N<N", "N>N",
    "w's", "w!", "\"w\"", "w?", "w:", "x&x", "w&w", "xN", "xND",       // words, pages
};
// clang-format on

QString digitsIn(const QString& open, char low, char high) {
    QString out;
    for (char c = low; c <= high; ++c)
        if (open.contains(QLatin1Char(c))) out += QLatin1Char(c);
    return out;
}

class Filler {
public:
    Filler(const QString& open, const QStringList& needs, const std::function<QString()>& word,
           const std::function<int(int)>& rnd)
        : open_(open), word_(word), rnd_(rnd) {
        for (QChar c : open)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) letters_ += c;
        for (const QString& n : needs)
            for (QChar c : n)
                if (open.contains(c) && c.isDigit())
                    needDigits_ += c;
                else if (open.contains(c) && letters_.contains(c))
                    needLetters_ += c;
    }

    // What the form could hold, or nothing when a part of it cannot be typed.
    bool possible(const QString& form, QString& could) const {
        for (QChar c : form) {
            if (const auto range = rangeOf(c)) {
                if (range->isEmpty()) return false;
                could += *range;
            } else if (c == QLatin1Char('w') || c == QLatin1Char('x')) {
                if (letters_.isEmpty()) return false;
                could += letters_;
            } else if (c == QLatin1Char('S')) {
                if (!open_.contains(QLatin1Char('+')) || !open_.contains(QLatin1Char('=')))
                    return false;
                could += QStringLiteral("+=") + digitsIn(open_, '0', '9');
            } else if (!open_.contains(c)) {
                return false;
            } else {
                could += c;
            }
        }
        // An opening bracket alone only while the closing one is not yet a key.
        return !form.contains(QLatin1Char('[')) || form.contains(QLatin1Char(']')) ||
               !open_.contains(QLatin1Char(']'));
    }

    QString fill(const QString& form) {
        QString out;
        for (QChar c : form) {
            if (const auto range = rangeOf(c))
                out += digit(*range);
            else if (c == QLatin1Char('w'))
                out += otherWord(out);
            else if (c == QLatin1Char('x'))
                out += pickFrom(!needLetters_.isEmpty() && rnd_(2) == 0 ? needLetters_ : letters_);
            else if (c == QLatin1Char('S'))
                out += sum();
            else
                out += c;
        }
        return out;
    }

private:
    // The digits a digit placeholder takes; none for anything else.
    std::optional<QString> rangeOf(QChar c) const {
        switch (c.unicode()) {
        case 'D':
            return digitsIn(open_, '0', '9');
        case 'N':
            return digitsIn(open_, '1', '9');
        case 'M':
            return digitsIn(open_, '0', '5');
        case 'T':
            return digitsIn(open_, '4', '9');
        default:
            return std::nullopt;
        }
    }

    // The needed digit half the time, where the place allows it; so for letters.
    QChar digit(const QString& range) {
        QString wanted;
        for (QChar c : needDigits_)
            if (range.contains(c)) wanted += c;
        return pickFrom(!wanted.isEmpty() && rnd_(2) == 0 ? wanted : range);
    }

    QChar pickFrom(const QString& s) { return s[rnd_(int(s.size()))]; }

    // A word, not the one the token already holds ("yes|yes") where another comes.
    QString otherWord(const QString& so_far) {
        QString w = word_();
        for (int attempt = 0; attempt < 3 && so_far.contains(w); ++attempt) w = word_();
        return w;
    }

    // a+b=c of single digits, every digit of c a key already.
    QString sum() {
        const QString digits = digitsIn(open_, '1', '9');
        for (int attempt = 0; attempt < 8; ++attempt) {
            const int a = digit(digits).digitValue(), b = digit(digits).digitValue();
            const QString c = QString::number(a + b);
            bool typeable = true;
            for (QChar ch : c) typeable = typeable && open_.contains(ch);
            if (typeable) return QStringLiteral("%1+%2=%3").arg(a).arg(b).arg(c);
        }
        return QStringLiteral("%1+%2").arg(digit(digits)).arg(digit(digits));
    }

    const QString& open_;
    const std::function<QString()>& word_;
    const std::function<int(int)>& rnd_;
    QString letters_, needDigits_, needLetters_;
};

} // namespace

NumberTokens::NumberTokens(const QString& open) : open_(open) {}

QString NumberTokens::make(const QStringList& needs, const std::function<QString()>& word,
                           const std::function<int(int)>& rnd, int part) {
    Filler filler(open_, needs, word, rnd);
    // The forms that can hold every need, found once a lesson for each.
    auto [it, added] = forms_.try_emplace(needs.join(QChar(0)));
    std::vector<QString>& forms = it->second;
    if (added)
        for (const char* f : kForms) {
            const QString form = QString::fromLatin1(f);
            QString could;
            if (!filler.possible(form, could)) continue;
            bool holds = true;
            for (const QString& n : needs) {
                bool any = false;
                for (QChar c : n) any = any || could.contains(c);
                holds = holds && any;
            }
            if (holds) forms.push_back(form);
        }
    if (forms.empty()) return {};

    QString best;
    double bestShare = -1;
    for (int attempt = 0; attempt < 30; ++attempt) {
        const QString t = filler.fill(forms[std::size_t(rnd(int(forms.size())))]);
        bool all = true;
        for (const QString& n : needs) {
            bool any = false;
            for (QChar c : n) any = any || t.contains(c);
            all = all && any;
        }
        if (!all) continue;
        if (needs.isEmpty()) return t;
        int held = 0;
        for (QChar c : t) held += needs.front().contains(c) ? 1 : 0;
        const double share = double(held) / double(t.size() + 1);
        if (share * part >= 1) return t;
        if (share > bestShare) {
            bestShare = share;
            best = t;
        }
    }
    return best;
}

} // namespace course
