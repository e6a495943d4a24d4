#include "DrillDriver.h"
#include "FakeHistory.h"

#include <QtTest>

// The form-position drill on the real main window, with a scripted user.
class TstDrill : public QObject {
    Q_OBJECT

private slots:
    void rowMask_data();
    void rowMask();
    void draws_data();
    void draws();
    void wholeRun_data();
    void wholeRun();
    void escAtTheFirstPrompt();
    void escAtTheFifthPrompt();
    void otherKeysAreMistypes();
    void lettersWithAndWithoutShift();
    void keyUpInTheSamePassIsNotSeen();
    void heldKeyRepeatsAreJudged();
    void guideGivesTheColourBack_data();
    void guideGivesTheColourBack();
    void weakKeysOffKeepsTheUniformDraw_data();
    void weakKeysOffKeepsTheUniformDraw();
    void weakKeysOnNamesThem();
};

namespace {
const char* const kRows[] = {"1234567890", "ASDFGHJKL;", "QWERTYUIOP", "ZXCVBNM,."};
RowSet rowsOf(const QList<int>& elements) {
    RowSet s;
    for (int e : elements) s.include(e);
    return s;
}
} // namespace

void TstDrill::rowMask_data() {
    QTest::addColumn<QList<int>>("elements");
    QTest::addColumn<int>("mask");
    QTest::newRow("none means all") << QList<int>{} << 15;
    QTest::newRow("A row") << QList<int>{rowA} << 1;
    QTest::newRow("Q row") << QList<int>{rowQ} << 2;
    QTest::newRow("Z row") << QList<int>{rowZ} << 4;
    QTest::newRow("number row") << QList<int>{rowNumber} << 8;
    QTest::newRow("number and A") << QList<int>{rowNumber, rowA} << 9;
}

void TstDrill::rowMask() {
    QFETCH(QList<int>, elements);
    QFETCH(int, mask);
    QCOMPARE(drillRowMask(rowsOf(elements)), mask);
}

void TstDrill::draws_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<char>("previous");
    QTest::addColumn<QList<int>>("randoms");
    QTest::addColumn<char>("drawn");
    QTest::newRow("row outside the mask is drawn again") << 8 << '\0' << QList<int>{0, 3, 5} << '6';
    QTest::newRow("low two bits pick the row") << 15 << '\0' << QList<int>{4 + 1, 11} << 'W';
    QTest::newRow("Z row has nine keys") << 4 << '\0' << QList<int>{2, 17} << '.';
    QTest::newRow("same as before is drawn again, row too")
        << 15 << '6' << QList<int>{3, 5, 0, 9} << ';';
}

void TstDrill::draws() {
    QFETCH(int, mask);
    QFETCH(char, previous);
    QFETCH(QList<int>, randoms);
    QFETCH(char, drawn);
    TestEnv env;
    env.platform.randoms.assign(randoms.begin(), randoms.end());
    QCOMPARE(drawDrillChar(mask, previous), drawn);
    QVERIFY(env.platform.randoms.empty());
}

void TstDrill::wholeRun_data() {
    QTest::addColumn<QList<int>>("elements");
    QTest::addColumn<QString>("allowed");
    QTest::newRow("no row chosen: all four")
        << QList<int>{} << QString::fromLatin1(kRows[0]) + kRows[1] + kRows[2] + kRows[3];
    QTest::newRow("number row: digits only") << QList<int>{rowNumber} << QString(kRows[0]);
    QTest::newRow("A and Z rows") << QList<int>{rowA, rowZ}
                                  << QString::fromLatin1(kRows[1]) + kRows[3];
}

void TstDrill::wholeRun() {
    QFETCH(QList<int>, elements);
    QFETCH(QString, allowed);
    Fixture f;
    f.rec().rowSet = rowsOf(elements);
    f.rec().fastestRate = 9.0f;
    f.rec().averageRate = 7.0f;
    f.rec().runMisses = 4;
    f.env.platform.calendar = 1'800'000'123;
    DrillDriver d(f);
    f.w->btnLesson->click();

    QCOMPARE(f.env.platform.seeds, std::vector<quint32>{1'800'000'123u});
    QCOMPARE(d.prompts.size(), 50);
    for (int i = 0; i < d.prompts.size(); ++i) {
        QVERIFY2(allowed.contains(QChar(d.prompts[i])), d.prompts.constData());
        if (i > 0) QVERIFY2(d.prompts[i] != d.prompts[i - 1], d.prompts.constData());
    }
    // Every row of the choice shows up in 50 draws.
    for (const char* row : kRows) {
        if (!allowed.contains(QChar(row[0]))) continue;
        bool seen = false;
        for (const char c : d.prompts) seen = seen || QByteArray(row).contains(c);
        QVERIFY2(seen, row);
    }
    QCOMPARE(f.rec().typedTotal, 50);
    int tries = 0;
    for (const char c : d.prompts) QVERIFY(f.rec().keyStats[uchar(c)].tries > 0);
    for (const auto& s : f.rec().keyStats) tries += s.tries;
    QCOMPARE(tries, 50);
    QCOMPARE(f.rec().runMisses, 0);
    QCOMPARE(f.w->Bar1->value(), 49);
    QCOMPARE(f.w->Bar1->maximum(), 50);
    QCOMPARE(f.rec().currentRate, 2.5f); // 50 keys in 50 waits of 0.4 s
    QCOMPARE(f.display(), QStringLiteral("スピードは 2.5文字/秒 です　リズム100"));
    QCOMPARE(f.rec().fastestRate, 9.0f);
    QCOMPARE(f.rec().averageRate, 7.0f);
    QVERIFY(f.w->btnStart->isEnabled());
    QVERIFY(!f.w->btnStop->isEnabled());
    QVERIFY(!f.ex().practiceRunning());
    QVERIFY(f.w->LCD->caption().isEmpty());
    QCOMPARE(f.env.readFile(QStringLiteral("Velotap.bin")), f.rec().toBytes());
}

void TstDrill::escAtTheFirstPrompt() {
    Fixture f;
    f.rec().currentRate = 3.5f;
    f.rec().typedTotal = 100;
    f.rec().runMisses = 7;
    DrillDriver d(f);
    bool toolsOffDuringRun = false;
    d.script = [&](int, int step, char) {
        toolsOffDuringRun = !f.w->btnTool->isEnabled() && !f.w->btnStart->isEnabled() &&
                            !f.w->btnStop->isEnabled() && f.w->btnAbout->isEnabled();
        d.hold(step == 0 ? keys::Tab : keys::Esc); // one mistype, then Esc
    };
    f.w->btnLesson->click();
    QVERIFY(toolsOffDuringRun);
    const char c = d.prompts[0];
    QCOMPARE(f.rec().typedTotal, 100);
    QCOMPARE(f.rec().keyStats[uchar(c)].tries, 0);
    QCOMPARE(f.rec().keyStats[uchar(c)].misses, 1); // the mistype stays
    QCOMPARE(f.rec().missTotal, 1);
    QCOMPARE(f.rec().runMisses, 1);
    QCOMPARE(f.display(), QStringLiteral("スピードは 0.0文字/秒 です"));
    QCOMPARE(f.rec().currentRate, 3.5f);
    QVERIFY(f.w->btnExit->isEnabled());
    QVERIFY(f.w->Memo->toPlainText().isEmpty());
    QCOMPARE(f.env.readFile(QStringLiteral("Velotap.bin")), f.rec().toBytes());
}

void TstDrill::escAtTheFifthPrompt() {
    Fixture f;
    DrillDriver d(f);
    d.msPerWait = 500;
    d.script = [&](int index, int, char c) {
        if (index == 4)
            d.hold(keys::Esc);
        else
            d.answer(c);
    };
    f.w->btnLesson->click();
    QCOMPARE(d.prompts.size(), 5);
    QCOMPARE(f.rec().typedTotal, 4);
    QCOMPARE(f.w->Bar1->value(), 3);
    QCOMPARE(f.rec().currentRate, 1.6f); // 4 keys in 2.5 s
    QCOMPARE(f.display(), QStringLiteral("スピードは 1.6文字/秒 です　リズム100"));
}

void TstDrill::otherKeysAreMistypes() {
    Fixture f;
    DrillDriver d(f);
    struct Press {
        quint32 xkey;
        Qt::KeyboardModifiers mods;
    };
    const QList<Press> others = {
        {keys::ShiftL, Qt::ShiftModifier}, {keys::CtrlL, Qt::ControlModifier},
        {keys::Eisu, Qt::ShiftModifier},   {keys::Left, Qt::NoModifier},
        {keys::F1, Qt::NoModifier},        {keys::Enter, Qt::NoModifier}};
    d.script = [&](int index, int step, char c) {
        if (index == 1)
            d.hold(keys::Esc);
        else if (step < others.size())
            d.hold(others[step].xkey, others[step].mods);
        else
            d.answer(c);
    };
    f.w->btnLesson->click();
    const char c = d.prompts[0];
    QCOMPARE(f.rec().keyStats[uchar(c)].misses, 6);
    QCOMPARE(f.rec().missTotal, 6);
    QCOMPARE(f.rec().runMisses, 6);
    QCOMPARE(f.rec().typedTotal, 1);
}

void TstDrill::lettersWithAndWithoutShift() {
    Fixture f;
    f.rec().rowSet = rowsOf({rowQ});
    DrillDriver d(f);
    d.script = [&](int index, int, char c) {
        d.hold(keys::xkeyOf(c), index % 2 ? Qt::ShiftModifier : Qt::NoModifier);
    };
    f.w->btnLesson->click();
    QCOMPARE(d.prompts.size(), 50);
    QCOMPARE(f.rec().missTotal, 0);
}

void TstDrill::keyUpInTheSamePassIsNotSeen() {
    Fixture f;
    DrillDriver d(f);
    int waitsAtFirst = 0;
    d.script = [&](int index, int step, char c) {
        if (index == 0) waitsAtFirst = step + 1;
        if (index == 0 && step == 0)
            keys::tap(f.w->Memo, DrillDriver::xkeyOfDrillChar(c));
        else if (index == 1)
            d.hold(keys::Esc);
        else
            d.answer(c);
    };
    f.w->btnLesson->click();
    QCOMPARE(d.prompts.size(), 2);
    QCOMPARE(f.rec().missTotal, 0);
    QCOMPARE(f.rec().typedTotal, 1);
    QCOMPARE(waitsAtFirst, 2);
}

void TstDrill::heldKeyRepeatsAreJudged() {
    Fixture f;
    DrillDriver d(f);
    d.script = [&](int index, int step, char c) {
        if (index == 0) {
            d.answer(c);
        } else if (index == 1 && step == 0) {
            // The key of the first prompt still held: X repeats it.
            keys::press(f.w->Memo, d.held, Qt::NoModifier, true);
        } else {
            d.hold(keys::Esc);
        }
    };
    f.w->btnLesson->click();
    QCOMPARE(d.prompts.size(), 2);
    QCOMPARE(f.rec().keyStats[uchar(d.prompts[1])].misses, 1);
    QCOMPARE(f.rec().keyStats[uchar(d.prompts[0])].misses, 0);
}

void TstDrill::guideGivesTheColourBack_data() {
    QTest::addColumn<bool>("coloured");
    QTest::newRow("button face") << false;
    QTest::newRow("finger colours") << true;
}

void TstDrill::guideGivesTheColourBack() {
    QFETCH(bool, coloured);
    Fixture f;
    f.rec().guideOn = 1;
    f.rec().fingerColors.fill(0x00123456);
    if (coloured) f.w->btnKeybord->click();
    QList<TColor> before;
    for (const auto& e : f.w->keyboard().table) before << (e.panel ? e.panel->color() : 0);
    DrillDriver d(f);
    int whiteSeen = 0;
    d.script = [&](int index, int, char c) {
        const TPanel* p = f.w->keyboard().table[std::size_t(keyCodeOfChar(c))].panel;
        if (p->color() == clWhite) ++whiteSeen;
        if (index == 10)
            d.hold(keys::Esc);
        else
            d.answer(c);
    };
    f.w->btnLesson->click();
    QCOMPARE(whiteSeen, 11);
    QList<TColor> after;
    for (const auto& e : f.w->keyboard().table) after << (e.panel ? e.panel->color() : 0);
    QCOMPARE(after, before);
    if (coloured) QCOMPARE(f.w->keyboard().table['F'].panel->color(), TColor(0x00123456));
}

void TstDrill::weakKeysOffKeepsTheUniformDraw_data() {
    QTest::addColumn<bool>("history");
    QTest::addColumn<QString>("setting");
    QTest::newRow("no history") << false << QString();
    QTest::newRow("history, setting never made") << true << QString();
    QTest::newRow("history, setting off") << true << QStringLiteral("0");
}

void TstDrill::weakKeysOffKeepsTheUniformDraw() {
    QFETCH(bool, history);
    QFETCH(QString, setting);
    QByteArray uniform; // what the generator's first numbers draw
    {
        TestEnv env;
        char previous = '\0';
        for (int i = 0; i < Drill::kKeys; ++i) uniform += previous = drawDrillChar(15, previous);
    }
    Fixture f;
    f.rec().rowSet = rowsOf({});
    FakeHistory h;
    h.addKey('D', 500, 450);
    if (!setting.isNull()) h.settings[kWeakKeysSetting] = setting;
    if (history) f.w->setHistory(&h);
    DrillDriver d(f);
    f.w->btnLesson->click();
    QCOMPARE(d.prompts, uniform);
}

void TstDrill::weakKeysOnNamesThem() {
    Fixture f;
    f.rec().rowSet = rowsOf({rowA});
    FakeHistory h;
    for (const char c : QByteArray("ASDFGHJKL;"))
        h.addKey(keyCodeOfChar(c), 40, c == 'K' ? 32 : c == ';' ? 20 : 0);
    h.settings[kWeakKeysSetting] = QStringLiteral("1");
    f.w->setHistory(&h);
    DrillDriver d(f);
    QStringList seen; // the second start prompt, then the pane under every prompt
    const auto drive = f.env.platform.onWait;
    f.env.platform.onWait = [&](qint64 deadline) {
        seen << (deadline >= 0 ? f.display() : f.w->Memo->toPlainText());
        drive(deadline);
    };
    f.w->btnLesson->click();
    QCOMPARE(h.keySpans, QList<int>{20});
    seen.removeDuplicates();
    QCOMPARE(seen, QStringList({QStringLiteral("フォームポジションにして下さい。"),
                                QStringLiteral("苦手キー: K ;")}));
    QCOMPARE(d.prompts.size(), Drill::kKeys);
    QVERIFY(f.w->Memo->toPlainText().isEmpty());
}

QTEST_MAIN(TstDrill)
#include "tst_drill.moc"
