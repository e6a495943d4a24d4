#include "Drill.h"
#include "DrillWeights.h"
#include "KeyTable.h"
#include "PracticeRecord.h"
#include "PracticeText.h"
#include "TestEnv.h"
#include "WeakLesson.h"

#include <QFile>
#include <QtTest>

// The weak-key drill's draw and the weak-key lesson, without a window.
class TstWeakPractice : public QObject {
    Q_OBJECT

private slots:
    void weightedDraws_data();
    void weightedDraws();
    void weakLesson_data();
    void weakLesson();
};

namespace {

using Rows = QList<QList<int>>; // (key or record entry, typed, missed[, ms each[, timed]])

// Every key of the drill rows typed 100 times, none missed, 300 ms each; then changes.
Rows allTyped(const char* rows, const Rows& changes = {}) {
    Rows r;
    for (const char* c = rows; *c; ++c) r.append({keyCodeOfChar(*c), 100, 0, 300});
    for (const auto& change : changes)
        for (auto& row : r)
            if (row[0] == change[0]) row = change;
    return r;
}

QList<QByteArray> shippedLessons() {
    QList<QByteArray> texts;
    for (const char* name : {"Lesson1.txt", "Lesson2.txt", "Lesson3.txt"}) {
        QFile f(QStringLiteral(VELOTAPPER_LESSONS_DIR "/") + QLatin1String(name));
        if (f.open(QIODevice::ReadOnly)) texts.append(f.readAll());
    }
    return texts;
}

// The share of the characters other than blanks and line ends typed on the keys.
double density(const QByteArray& text, const QList<int>& keys) {
    int hits = 0, all = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\r') continue;
        ++all;
        hits += keys.contains(keyOfPrintable(c)) ? 1 : 0;
    }
    return double(hits) / all;
}

} // namespace

void TstWeakPractice::weightedDraws_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<Rows>("history");
    QTest::addColumn<Rows>("record");
    QTest::addColumn<char>("weak");
    QTest::addColumn<char>("sound");
    QTest::addColumn<double>("low"); // of weak / sound
    QTest::addColumn<double>("high");
    QTest::addColumn<char>("unseen"); // a key never typed, NUL for none

    // Missed 80 %: 400 wrong presses against 100 right ones.
    QTest::newRow("history: D missed 80 %") << 1 << allTyped("ASDFGHJKL;", {{'D', 100, 400, 300}})
                                            << Rows{} << 'D' << 'F' << 3.0 << 5.0 << '\0';
    QTest::newRow("history: ; missed 80 %, under its own key code")
        << 1 << allTyped("ASDFGHJKL;", {{187, 100, 400, 300}}) << Rows{} << ';' << 'A' << 3.0 << 5.0
        << '\0';
    // 150 keys in the history: too few, so the record decides and Q is sound.
    QTest::newRow("record while the history is short")
        << 2 << Rows{{'Q', 150, 150, 300}} << allTyped("QWERTYUIOP", {{'W', 100, 400}}) << 'W'
        << 'Q' << 3.0 << 5.0 << '\0';
    QTest::newRow("record: ; counted under its character and its key")
        << 1 << Rows{} << Rows{{';', 50, 200}, {187, 50, 200}, {'A', 100, 0}} << ';' << 'A' << 3.0
        << 5.0 << '\0';
    QTest::newRow("A and Z rows, Z row never typed")
        << 5 << allTyped("ASDFGHJKL;", {{'J', 100, 400, 300}}) << Rows{} << 'J' << 'A' << 3.0 << 5.0
        << 'X';
    QTest::newRow("slow key: four times the others' time")
        << 1 << allTyped("ASDFGHJKL;", {{'K', 100, 0, 1200}}) << Rows{} << 'K' << 'A' << 1.6 << 2.4
        << '\0';
    QTest::newRow("slow key: its time over its timed presses only")
        << 1 << allTyped("ASDFGHJKL;", {{'K', 100, 0, 1200, 25}}) << Rows{} << 'K' << 'A' << 1.6
        << 2.4 << '\0';
}

void TstWeakPractice::weightedDraws() {
    QFETCH(int, mask);
    QFETCH(Rows, history);
    QFETCH(Rows, record);
    QFETCH(char, weak);
    QFETCH(char, sound);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(char, unseen);
    TestEnv env;
    KeyFigureMap recent;
    for (const auto& r : history)
        recent[r[0]] = KeyFigures{r[1], r[2], r.value(4, r[1]) * r[3], r.value(4, -1)};
    PracticeRecord rec;
    for (const auto& r : record) rec.keyStats[std::size_t(r[0])] = KeyStat{r[1], r[2]};

    QByteArray allowed;
    for (int r = 0; r < 4; ++r)
        if (mask & (1 << r)) allowed += drillRow(r);
    const DrillWeights weights = drillWeights(mask, recent, rec);
    std::map<char, int> count;
    char previous = '\0';
    for (int i = 0; i < 10'000; ++i) {
        const char c = drawWeightedChar(weights, previous);
        QVERIFY2(allowed.contains(c), QByteArray(1, c).constData());
        QVERIFY(c != previous);
        ++count[c];
        previous = c;
    }
    const double ratio = double(count[weak]) / count[sound];
    QVERIFY2(ratio >= low && ratio <= high, QByteArray::number(ratio).constData());
    if (unseen) // weighs like an average key: between the sound and the weak
        QVERIFY(count[sound] < count[unseen] && count[unseen] < count[weak]);
    QCOMPARE(weights.noted.value(0), keyCodeOfChar(weak));
}

void TstWeakPractice::weakLesson_data() {
    QTest::addColumn<QList<int>>("ranking");
    QTest::addColumn<QList<int>>("keys");
    QTest::newRow("upper row") << QList<int>{'Q', 'P', 'W', 'Y', 'B', 'C'}
                               << QList<int>{'Q', 'P', 'W', 'Y', 'B'};
    QTest::newRow("right hand, with the comma")
        << QList<int>{'J', 'K', 'M', 'N', 188} << QList<int>{'J', 'K', 'M', 'N', 188};
    // X stands only inside "desk@example.jp", which is no whole word.
    QTest::newRow("keys no word holds are passed over")
        << QList<int>{96, 'Z', 'X', 'V', 'Q', 'G', 'B'} << QList<int>{'Z', 'V', 'Q', 'G', 'B'};
    // Shift joins the weak keys before a weak key mostly missed without it: capitals.
    QTest::newRow("Shift left out") << rankShift({'Q', 'W', 'E', 'R', 'T', 'Y'}, {'T', 'Y'})
                                    << QList<int>{'Q', 'W', 'E', 'R', 16};
}

void TstWeakPractice::weakLesson() {
    QFETCH(QList<int>, ranking);
    QFETCH(QList<int>, keys);
    const QList<QByteArray> shipped = shippedLessons();
    QCOMPARE(shipped.size(), 3);
    quint32 state = 7;
    const WeakLesson lesson = weakKeyLesson(lessonWords(shipped), ranking, [&state] {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) & 0x7FFF);
    });
    QCOMPARE(lesson.keys, keys);
    QVERIFY2(lesson.text.size() > 900 && lesson.text.size() < 1100,
             QByteArray::number(lesson.text.size()).constData());
    QSet<QByteArray> whole;
    for (const QByteArray& w : lessonWords(shipped)) whole.insert(w.toLower());
    // Words and single blanks, on lines the preparation keeps whole.
    const bool shift = keys.contains(16);
    int plainWords = 0, words = 0, capitals = 0;
    for (const QByteArray& line : lesson.text.chopped(1).split('\n')) {
        QVERIFY(line.size() <= TextCollector::kPieceWidth);
        for (const QByteArray& word : line.split(' ')) {
            QVERIFY2(!word.isEmpty(), line.constData());
            // A whole lesson word in lower case, perhaps with a weak key's sign after it.
            QByteArray core = word;
            if (!std::isalnum(quint8(core.back()))) {
                QVERIFY2(keys.contains(keyOfPrintable(core.back())), line.constData());
                core.chop(1);
            }
            QVERIFY2(whole.contains(core.toLower()) && (shift || core == core.toLower()),
                     line.constData());
            capitals += core != core.toLower() ? 1 : 0;
            ++words;
            plainWords += density(word, keys) == 0 ? 1 : 0;
        }
    }
    QVERIFY2(plainWords * 10 >= words, "hardly any other words mixed in");
    QCOMPARE(capitals > 0, shift);
    const double shippedDensity = density(shipped.join('\n'), keys);
    const double lessonDensity = density(lesson.text, keys);
    QVERIFY2(lessonDensity >= 3 * shippedDensity,
             QByteArray::number(lessonDensity / shippedDensity).constData());
}

QTEST_GUILESS_MAIN(TstWeakPractice)
#include "tst_weakpractice.moc"
