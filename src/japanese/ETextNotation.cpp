#include "ETextNotation.h"

#include "KanaText.h"

namespace {

int kindOf(QChar c) {
    if (kana::isKanji(c) || c == u'ヶ' || c == u'〇') return 1;
    if (kana::isHiragana(c)) return 2;
    if (kana::isKatakana(c)) return 3;
    if (kana::foldWidth(c).isLetterOrNumber()) return 4;
    return 0;
}

// The end of the bracketed stretch opening at i (the index after its close), or -1.
qsizetype closeOf(QStringView line, qsizetype i, QChar open, QChar close) {
    int depth = 0;
    for (qsizetype k = i; k < line.size(); ++k) {
        if (line[k] == open)
            ++depth;
        else if (line[k] == close && --depth == 0)
            return k + 1;
    }
    return -1;
}

} // namespace

std::vector<NotationPiece> parseNotation(QStringView line) {
    std::vector<NotationPiece> out;
    QString plain;      // always a stretch of the line as it stands
    qsizetype from = 0; // where plain starts in the line
    qsizetype bar = -1; // the ｜ that starts the next ruby base, in plain
    auto flush = [&](qsizetype next) {
        if (!plain.isEmpty()) out.push_back({plain, {}, int(from), int(from + plain.size())});
        plain.clear();
        from = next;
        bar = -1;
    };
    for (qsizetype i = 0; i < line.size();) {
        const QChar c = line[i];
        if (c == u'［' && i + 1 < line.size() && line[i + 1] == u'＃') {
            const qsizetype end = closeOf(line, i, u'［', u'］');
            if (end > 0) {
                flush(end);
                i = end;
                continue;
            }
        }
        if (c == u'｜') bar = plain.size();
        if (c == u'《') {
            const qsizetype end = closeOf(line, i, u'《', u'》');
            if (end > 0 && !plain.isEmpty()) {
                qsizetype start = bar + 1;
                if (bar < 0) {
                    const int kind = kindOf(plain.back());
                    start = plain.size() - 1;
                    while (kind != 0 && start > 0 && kindOf(plain[start - 1]) == kind) --start;
                }
                const QString base = plain.sliced(start);
                const qsizetype baseAt = from + start;
                plain.truncate(bar < 0 ? start : bar);
                flush(end);
                out.push_back(
                    {base, line.sliced(i + 1, end - i - 2).toString(), int(baseAt), int(end)});
                i = end;
                continue;
            }
        }
        plain += c;
        ++i;
    }
    flush(line.size());
    return out;
}

bool isNotationRule(QStringView line) {
    line = line.trimmed();
    if (line.size() < 10) return false;
    for (QChar c : line)
        if (c != u'-' && c != u'－') return false;
    return true;
}
