#include "GradeTexts.h"
#include "Grades.h"
#include "KanaText.h"

#include <QtTest>

using namespace grades;

namespace {

// Reads every kanji run as one word whose reading is "カ" a kanji, except the runs
// listed as unknown; kana are particles, the rest punctuation.
class Dictionary : public ReadingSource {
public:
    bool up = true;
    QStringList unknown;
    bool available() override { return up; }
    std::vector<Morpheme> analyse(QStringView text) override {
        std::vector<Morpheme> out;
        for (int i = 0; i < text.size();) {
            int end = i + 1;
            const bool kanji = kana::isKanji(text[i]);
            while (kanji && end < text.size() && kana::isKanji(text[end])) ++end;
            Morpheme m;
            m.surface = text.sliced(i, end - i).toString();
            if (kanji && !unknown.contains(m.surface)) m.reading = QString(end - i, u'カ');
            m.pos1 = kanji ? "名詞" : kana::isHiragana(text[i]) ? "助詞" : "記号";
            m.start = i;
            m.end = end;
            out.push_back(m);
            i = end;
        }
        return out;
    }
};

} // namespace

class TestGrades : public QObject {
    Q_OBJECT
    MecabReader mecab_;

private slots:
    void scoring_data();
    void scoring();
    void nextGradeAndShortfall();
    void weeklyRotation();
    void fallback();
};

void TestGrades::scoring_data() {
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("grade");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("faults");
    QTest::addColumn<double>("minutes");
    QTest::addColumn<bool>("fullTime");
    QTest::addColumn<double>("net");
    QTest::addColumn<bool>("passed");
    const int romaji = int(Way::Romaji), letters = int(Way::Letters), kana = int(Way::Kana);
    // 20級 romaji: 15 a minute, 80 %, one minute.
    QTest::newRow("both at the line") << romaji << 0 << 16 << 4 << 1.0 << true << 8.0 << false;
    QTest::newRow("speed at, accuracy at")
        << romaji << 0 << 20 << 5 << 1.0 << true << 10.0 << false;
    QTest::newRow("no faults, at speed") << romaji << 0 << 15 << 0 << 1.0 << true << 15.0 << true;
    QTest::newRow("speed just below") << romaji << 0 << 14 << 0 << 1.0 << true << 14.0 << false;
    // 24 right, 6 faults: accuracy exactly 80 %, net 24 - 12 = 12: below 15.
    QTest::newRow("accuracy at, penalty sinks speed")
        << romaji << 0 << 24 << 6 << 1.0 << true << 12.0 << false;
    // 40 right, 10 faults: 80 %, net 20: passes; one more fault: 78.4 %.
    QTest::newRow("accuracy at the line") << romaji << 0 << 40 << 10 << 1.0 << true << 20.0 << true;
    QTest::newRow("accuracy just below") << romaji << 0 << 40 << 11 << 1.0 << true << 18.0 << false;
    QTest::newRow("stopped early") << romaji << 0 << 40 << 0 << 0.5 << false << 80.0 << false;
    QTest::newRow("faults past the right ones")
        << romaji << 0 << 3 << 9 << 1.0 << true << 0.0 << false;
    // 初段 letters: 335 a minute, 97 %, ten minutes; 3400 right, 25 faults: 97.3 %, 335.
    QTest::newRow("dan at the line")
        << letters << 20 << 3400 << 25 << 10.0 << true << 335.0 << true;
    QTest::newRow("dan a fault too many")
        << letters << 20 << 3400 << 26 << 10.0 << true << 334.8 << false;
    // 1級 kana: 200 a minute, 97 %.
    QTest::newRow("kana way") << kana << 19 << 2000 << 0 << 10.0 << true << 200.0 << true;
    QTest::newRow("past the top") << kana << 25 << 9000 << 0 << 10.0 << true << 900.0 << false;
    QTest::newRow("nothing typed") << kana << 0 << 0 << 0 << 1.0 << true << 0.0 << false;
}

// Net characters a minute take kPenalty off per fault; a grade needs both figures and
// the full time.
void TestGrades::scoring() {
    QFETCH(int, way);
    QFETCH(int, grade);
    QFETCH(int, right);
    QFETCH(int, faults);
    QFETCH(double, minutes);
    QFETCH(bool, fullTime);
    QFETCH(double, net);
    QFETCH(bool, passed);
    const TestResult r =
        judge(Way(way), grade, QStringLiteral("id"), right, faults, minutes, fullTime);
    QCOMPARE(r.net, net);
    QCOMPARE(r.passed, passed);
    QCOMPARE(r.way, wayName(Way(way)));
    if (right + faults > 0) QCOMPARE(r.accuracy, 100.0 * right / (right + faults));
}

// The grade above the highest earned, and how far the best results are from it.
void TestGrades::nextGradeAndShortfall() {
    const struct {
        std::set<int> earned;
        int next;
    } rows[] = {{{}, 0},        {{0}, 1},   {{0, 1, 2}, 3}, {{5}, 6},
                {{0, 3, 1}, 4}, {{23}, 24}, {{24}, -1},     {{-1, 40}, 0}};
    for (const auto& row : rows) QCOMPARE(nextGrade(Way::Romaji, row.earned), row.next);
    for (Way w : {Way::Letters, Way::Romaji, Way::Kana}) {
        QCOMPARE(int(ladder(w).size()), 25);
        int last = 0;
        for (const Grade& g : ladder(w)) {
            QVERIFY(g.passNet > last && g.minutes >= 1 && g.minutes <= 10);
            last = g.passNet;
        }
        QCOMPARE(ladder(w).front().minutes, 1);
        QCOMPARE(ladder(w).back().minutes, 10);
    }
    QCOMPARE(gradeName(0), QStringLiteral("20級"));
    QCOMPARE(gradeName(19), QStringLiteral("1級"));
    QCOMPARE(gradeName(20), QStringLiteral("初段"));
    QCOMPARE(gradeName(24), QStringLiteral("五段"));

    // 8級 romaji (index 12): 80 a minute, 93 %.
    const auto result = [](int grade, double net, double accuracy, bool passed) {
        TestResult r;
        r.grade = grade;
        r.net = net;
        r.accuracy = accuracy;
        r.passed = passed;
        return r;
    };
    const QList<TestResult> tried{result(11, 72, 95, true), result(12, 67.5, 96, false),
                                  result(12, 68.2, 91, false)};
    Shortfall f = shortfall(Way::Romaji, 12, tried);
    QVERIFY(f.sat);
    QCOMPARE(f.net, 12.0); // from 68.2, rounded up
    QCOMPARE(f.accuracy, 2.0);
    f = shortfall(Way::Romaji, 12, tried.mid(0, 1)); // not sat: the best elsewhere
    QVERIFY(!f.sat);
    QCOMPARE(f.net, 8.0);
    QCOMPARE(f.accuracy, 0.0);
    QCOMPARE(shortfall(Way::Romaji, 12, {}).net, 80.0);
    QCOMPARE(bestAt(tried, 12)->net, 68.2);
    QVERIFY(rulesLine(Way::Romaji, 12).contains(QStringLiteral("80字/分")));
}

// Every band, over a year of weeks from a Sunday night across New Year: each week's text
// of each grade differs from every other week's, no line comes back within four weeks,
// the id rebuilds the text, and it is long enough for twice the pass speed.
void TestGrades::weeklyRotation() {
    if (!mecab_.available()) QSKIP("needs MeCab with a dictionary");
    for (Way w : {Way::Letters, Way::Romaji}) {
        for (const Grade& g : ladder(w)) {
            // The longest text of each band, and the shortest, say all of it.
            const bool first = g.index == 0 || ladder(w)[std::size_t(g.index) - 1].band != g.band;
            const bool longest = g.index + 1 == int(ladder(w).size()) ||
                                 ladder(w)[std::size_t(g.index) + 1].band != g.band;
            if (!first && !longest) continue;
            QSet<QString> texts;
            std::vector<QSet<QString>> lines;
            for (int week = 0; week < 52; ++week) {
                const QDate day = QDate(2026, 12, 27).addDays(7 * week);
                const std::optional<TestText> t = testText(w, g.index, day, mecab_);
                QVERIFY2(t, qPrintable(g.band));
                QVERIFY2(t->chars >= 2 * g.minutes * g.passNet, qPrintable(t->id));
                QVERIFY2(t->id.contains(QStringLiteral(".0/")), qPrintable(t->id)); // read whole
                QVERIFY2(!texts.contains(t->written), qPrintable(t->id));
                texts.insert(t->written);
                const QStringList own = t->written.split(QLatin1Char('\n'));
                lines.emplace_back(own.begin(), own.end());
                QCOMPARE(lines.back().size(), own.size()); // no line twice in a text
                for (std::size_t back = 1; back <= 3 && back < lines.size(); ++back)
                    QVERIFY2(!lines.back().intersects(lines[lines.size() - 1 - back]),
                             qPrintable(t->id));
                if (week % 13 == 0) {
                    const std::optional<TestText> again = textById(t->id, mecab_);
                    QVERIFY2(again && again->written == t->written, qPrintable(t->id));
                    QCOMPARE(again->chars, t->chars);
                }
            }
        }
    }
    // Sunday and the Monday after it are different weeks, in the id as ISO weeks.
    const auto id = [this](QDate d) { return testText(Way::Romaji, 0, d, mecab_)->id; };
    QVERIFY(id(QDate(2026, 12, 27)).startsWith(QStringLiteral("ja-kana/2026-W52.0/40/")));
    QVERIFY(id(QDate(2026, 12, 28)).startsWith(QStringLiteral("ja-kana/2026-W53.0/")));
    QVERIFY(id(QDate(2027, 1, 3)).startsWith(QStringLiteral("ja-kana/2026-W53.0/")));
    QVERIFY(!textById(QStringLiteral("ja-kana/2026-W52.0/40/00000000"), mecab_)); // other file
}

// A text whose readings cannot be had falls back to the band's next attempt, and the id
// says which; without any readable attempt there is no text. A band's file that does not
// hold together is no band.
void TestGrades::fallback() {
    QByteArray file =
        "@frames\n{a}の{b}、{c}。\n@a\n難\n易\n楽\n春\n@b\nあ\nい\nう\nえ\nお\nか\nき\n"
        "く\nけ\nこ\n@c\n";
    for (int i = 0; i < 600; ++i) file += "c" + QByteArray::number(i) + "\n";
    const std::optional<Band> band = parseBand(QStringLiteral("ja-test"), file);
    QVERIFY(band);
    Dictionary dict;
    const QDate day(2027, 3, 10);
    const std::optional<TestText> whole = choose(*band, day, 100, dict);
    QVERIFY(whole && whole->id.contains(QStringLiteral("-W10.0/100/")));
    QCOMPARE(whole->phrases.front().reading.front(), u'か');

    // 難 has no reading: a week whose first text holds it takes the first that does not.
    dict.unknown = {QStringLiteral("難")};
    int fell = 0, none = 0;
    for (int week = 0; week < 30; ++week) {
        const QDate d = day.addDays(7 * week);
        int firstWhole = -1;
        for (int a = kAttempts - 1; a >= 0; --a)
            if (compose(*band, d, a, 30, dict)) firstWhole = a;
        const std::optional<TestText> t = choose(*band, d, 30, dict);
        QCOMPARE(t.has_value(), firstWhole >= 0);
        if (!t) {
            ++none;
            continue;
        }
        QVERIFY(!t->written.contains(QStringLiteral("難")));
        QVERIFY2(t->id.contains(QStringLiteral(".%1/30/").arg(firstWhole)), qPrintable(t->id));
        fell += firstWhole > 0;
    }
    QVERIFY2(fell > 0 && none > 0, qPrintable(QStringLiteral("%1 %2").arg(fell).arg(none)));
    dict.unknown.clear();
    dict.up = false;
    QVERIFY(!choose(*band, day, 30, dict)); // no dictionary
    dict.up = true;
    QVERIFY(!choose(*band, day, 1'000'000, dict)); // too few characters in an attempt

    // A frame naming no pool, an empty pool, text before a section, no frame, a frame of
    // too few lines.
    for (const char* bad : {"@frames\n{x}\n", "@frames\n{a}\n@a\n", "{a}\n@a\nb\n", "@a\nb\n",
                            "@frames\n{a}{a}\n@a\nb\nc\n"})
        QVERIFY2(!parseBand(QStringLiteral("ja-bad"), bad), bad);
}

QTEST_GUILESS_MAIN(TestGrades)
#include "tst_grades.moc"
