#include "JisKeys.h"
#include "TPanel.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QProcess>
#include <QtTest>
#include <memory>

// Generous: a loaded machine under the sanitizers must not turn slowness into failure.
constexpr int kTimeoutMs = 20000;
#define QTRY_BEVEL(name, expected) QTRY_COMPARE_WITH_TIMEOUT(bevel(name), int(expected), kTimeoutMs)

// The main window on a real X server: xdotool types through XTEST, so every key
// travels the whole way from the server through Qt's xcb keyboard to the panels.
class TestXDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void characterKeys();
    void shiftFlipsCaptions_data();
    void shiftFlipsCaptions();
    void ctrl();
    void lockWithAndWithoutShift();

private:
    bool xdo(const char* action, quint32 xkey);
    TPanel* panel(const char* name) const;
    int bevel(const char* name) const { return panel(name)->bevelOuter(); }
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TVelotapper> w_;
};

void TestXDisplay::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    env_ = std::make_unique<TestEnv>();
    w_ = std::make_unique<TVelotapper>();
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get(), kTimeoutMs));
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get(), kTimeoutMs));
}

void TestXDisplay::cleanupTestCase() {
    w_.reset();
    env_.reset();
}

bool TestXDisplay::xdo(const char* action, quint32 xkey) {
    // A number names an X keycode, not a key symbol, so the layout does not matter.
    QProcess p;
    p.start(QStringLiteral("xdotool"), {QString::fromLatin1(action), QString::number(xkey)});
    const bool ok =
        p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QByteArray err = p.readAllStandardError();
    if (!ok || !err.isEmpty()) qWarning("xdotool %s %u failed: %s", action, xkey, err.constData());
    return ok && err.isEmpty();
}

TPanel* TestXDisplay::panel(const char* name) const {
    auto* p = w_->findChild<TPanel*>(QString::fromLatin1(name));
    if (!p) qFatal("no panel %s", name);
    return p;
}

void TestXDisplay::characterKeys() {
    for (const auto& k : jis::kCharKeys) {
        QVERIFY(xdo("keydown", k.xkey));
        QTRY_BEVEL(k.panel, bvLowered);
        QCOMPARE(w_->keyboard().lastKey, k.vk);
        QVERIFY(xdo("keyup", k.xkey));
        QTRY_BEVEL(k.panel, bvRaised);
        QCOMPARE(w_->keyboard().lastKey, 0);
    }
}

void TestXDisplay::shiftFlipsCaptions_data() {
    QTest::addColumn<quint32>("shiftKey");
    QTest::newRow("left") << jis::kShiftL;
    QTest::newRow("right") << jis::kShiftR;
}

void TestXDisplay::shiftFlipsCaptions() {
    QFETCH(quint32, shiftKey);
    QVERIFY(xdo("keydown", shiftKey));
    QTRY_BEVEL("ShiftLeftPB", bvLowered);
    QCOMPARE(bevel("ShiftRightPB"), int(bvLowered));
    for (const auto& k : jis::kCharKeys)
        QCOMPARE(panel(k.panel)->caption(), QString::fromUtf8(k.shiftedCaption));

    // Every key with Shift held: the shifted symbol keeps the key's position, the key
    // goes in, Shift stays in.
    for (const auto& k : jis::kCharKeys) {
        QVERIFY(xdo("keydown", k.xkey));
        QTRY_BEVEL(k.panel, bvLowered);
        QCOMPARE(w_->keyboard().lastKey, k.vk);
        QVERIFY(xdo("keyup", k.xkey));
        QTRY_BEVEL(k.panel, bvRaised);
    }
    QCOMPARE(bevel("ShiftLeftPB"), int(bvLowered));
    QCOMPARE(panel("Panel6")->caption(), QStringLiteral("＆"));

    QVERIFY(xdo("keyup", shiftKey));
    QTRY_BEVEL("ShiftLeftPB", bvRaised);
    QCOMPARE(bevel("ShiftRightPB"), int(bvRaised));
    for (const auto& k : jis::kCharKeys)
        QCOMPARE(panel(k.panel)->caption(), QString::fromUtf8(k.caption));
}

void TestXDisplay::ctrl() {
    QVERIFY(xdo("keydown", jis::kCtrlL));
    QTRY_BEVEL("CtrlPB", bvLowered);
    QVERIFY(xdo("keydown", 45));
    QTRY_BEVEL("Panel33", bvLowered);
    QCOMPARE(bevel("CtrlPB"), int(bvLowered));
    QVERIFY(xdo("keyup", 45));
    QTRY_BEVEL("Panel33", bvRaised);
    QVERIFY(xdo("keyup", jis::kCtrlL));
    QTRY_BEVEL("CtrlPB", bvRaised);
}

void TestXDisplay::lockWithAndWithoutShift() {
    // Without Shift nothing shows; a later key proves the Lock key was handled.
    QVERIFY(xdo("keydown", jis::kEisu));
    QVERIFY(xdo("keyup", jis::kEisu));
    QVERIFY(xdo("keydown", 38));
    QTRY_BEVEL("Panel26", bvLowered);
    QVERIFY(xdo("keyup", 38));
    QCOMPARE(bevel("LockPB"), int(bvNone));
    QCOMPARE(w_->keyboard().capsShown, false);

    QVERIFY(xdo("keydown", jis::kShiftL));
    for (const int expected : {bvLowered, bvRaised}) {
        QVERIFY(xdo("keydown", jis::kEisu));
        QTRY_BEVEL("LockPB", expected);
        QVERIFY(xdo("keyup", jis::kEisu));
    }
    QVERIFY(xdo("keyup", jis::kShiftL));
    QTRY_BEVEL("ShiftLeftPB", bvRaised);
    QCOMPARE(bevel("LockPB"), int(bvRaised));
}

QTEST_MAIN(TestXDisplay)
#include "tst_xdisplay.moc"
