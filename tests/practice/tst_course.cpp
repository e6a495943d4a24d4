#include "Course.h"

#include <QRegularExpression>
#include <QTest>
#include <random>

using namespace course;

namespace {

// The figures of typing a lesson: each press `ms` long, the first `misses` presses of
// the slow key missed once.
KeyFigureMap typeLesson(Track track, const Lesson& lesson, const std::map<int, int>& msOf) {
    KeyFigureMap run;
    for (const KeyStroke& k : strokesOf(track, lesson.text)) {
        KeyFigures& f = run[k.vk];
        f.expected += 1;
        f.msTotal += msOf.count(k.vk) ? msOf.at(k.vk) : 300;
    }
    return run;
}

std::function<int()> seeded(unsigned seed) {
    auto g = std::make_shared<std::mt19937>(seed);
    return [g] { return int((*g)() % 32768); };
}

} // namespace

class TestCourse : public QObject {
    Q_OBJECT
private slots:
    void unlockRule_data();
    void unlockRule();
    void lettersOrder();
    void lessonsKeepToUnlockedKeysAndShares();
    void numberRowLessonsReadAsText_data();
    void numberRowLessonsReadAsText();
    void learnerWalksEachTrack_data();
    void learnerWalksEachTrack();
};

void TestCourse::unlockRule_data() {
    // Letters start with A S D F J K L; E comes next. Runs are newest first.
    QTest::addColumn<std::vector<KeyFigureMap>>("runs");
    QTest::addColumn<int>("unlocked");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("focus");
    KeyFigureMap fast; // every start key at 200 a minute, faultless
    for (char c : QByteArray("ASDFJKL")) fast[c] = KeyFigures{100, 0, 30000};
    KeyFigureMap slowL = fast;
    slowL['L'] = KeyFigures{100, 0, 60000}; // 100 a minute
    KeyFigureMap sloppyD = fast;
    sloppyD['D'] = KeyFigures{90, 10, 27000}; // 90 %
    KeyFigureMap damagedK = fast;
    damagedK['K'] = KeyFigures{100, -3, 30000};
    KeyFigureMap noTimeK = fast;
    noTimeK['K'] = KeyFigures{100, 0, 0};
    KeyFigureMap oldMisses; // 50 presses all wrong, before the last 100
    oldMisses['D'] = KeyFigures{0, 50, 0};
    KeyFigureMap untimedL = fast;
    untimedL['L'] = KeyFigures{100, 0, 30000, 50}; // 50 timed presses in 30 s: 100 a minute
    KeyFigureMap firstKeyS = fast;
    firstKeyS['S'] = KeyFigures{1, 10, 0, 0}; // right only as a run's first key: no time
    QTest::newRow("all meet: E unlocks") << std::vector{fast} << 7 << 8 << 6;
    QTest::newRow("newest slow: stays, in focus") << std::vector{slowL} << 7 << 7 << 6;
    QTest::newRow("older key inaccurate: stays, newest still focus")
        << std::vector{sloppyD} << 8 << 8 << 7;
    QTest::newRow("newest meets: weakest takes focus") << std::vector{sloppyD} << 7 << 7 << 2;
    QTest::newRow("damaged figures count as untyped") << std::vector{damagedK} << 7 << 7 << 5;
    QTest::newRow("presses without time are damaged") << std::vector{noTimeK} << 7 << 7 << 5;
    QTest::newRow("speed over the timed presses") << std::vector{untimedL} << 7 << 7 << 6;
    QTest::newRow("untimed presses count for accuracy")
        << std::vector{firstKeyS, fast} << 7 << 7 << 1;
    QTest::newRow("misses older than the last 100 presses")
        << std::vector{fast, oldMisses} << 7 << 8 << 6;
    QTest::newRow("nothing typed") << std::vector<KeyFigureMap>{} << 7 << 7 << 6;
    QTest::newRow("never relocks, out of range clamps")
        << std::vector<KeyFigureMap>{} << 99 << 49 << 48;
    QTest::newRow("below the start keys") << std::vector{fast} << 0 << 8 << 6;
}

void TestCourse::unlockRule() {
    QFETCH(std::vector<KeyFigureMap>, runs);
    QFETCH(int, unlocked);
    QFETCH(int, after);
    QFETCH(int, focus);
    const auto s = standings(runs);
    QCOMPARE(unlockAfter(Track::Letters, unlocked, s, Targets{}), after);
    QCOMPARE(focusIndex(Track::Letters, unlocked, s, Targets{}), focus);
}

void TestCourse::lettersOrder() {
    QStringList caps;
    for (const CourseKey& k : keyOrder(Track::Letters)) caps << k.cap;
    QCOMPARE(caps.join(QLatin1Char(' ')),
             QStringLiteral("A S D F J K L E I R U O N T H G C M W P Y V B X Q Z , . ; - / Shift "
                            "4 7 3 8 2 9 1 0 5 6 : @ [ ] ^ ¥ _"));
    QCOMPARE(indexOfVk(Track::Letters, 220), 47); // the yen key
    QCOMPARE(indexOfVk(Track::Letters, 226), 48); // the ro key
}

void TestCourse::lessonsKeepToUnlockedKeysAndShares() {
    for (Track track : {Track::Letters, Track::Kana}) {
        const WordBank bank(track, shippedWords(track));
        QVERIFY(bank.size() >= 2000);
        const auto& keys = keyOrder(track);
        for (int open = startKeys(track); open <= int(keys.size()); ++open) {
            for (int focus : {open - 1, 0, open / 2}) {
                for (unsigned seed = 0; seed < 6; ++seed) {
                    const Lesson l = makeLesson(bank, open, focus, seeded(seed));
                    const QByteArray what = trackName(track).toLatin1() + " " +
                                            QByteArray::number(open) + " focus " +
                                            QByteArray::number(focus) + ": " + l.text.toUtf8();
                    QVERIFY2(l.keys >= 150 && l.keys <= 250, what);
                    // Words enough that none wears out: at most 15 % each, 12 different.
                    const QStringList tokens = l.text.split(
                        QRegularExpression(QStringLiteral(R"([ \n\x{3000}])")), Qt::SkipEmptyParts);
                    std::map<QString, int> uses;
                    int most = 0;
                    for (const QString& t : tokens) most = std::max(most, ++uses[t]);
                    QVERIFY2(most * 100 <= 15 * tokens.size() && uses.size() >= 12, what);
                    QVERIFY2(l.focusPresses * 5 >= l.keys, what);
                    if (focus != open - 1) QVERIFY2(l.newestPresses * 10 >= l.keys, what);
                    int presses = 0;
                    for (const KeyStroke& k : strokesOf(track, l.text)) {
                        ++presses;
                        if (k.vk == 32) continue;
                        int i = 0;
                        while (i < open && keys[std::size_t(i)].vk != k.vk) ++i;
                        QVERIFY2(i < open, what);
                        QVERIFY2(!k.shift || indexOfVk(track, kShiftKey) < open, what);
                    }
                    QCOMPARE(presses, l.keys);
                }
            }
        }
    }
}

void TestCourse::numberRowLessonsReadAsText_data() {
    // The lesson that brings the key, over a dozen seeds, holds such a token somewhere.
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("4: dollars") << '4' << QString(R"(\$4)");
    QTest::newRow("1: years") << '1' << QString(R"(\b19\d\d\b)");
    QTest::newRow("0: phone numbers") << '0' << QString(R"(\b0\d0?-\d{4}-\d{4}\b)");
    QTest::newRow("6: ranges") << '6' << QString(R"(\b\d-\d\b)");
    QTest::newRow(": times") << ':' << QString(R"(\b\d{1,2}:[0-5]\d\b)");
    QTest::newRow("@ addresses") << '@' << QString(R"(\w@\w)");
    QTest::newRow("] notes") << ']' << QString(R"(\[\w+\])");
    QTest::newRow("yen prices") << '\\' << QString(R"(\\[1-9][\d,]*\b)");
    QTest::newRow("_ names") << '_' << QString(R"(\w_\w)");
}

void TestCourse::numberRowLessonsReadAsText() {
    QFETCH(char, key);
    QFETCH(QString, pattern);
    const WordBank bank(Track::Letters, shippedWords(Track::Letters));
    const int open = indexOfVk(Track::Letters, jisKeyOfChar(key).vk) + 1;
    QVERIFY(open > indexOfVk(Track::Letters, kShiftKey) + 1);
    QString all;
    for (unsigned seed = 0; seed < 12; ++seed)
        all += makeLesson(bank, open, open - 1, seeded(seed)).text + QLatin1Char('\n');
    QVERIFY2(all.contains(QRegularExpression(pattern)), qPrintable(all));
}

void TestCourse::learnerWalksEachTrack_data() {
    QTest::addColumn<Track>("track");
    QTest::addColumn<int>("firstMs");
    QTest::addColumn<int>("most");
    // A learner at 200 presses a minute unlocks a key with every lesson. One who types
    // a new key at 100 a minute in its first lesson needs two or three on each.
    for (Track t : {Track::Letters, Track::Kana}) {
        const QByteArray name = trackName(t).toLatin1();
        QTest::newRow(name + " at the targets") << t << 300 << lessonCount(t) - 1;
        QTest::newRow(name + " slow on new keys") << t << 600 << 3 * (lessonCount(t) - 1);
    }
}

void TestCourse::learnerWalksEachTrack() {
    QFETCH(Track, track);
    QFETCH(int, firstMs);
    QFETCH(int, most);
    const WordBank bank(track, shippedWords(track));
    const int all = int(keyOrder(track).size());
    std::vector<KeyFigureMap> history;
    int open = startKeys(track), taken = 0;
    std::map<int, int> lessonsOnKey;
    while (open < all && taken < 500) {
        const auto s = standings(history);
        const Lesson l =
            makeLesson(bank, open, focusIndex(track, open, s, Targets{}), seeded(unsigned(taken)));
        const int newest = keyOrder(track)[std::size_t(open - 1)].vk;
        std::map<int, int> ms;
        if (lessonsOnKey[open]++ == 0 && open > startKeys(track)) ms[newest] = firstMs;
        history.insert(history.begin(), typeLesson(track, l, ms));
        ++taken;
        const int next = unlockAfter(track, open, standings(history), Targets{});
        QVERIFY(next == open || next == open + 1);
        open = next;
    }
    qInfo("%s: %d lessons to the whole keyboard", qPrintable(trackName(track)), taken);
    QCOMPARE(open, all);
    QVERIFY(taken <= most);
    if (firstMs == 300) QCOMPARE(taken, most);
}

QTEST_GUILESS_MAIN(TestCourse)
#include "tst_course.moc"
