#include "JisKeyCaps.h"
#include "Keys.h"
#include "RecordFile.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QtTest>
#include <memory>

using namespace keys;

namespace {
const char* const kNamedPanels[] = {"Panel51", "Panel52",     "Panel55",      "Panel57",
                                    "LockPB",  "ShiftLeftPB", "ShiftRightPB", "CtrlPB"};
}

class TestOnScreenKeyboard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsReleased();
    void holdAPressSReleaseA_data();
    void holdAPressSReleaseA();
    void shiftAloneFlipsCaptions_data();
    void shiftAloneFlipsCaptions();
    void shiftWithLetter();
    void ctrlAloneAndWithLetter();
    void keyWithoutPanel_data();
    void keyWithoutPanel();
    void arrowKeyUpUpdatesModifiers();
    void lockKey();
    void autoRepeat();
    void judgingDecidesDrawing_data();
    void judgingDecidesDrawing();
    void colouringTwiceWithNewRecord();
    void rightMiddleFinger_data();
    void rightMiddleFinger();
    void customColours();

private:
    TPanel* panel(const char* name) const;
    int bevel(const char* name) const { return panel(name)->bevelOuter(); }
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TVelotapper> w_;
};

void TestOnScreenKeyboard::init() {
    env_ = std::make_unique<TestEnv>();
    w_ = std::make_unique<TVelotapper>();
}

void TestOnScreenKeyboard::cleanup() {
    w_.reset();
    env_.reset();
}

TPanel* TestOnScreenKeyboard::panel(const char* name) const {
    auto* p = w_->findChild<TPanel*>(QString::fromLatin1(name));
    if (!p) qFatal("no panel %s", name);
    return p;
}

void TestOnScreenKeyboard::startsReleased() {
    for (const auto& k : jis::kCharKeys) {
        QCOMPARE(bevel(k.panel), int(bvRaised));
        QCOMPARE(panel(k.panel)->caption(), QString::fromUtf8(k.caption));
    }
    QCOMPARE(bevel("LockPB"), int(bvNone));
    QCOMPARE(bevel("Panel52"), int(bvNone));
    QCOMPARE(w_->keyboard().lastKey, 0);
}

// The events reach the keyboard alike from the window and from the text pane.
void TestOnScreenKeyboard::holdAPressSReleaseA_data() {
    QTest::addColumn<bool>("toPane");
    QTest::newRow("window") << false;
    QTest::newRow("pane") << true;
}

void TestOnScreenKeyboard::holdAPressSReleaseA() {
    QFETCH(bool, toPane);
    QWidget* target = toPane ? static_cast<QWidget*>(w_->Memo) : w_.get();
    press(target, A);
    QCOMPARE(bevel("Panel26"), int(bvLowered));
    QCOMPARE(w_->keyboard().lastKey, 'A');
    press(target, S);
    QCOMPARE(bevel("Panel26"), int(bvRaised));
    QCOMPARE(bevel("Panel27"), int(bvLowered));
    QCOMPARE(w_->keyboard().lastKey, 'S');
    release(target, A);
    // S is still held, but any key-up releases the drawn key.
    QCOMPARE(bevel("Panel27"), int(bvRaised));
    QCOMPARE(w_->keyboard().lastKey, 0);
    release(target, S);
    QCOMPARE(bevel("Panel27"), int(bvRaised));
}

void TestOnScreenKeyboard::shiftAloneFlipsCaptions_data() {
    QTest::addColumn<quint32>("shiftKey");
    QTest::newRow("left") << quint32(ShiftL);
    QTest::newRow("right") << quint32(ShiftR);
}

void TestOnScreenKeyboard::shiftAloneFlipsCaptions() {
    QFETCH(quint32, shiftKey);
    press(w_.get(), shiftKey); // Qt reports the state before the change
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(bevel("ShiftRightPB"), int(bvLowered));
    for (const auto& k : jis::kCharKeys) {
        QCOMPARE(panel(k.panel)->caption(), QString::fromUtf8(k.shiftedCaption));
        QCOMPARE(bevel(k.panel), int(bvRaised));
    }
    QCOMPARE(panel("Panel6")->caption(), QStringLiteral("＆"));
    QCOMPARE(panel("Panel11")->caption(), QStringLiteral("="));
    QCOMPARE(panel("pnSP")->caption(), QStringLiteral(" "));
    QCOMPARE(panel("ShiftLeftPB")->caption(), QStringLiteral("Shift"));
    QCOMPARE(w_->keyboard().lastKey, 16);

    release(w_.get(), shiftKey, Qt::ShiftModifier);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvRaised));
    QCOMPARE(bevel("ShiftRightPB"), int(bvRaised));
    for (const auto& k : jis::kCharKeys)
        QCOMPARE(panel(k.panel)->caption(), QString::fromUtf8(k.caption));
}

void TestOnScreenKeyboard::shiftWithLetter() {
    press(w_.get(), ShiftL);
    press(w_.get(), A, Qt::ShiftModifier);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(bevel("ShiftRightPB"), int(bvLowered));
    QCOMPARE(bevel("Panel26"), int(bvLowered));
    QCOMPARE(panel("Panel26")->caption(), QStringLiteral("A"));
    QCOMPARE(panel("K1")->caption(), QStringLiteral("!"));
    // Letting go of the letter first keeps Shift drawn.
    release(w_.get(), A, Qt::ShiftModifier);
    QCOMPARE(bevel("Panel26"), int(bvRaised));
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(panel("K1")->caption(), QStringLiteral("!"));
}

void TestOnScreenKeyboard::ctrlAloneAndWithLetter() {
    press(w_.get(), CtrlL);
    QCOMPARE(bevel("CtrlPB"), int(bvLowered));
    QCOMPARE(bevel("ShiftLeftPB"), int(bvRaised));
    press(w_.get(), K, Qt::ControlModifier);
    QCOMPARE(bevel("CtrlPB"), int(bvLowered));
    QCOMPARE(bevel("Panel33"), int(bvLowered));
    release(w_.get(), K, Qt::ControlModifier);
    QCOMPARE(bevel("Panel33"), int(bvRaised));
    QCOMPARE(bevel("CtrlPB"), int(bvLowered));
    release(w_.get(), CtrlL, Qt::ControlModifier);
    QCOMPARE(bevel("CtrlPB"), int(bvRaised));
}

// Keys without a panel release the drawn key and nothing else, and the pane
// never acts on them: its caret stays.
void TestOnScreenKeyboard::keyWithoutPanel_data() {
    QTest::addColumn<quint32>("xkey");
    QTest::newRow("Down") << quint32(Down);
    QTest::newRow("Left") << quint32(Left);
    QTest::newRow("F1") << quint32(F1);
    QTest::newRow("Alt") << quint32(64);
    QTest::newRow("Henkan") << quint32(100);
}

void TestOnScreenKeyboard::keyWithoutPanel() {
    QFETCH(quint32, xkey);
    w_->Memo->setPlainText(QStringLiteral("ab\ncd"));
    w_->Memo->setCaret(1);
    press(w_.get(), J);
    press(w_->Memo, xkey, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(bevel("Panel32"), int(bvRaised));
    QCOMPARE(bevel("ShiftLeftPB"), int(bvRaised));
    QCOMPARE(bevel("CtrlPB"), int(bvRaised));
    QCOMPARE(panel("K1")->caption(), QStringLiteral("1"));
    QCOMPARE(w_->Memo->caret(), 1);
    QVERIFY(w_->keyboard().lastKey != 0);
}

void TestOnScreenKeyboard::arrowKeyUpUpdatesModifiers() {
    press(w_.get(), Down, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvRaised));
    release(w_.get(), Down, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(bevel("CtrlPB"), int(bvLowered));
    QCOMPARE(panel("Panel11")->caption(), QStringLiteral("="));
    release(w_.get(), Down);
    QCOMPARE(bevel("ShiftRightPB"), int(bvRaised));
    QCOMPARE(bevel("CtrlPB"), int(bvRaised));
    QCOMPARE(panel("Panel11")->caption(), QStringLiteral("-"));
}

void TestOnScreenKeyboard::lockKey() {
    press(w_.get(), A);
    tap(w_.get(), Eisu); // without Shift: only the drawn key is released
    QCOMPARE(bevel("Panel26"), int(bvRaised));
    QCOMPARE(bevel("LockPB"), int(bvNone));
    QVERIFY(!w_->keyboard().capsShown);

    press(w_.get(), ShiftL);
    press(w_.get(), Eisu, Qt::ShiftModifier);
    QCOMPARE(bevel("LockPB"), int(bvLowered));
    QVERIFY(w_->keyboard().capsShown);
    release(w_.get(), Eisu, Qt::ShiftModifier);
    QCOMPARE(bevel("LockPB"), int(bvLowered));
    press(w_.get(), Eisu, Qt::ShiftModifier);
    QCOMPARE(bevel("LockPB"), int(bvRaised));
    QVERIFY(!w_->keyboard().capsShown);

    // The Lock key-down leaves the Shift panels alone even when the state changed.
    release(w_.get(), Eisu, Qt::ShiftModifier);
    press(w_.get(), Eisu);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(bevel("LockPB"), int(bvRaised));
}

// X repeats a held key as release-press pairs; the window drops the releases, so the
// key stays drawn and the drill keeps seeing its code.
void TestOnScreenKeyboard::autoRepeat() {
    press(w_.get(), ShiftL);
    press(w_.get(), F, Qt::ShiftModifier);
    for (int i = 0; i < 5; ++i) {
        release(w_.get(), F, Qt::ShiftModifier, true);
        QCOMPARE(bevel("Panel29"), int(bvLowered));
        QCOMPARE(w_->keyboard().lastKey, 'F');
        press(w_.get(), F, Qt::ShiftModifier, true);
        QCOMPARE(bevel("Panel29"), int(bvLowered));
    }
    release(w_.get(), ShiftL, Qt::ShiftModifier, true);
    press(w_.get(), ShiftL, Qt::ShiftModifier, true);
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(panel("Panel12")->caption(), QStringLiteral("~"));
    release(w_.get(), F, Qt::ShiftModifier);
    QCOMPARE(bevel("Panel29"), int(bvRaised));
    QCOMPARE(w_->keyboard().lastKey, 0);
    release(w_.get(), ShiftL, Qt::ShiftModifier);
    QCOMPARE(panel("Panel12")->caption(), QStringLiteral("^"));
}

// While a text exercise runs, the judge sees every key with a panel except the
// modifiers and Lock, and a key it does not accept is not drawn.
void TestOnScreenKeyboard::judgingDecidesDrawing_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("mistype") << int(JudgeOutcome::Mistype) << false;
    QTest::newRow("accepted") << int(JudgeOutcome::Accepted) << true;
    QTest::newRow("finished") << int(JudgeOutcome::Finished) << false;
}

void TestOnScreenKeyboard::judgingDecidesDrawing() {
    QFETCH(int, outcome);
    QFETCH(bool, drawn);
    QList<QPair<int, bool>> judged;
    OnScreenKeyboard& kb = w_->keyboard();
    kb.judgeKey = [&](quint16 key, bool shift, quint16&) {
        judged.append({key, shift});
        return JudgeOutcome(outcome);
    };
    press(w_.get(), D);
    QCOMPARE(bevel("Panel28"), int(bvLowered));
    QVERIFY(judged.isEmpty()); // not running yet
    kb.practiceRunning = true;
    press(w_.get(), ShiftL);
    press(w_.get(), Eisu, Qt::ShiftModifier);
    press(w_.get(), CtrlL, Qt::ShiftModifier);
    press(w_.get(), Down, Qt::ShiftModifier | Qt::ControlModifier);
    QVERIFY(judged.isEmpty());
    press(w_.get(), D);
    release(w_.get(), CtrlL);
    release(w_.get(), ShiftL);
    press(w_.get(), Slash, Qt::ShiftModifier);
    QCOMPARE(judged, (QList<QPair<int, bool>>{{'D', false}, {191, true}}));
    QCOMPARE(bevel("Panel47"), int(drawn ? bvLowered : bvRaised));
    QCOMPARE(bevel("Panel28"), int(bvRaised));
    QCOMPARE(kb.lastKey, 191);
}

void TestOnScreenKeyboard::colouringTwiceWithNewRecord() {
    QVERIFY(!QFile::exists(env_->path(QString::fromLatin1(kRecordFileName))));
    for (int round = 0; round < 2; ++round) {
        w_->btnKeybord->click();
        int white = 0;
        for (const auto& k : jis::kCharKeys) {
            const TColor c = panel(k.panel)->color();
            QCOMPARE(c, k.finger >= 0 ? clWhite : clBtnFace);
            white += c == clWhite;
        }
        QCOMPARE(white, 40);
        QCOMPARE(panel("pnSP")->color(), clWhite);
        for (const char* name : kNamedPanels) QCOMPARE(panel(name)->color(), clBtnFace);

        w_->btnKeybord->click();
        for (const auto& k : jis::kCharKeys) QCOMPARE(panel(k.panel)->color(), clBtnFace);
        QCOMPARE(panel("pnSP")->color(), clBtnFace);
    }
}

void TestOnScreenKeyboard::rightMiddleFinger_data() {
    QTest::addColumn<QString>("panelName");
    QTest::newRow("8") << "Panel8";
    QTest::newRow("I") << "Panel21";
    QTest::newRow("K") << "Panel33";
    QTest::newRow(",") << "Panel45";
}

void TestOnScreenKeyboard::rightMiddleFinger() {
    QFETCH(QString, panelName);
    w_->record().fingerColors[5] = 0x00123456;
    w_->btnKeybord->click();
    QCOMPARE(panel(qPrintable(panelName))->color(), TColor(0x00123456));
    // Colours are read at each press: a change shows at the next colouring.
    w_->record().fingerColors[5] = 0x00654321;
    w_->btnKeybord->click();
    QCOMPARE(panel(qPrintable(panelName))->color(), clBtnFace);
    w_->btnKeybord->click();
    QCOMPARE(panel(qPrintable(panelName))->color(), TColor(0x00654321));
}

void TestOnScreenKeyboard::customColours() {
    PracticeRecord r;
    r.applyDefaults();
    for (int f = 0; f < 10; ++f) r.fingerColors[std::size_t(f)] = TColor(0x00010000 * (f + 1) + f);
    w_.reset();
    env_->writeFile(QString::fromLatin1(kRecordFileName), r.toBytes());
    w_ = std::make_unique<TVelotapper>();
    QCOMPARE(w_->record().fingerColors[3], r.fingerColors[3]);

    w_->btnKeybord->click();
    for (const auto& k : jis::kCharKeys)
        QCOMPARE(panel(k.panel)->color(),
                 k.finger >= 0 ? r.fingerColors[std::size_t(k.finger)] : clBtnFace);
    QCOMPARE(panel("pnSP")->color(), r.fingerColors[8]);
    for (const char* name : kNamedPanels) QCOMPARE(panel(name)->color(), clBtnFace);
    w_->btnKeybord->click();
    QCOMPARE(panel("pnSP")->color(), clBtnFace);
    QCOMPARE(panel("Panel29")->color(), clBtnFace);
}

QTEST_MAIN(TestOnScreenKeyboard)
#include "tst_onscreenkeyboard.moc"
