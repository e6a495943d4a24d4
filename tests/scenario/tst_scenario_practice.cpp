#include "../practice/DrillDriver.h"
#include "../practice/TypingKeys.h"
#include "LessonLines.h"

#include <QFile>
#include <QtTest>

// Whole runs through the real main window with a fake clock: a lesson typed to its
// end, and a whole drill, down to the bytes of the record file.
class TstScenarioPractice : public QObject {
    Q_OBJECT

private slots:
    void lessonTypedToTheEnd_data();
    void lessonTypedToTheEnd();
    void wholeDrill();
};

namespace {

PracticeRecord startingRecord(int level) {
    PracticeRecord r;
    r.applyDefaults();
    r.level = level;
    r.typedTotal = 1000;
    r.missTotal = 40;
    r.fastestRate = 3.0f;
    r.averageRate = 2.0f;
    r.currentRate = 1.0f;
    r.keyStats['A'].tries = 12;
    r.keyStats['a'].misses = 3;
    return r;
}

template <std::size_t N> QByteArray joined(const char* const (&lines)[N]) {
    QByteArray text;
    for (const char* line : lines) text.append(line).append("\r\n");
    text.chop(1);
    return text;
}

} // namespace

void TstScenarioPractice::lessonTypedToTheEnd_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("words");
    QTest::newRow("beginner") << 0 << "Lesson1.txt" << joined(kLesson1Lines) << 1031 << 254;
    QTest::newRow("intermediate") << 1 << "Lesson2.txt" << joined(kLesson2Lines) << 1039 << 182;
    QTest::newRow("advanced") << 2 << "Lesson3.txt" << joined(kLesson3Lines) << 1046 << 208;
}

void TstScenarioPractice::lessonTypedToTheEnd() {
    QFETCH(int, level);
    QFETCH(QString, lesson);
    QFETCH(QByteArray, text);
    QFETCH(int, length);
    QFETCH(int, words);
    PracticeRecord expected = startingRecord(level);
    Fixture f(expected.toBytes());
    QFile source(QStringLiteral(VELOTAPPER_LESSONS_DIR "/") + lesson);
    QVERIFY(source.open(QIODevice::ReadOnly));
    f.env.writeFile(lesson, source.readAll());
    f.w->show();

    f.w->btnExercise->click();
    QCOMPARE(text.size(), length);
    QCOMPARE(QByteArray(f.ex().practiceText()), text);
    QCOMPARE(f.display(), QStringLiteral("次のキーは:[%1]です。").arg(QChar(text[0])));
    QVERIFY(f.ex().practiceRunning());
    QVERIFY(!f.w->btnExercise->isEnabled() && !f.w->btnStart->isEnabled());
    QVERIFY(f.w->btnStop->isEnabled());
    QCOMPARE(f.w->Bar1->maximum(), length);

    expected.textLength = length;
    expected.wordCount = words;
    expected.runMisses = 0;
    QWidget* pane = f.w->Memo;
    int keysTyped = 0, ticks = 0, barAtLastTick = 0;
    while (f.ex().practiceRunning()) {
        const int pos = f.ex().cursorPos;
        const char c = text[pos];
        if (keysTyped % 97 == 50 && c != 'q' && c != '\r') { // now and then a slip
            keys::tap(pane, keys::Q);
            ++expected.missTotal;
            ++expected.runMisses;
            ++expected.keyStats['Q'].misses;
        }
        if (c == '\r') {
            keys::tap(pane, keysTyped % 2 ? keys::Enter : keys::Space);
            QCOMPARE(f.ex().cursorPos, pos + 2);
        } else {
            typeChar(pane, c);
            QCOMPARE(f.ex().cursorPos, pos + 1);
            ++expected.keyStats[std::size_t(strokeFor(c).keyCode)].tries;
        }
        if (f.ex().cursorPos <= length) {
            ++expected.keyStats[uchar(text[f.ex().cursorPos])].tries;
            // The pane shows the line that holds the cursor.
            // The caret stands on the same line and column of the pane as the cursor
            // in the text.
            const QByteArray before = text.left(f.ex().cursorPos);
            const QTextCursor caret = f.w->Memo->textCursor();
            QCOMPARE(caret.blockNumber(), int(before.count('\n')));
            QCOMPARE(caret.positionInBlock(), int(before.size() - before.lastIndexOf('\n') - 1));
            const QPoint middle(1, f.w->Memo->viewport()->height() / 2);
            QCOMPARE(f.w->Memo->cursorForPosition(middle).blockNumber(), caret.blockNumber());
        }
        if (++keysTyped % 3 == 0 && f.ex().practiceRunning()) {
            f.tick();
            ++ticks;
            barAtLastTick = f.ex().cursorPos;
            QCOMPARE(f.w->Bar1->value(), barAtLastTick);
        }
    }
    QCOMPARE(f.ex().cursorPos, length + 1);

    const float rate = float(static_cast<long double>(length + 1) / ticks);
    expected.currentRate = rate;
    expected.averageRate = float((2.0L + rate) * 0.5L);
    expected.fastestRate = qMax(3.0f, rate);
    expected.typedTotal += length + 1;
    // Three keys at a time between ticks: as uneven as can be.
    QCOMPARE(f.display(), QString::asprintf("スピードは %.1f文字/秒 です　リズム0", double(rate)));
    QCOMPARE(f.w->LCD->caption(), QString::asprintf("%02d:%02d", ticks / 60, ticks % 60));
    QCOMPARE(f.w->Bar1->value(), barAtLastTick);
    QVERIFY(f.w->btnExercise->isEnabled() && f.w->btnStart->isEnabled());
    QVERIFY(f.w->btnTool->isEnabled() && f.w->btnExit->isEnabled());
    QVERIFY(!f.w->btnStop->isEnabled());
    QVERIFY(!f.w->Timer1->isActive());

    const QByteArray saved = f.env.readFile(QStringLiteral("Velotap.bin"));
    const QByteArray want = expected.toBytes();
    QCOMPARE(saved.size(), want.size());
    for (int i = 0; i < want.size(); ++i)
        QVERIFY2(saved[i] == want[i], qPrintable(QStringLiteral("byte %1").arg(i)));
}

void TstScenarioPractice::wholeDrill() {
    PracticeRecord expected = startingRecord(0);
    expected.rowSet.include(rowNumber);
    expected.rowSet.include(rowA);
    expected.guideOn = 1;
    expected.runMisses = 5;
    Fixture f(expected.toBytes());
    f.w->show();
    DrillDriver d(f);
    d.script = [&](int index, int step, char c) {
        QCOMPARE(f.w->Bar1->value(), qMax(0, index - 1));
        if (index % 10 == 3 && step == 0)
            d.hold(keys::Tab); // a slip on every tenth
        else
            d.answer(c);
    };
    f.w->btnLesson->click();

    QCOMPARE(d.prompts.size(), 50);
    expected.runMisses = 0;
    for (int i = 0; i < 50; ++i) {
        const char c = d.prompts[i];
        QVERIFY(QByteArray("1234567890ASDFGHJKL;").contains(c));
        ++expected.keyStats[uchar(c)].tries;
        if (i % 10 == 3) {
            ++expected.keyStats[uchar(c)].misses;
            ++expected.missTotal;
            ++expected.runMisses;
        }
    }
    expected.typedTotal += 50;
    // 55 waits of 0.4 s: 22 seconds.
    expected.currentRate = float(50.0L / 22.0f);
    // Every tenth key after a miss takes two waits.
    QCOMPARE(f.display(), QStringLiteral("スピードは 2.3文字/秒 です　リズム73"));
    QCOMPARE(f.w->Bar1->value(), 49);
    QCOMPARE(f.w->Bar1->maximum(), 50);
    QVERIFY(f.w->btnLesson->isEnabled() && f.w->btnStart->isEnabled());
    QCOMPARE(f.env.readFile(QStringLiteral("Velotap.bin")), expected.toBytes());
}

QTEST_MAIN(TstScenarioPractice)
#include "tst_scenario_practice.moc"
