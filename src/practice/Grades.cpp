#include "Grades.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cmath>

namespace grades {

namespace {

constexpr int kGrades = 25; // 20級 … 1級, 初段 … 五段
constexpr int kKyu = 20;

// Per grade index, lowest first. The speeds are net characters per minute: kana of the
// reading for the Japanese ways, letters and spaces for English. The kana keys type a
// kana with one press (two with a voicing mark), romaji with about 1.7: the kana ladder
// climbs faster from the middle on. 1級 in romaji, 165 kana a minute for ten minutes, is
// about five keys a second; the dans above it are for the few.
constexpr std::array<int, kGrades> kRomaji = {15,  20,  25,  30,  35,  40,  45,  50,  55,
                                              60,  65,  70,  80,  90,  100, 110, 120, 135,
                                              150, 165, 180, 200, 220, 240, 260};
constexpr std::array<int, kGrades> kKana = {15,  20,  25,  30,  35,  40,  50,  55,  60,
                                            70,  75,  80,  90,  100, 115, 130, 145, 160,
                                            180, 200, 220, 250, 280, 310, 340};
constexpr std::array<int, kGrades> kLetters = {40,  50,  60,  70,  80,  90,  100, 110, 120,
                                               135, 150, 165, 180, 195, 210, 230, 250, 270,
                                               290, 310, 335, 360, 390, 420, 450};
constexpr std::array<int, kGrades> kAccuracy = {80, 80, 85, 85, 88, 88, 90, 90, 90, 92, 92, 93, 93,
                                                94, 94, 95, 95, 96, 96, 97, 97, 97, 98, 98, 98};

int minutesAt(int index) {
    return index < 3 ? 1 : index < 6 ? 2 : index < 9 ? 3 : index < 14 ? 5 : 10;
}

std::vector<Grade> build(Way way) {
    std::vector<Grade> out;
    for (int i = 0; i < kGrades; ++i) {
        Grade g;
        g.index = i;
        g.minutes = minutesAt(i);
        g.passAccuracy = kAccuracy[i];
        if (way == Way::Letters) {
            g.passNet = kLetters[i];
            g.kind = i < 3 ? TextKind::ShortWords : i < 9 ? TextKind::Words : TextKind::Sentences;
            g.band = i < 3   ? QStringLiteral("en-short")
                     : i < 9 ? QStringLiteral("en-words")
                             : QStringLiteral("en-sentences");
        } else {
            g.passNet = way == Way::Romaji ? kRomaji[i] : kKana[i];
            g.kind = i < 2    ? TextKind::SingleKana
                     : i < 7  ? TextKind::KanaWords
                     : i < 12 ? TextKind::KanaSentences
                              : TextKind::KanjiSentences;
            g.band = i < 2    ? QStringLiteral("ja-kana")
                     : i < 7  ? QStringLiteral("ja-words")
                     : i < 12 ? QStringLiteral("ja-sentences")
                              : QStringLiteral("ja-kanji");
        }
        out.push_back(g);
    }
    return out;
}

} // namespace

QString wayName(Way way) {
    switch (way) {
    case Way::Letters:
        return QStringLiteral("letters");
    case Way::Romaji:
        return QStringLiteral("romaji");
    case Way::Kana:
        break;
    }
    return QStringLiteral("kana");
}

std::optional<Way> wayFromName(const QString& name) {
    for (Way w : {Way::Letters, Way::Romaji, Way::Kana})
        if (wayName(w) == name) return w;
    return std::nullopt;
}

QString kindName(TextKind kind) {
    switch (kind) {
    case TextKind::SingleKana:
        return QCoreApplication::translate("Grades", "かな一字");
    case TextKind::KanaWords:
        return QCoreApplication::translate("Grades", "かなの単語");
    case TextKind::KanaSentences:
        return QCoreApplication::translate("Grades", "かなの文");
    case TextKind::KanjiSentences:
        return QCoreApplication::translate("Grades", "漢字かなまじりの文");
    case TextKind::ShortWords:
        return QCoreApplication::translate("Grades", "英語の短い単語");
    case TextKind::Words:
        return QCoreApplication::translate("Grades", "英語の単語");
    case TextKind::Sentences:
        break;
    }
    return QCoreApplication::translate("Grades", "英語の文");
}

const std::vector<Grade>& ladder(Way way) {
    static const std::vector<Grade> ladders[] = {build(Way::Letters), build(Way::Romaji),
                                                 build(Way::Kana)};
    return ladders[int(way)];
}

std::optional<Grade> gradeAt(Way way, int index) {
    const std::vector<Grade>& l = ladder(way);
    if (index < 0 || index >= int(l.size())) return std::nullopt;
    return l[std::size_t(index)];
}

QString gradeName(int index) {
    if (index < 0) return QString();
    if (index < kKyu) return QCoreApplication::translate("Grades", "%1級").arg(kKyu - index);
    static const char* const dans[] = {
        QT_TRANSLATE_NOOP("Grades", "初段"), QT_TRANSLATE_NOOP("Grades", "二段"),
        QT_TRANSLATE_NOOP("Grades", "三段"), QT_TRANSLATE_NOOP("Grades", "四段"),
        QT_TRANSLATE_NOOP("Grades", "五段"), QT_TRANSLATE_NOOP("Grades", "六段"),
        QT_TRANSLATE_NOOP("Grades", "七段"), QT_TRANSLATE_NOOP("Grades", "八段"),
        QT_TRANSLATE_NOOP("Grades", "九段"), QT_TRANSLATE_NOOP("Grades", "十段")};
    const int dan = index - kKyu;
    return dan < int(std::size(dans)) ? QCoreApplication::translate("Grades", dans[dan])
                                      : QCoreApplication::translate("Grades", "%1段").arg(dan + 1);
}

QString rulesLine(Way way, int index) {
    const std::optional<Grade> g = gradeAt(way, index);
    if (!g) return QString();
    // Short enough to be read on the prompt line at a size near its own: the text's kind
    // shows in the pane as the test begins.
    return QCoreApplication::translate("Grades", "%1 %2分 合格%3字/分 正確%4% ミス−%5字")
        .arg(gradeName(index))
        .arg(g->minutes)
        .arg(g->passNet)
        .arg(g->passAccuracy)
        .arg(kPenalty);
}

Score score(int rightChars, int faults, double minutes) {
    Score s;
    if (rightChars + faults > 0) s.accuracy = 100.0 * rightChars / (rightChars + faults);
    if (minutes > 0) s.net = std::max(0.0, (rightChars - double(kPenalty) * faults) / minutes);
    return s;
}

bool meets(const Grade& grade, const Score& s) {
    // A hair below from rounding a shown figure is still below: compared as computed.
    return s.net >= grade.passNet && s.accuracy >= grade.passAccuracy;
}

TestResult judge(Way way, int index, const QString& textId, int rightChars, int faults,
                 double minutes, bool ranFullTime) {
    TestResult r;
    r.way = wayName(way);
    r.grade = index;
    r.textId = textId;
    r.rightChars = rightChars;
    r.faults = faults;
    r.minutes = minutes;
    const Score s = score(rightChars, faults, minutes);
    r.net = s.net;
    r.accuracy = s.accuracy;
    const std::optional<Grade> g = gradeAt(way, index);
    r.passed = ranFullTime && g && meets(*g, s);
    return r;
}

std::set<int> earnedGrades(const QList<TestResult>& results) {
    std::set<int> earned;
    for (const TestResult& r : results)
        if (r.passed && r.grade >= 0) earned.insert(r.grade);
    return earned;
}

int nextGrade(Way way, const std::set<int>& earned) {
    const int top = int(ladder(way).size()) - 1;
    auto it = earned.upper_bound(top); // an index beyond the ladder earns nothing here
    if (it == earned.begin()) return 0;
    const int highest = *std::prev(it);
    if (highest < 0) return 0;
    return highest >= top ? -1 : highest + 1;
}

std::optional<TestResult> bestAt(const QList<TestResult>& results, int index) {
    std::optional<TestResult> best;
    for (const TestResult& r : results) {
        if (r.grade != index) continue;
        if (!best || (r.passed && !best->passed) || (r.passed == best->passed && r.net > best->net))
            best = r;
    }
    return best;
}

Shortfall shortfall(Way way, int index, const QList<TestResult>& results) {
    Shortfall f;
    const std::optional<Grade> g = gradeAt(way, index);
    if (!g) return f;
    std::optional<TestResult> best = bestAt(results, index);
    f.sat = best.has_value();
    if (!best)
        for (const TestResult& r : results)
            if (!best || r.net > best->net) best = r;
    const double net = best ? best->net : 0;
    const double accuracy = best ? best->accuracy : 0;
    // Whole characters a minute, rounded up: "12 more" is never met by 11.5.
    f.net = std::max(0.0, std::ceil(g->passNet - net));
    f.accuracy = std::max(0.0, g->passAccuracy - accuracy);
    return f;
}

} // namespace grades
