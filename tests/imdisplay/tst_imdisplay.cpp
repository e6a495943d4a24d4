#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"
#include "TypingKeys.h"

#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QtTest>

// Generous: a loaded machine under the sanitizers must not turn slowness into failure.
constexpr int kTimeoutMs = 20000;

// The keys of a Japanese keyboard that drive an input method: 半角/全角, ひらがな,
// 変換, 無変換, as X keycodes and the virtual-key codes the program sees.
constexpr struct {
    quint32 xkey;
    quint16 vk;
} kImKeys[] = {{49, 243}, {101, 242}, {100, 28}, {102, 29}};

// Two lines with Shift characters, digits and symbols.
const QByteArray kLesson = "Type 2 keys; OK?\r\nNow: a-b [c].\r\n";

// The program on a real X server with a Japanese input method running and switched
// on (the script starts it): every key must still reach the program as typed.
class TestImDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void inputMethodComposes();
    void lessonRecordAsWithoutInputMethod();

private:
    static bool xdo(const char* action, quint32 xkey);
    static bool fcitxActive();
    // Types the lesson into a fresh main window, through the X server or straight
    // into the pane, and hands back the record file it saved.
    void typeLesson(bool viaX, QByteArray& saved);
    void key(bool viaX, QWidget* pane, quint32 xkey, bool down, bool shift);
};

void TestImDisplay::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!qEnvironmentVariableIsEmpty("QT_IM_MODULE"), "no input method module chosen");
}

bool TestImDisplay::xdo(const char* action, quint32 xkey) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), {QString::fromLatin1(action), QString::number(xkey)});
    const bool ok =
        p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok) qWarning("xdotool %s %u failed: %s", action, xkey, p.readAllStandardError().data());
    return ok;
}

bool TestImDisplay::fcitxActive() {
    QProcess p;
    p.start(QStringLiteral("fcitx5-remote"));
    return p.waitForFinished(10000) && p.readAllStandardOutput().trimmed() == "2";
}

void TestImDisplay::inputMethodComposes() {
    // Unless the input method really turns romaji into kanji here, the test below
    // would prove nothing.
    QLineEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit, kTimeoutMs));
    edit.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&edit, kTimeoutMs));
    edit.setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(edit.hasFocus(), kTimeoutMs);
    // fcitx5 makes the line edit's input context over D-Bus a little after the focus
    // and lets earlier keys pass untouched: type once it is there and active.
    if (qgetenv("QT_IM_MODULE") == "fcitx") QTRY_VERIFY_WITH_TIMEOUT(fcitxActive(), kTimeoutMs);
    // n i h o n g o, Space to convert, Enter to commit.
    for (const quint32 k : {57u, 31u, 43u, 32u, 57u, 42u, 32u, 65u, 36u}) {
        QVERIFY(xdo("keydown", k));
        QVERIFY(xdo("keyup", k));
    }
    QTRY_COMPARE_WITH_TIMEOUT(edit.text(), QStringLiteral("日本語"), kTimeoutMs);
}

void TestImDisplay::key(bool viaX, QWidget* pane, quint32 xkey, bool down, bool shift) {
    if (viaX) {
        QVERIFY(xdo(down ? "keydown" : "keyup", xkey));
        return;
    }
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    if (down)
        keys::press(pane, xkey, mods);
    else
        keys::release(pane, xkey, mods);
}

void TestImDisplay::typeLesson(bool viaX, QByteArray& saved) {
    TestEnv env;
    env.writeFile(QStringLiteral("Lesson1.txt"), kLesson);
    TVelotapper w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w, kTimeoutMs));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w, kTimeoutMs));
    w.btnExercise->click();
    w.Timer1->stop(); // the clock moves with the keys only: the same seconds in every run
    TextExercise& ex = w.exercise();
    QVERIFY(ex.practiceRunning());
    w.Memo->setFocus(); // as after a click on the pane
    QTRY_VERIFY_WITH_TIMEOUT(w.Memo->hasFocus(), kTimeoutMs);

    const QByteArray shot = qgetenv("VELOTAPPER_IM_SHOT");
    for (int n = 0; ex.practiceRunning(); ++n) {
        if (n == 2) {
            // Inside the program these keys switch nothing: none is on the keyboard.
            for (const auto& k : kImKeys) {
                key(viaX, w.Memo, k.xkey, true, false);
                QTRY_COMPARE_WITH_TIMEOUT(w.keyboard().lastKey, k.vk, kTimeoutMs);
                key(viaX, w.Memo, k.xkey, false, false);
                QTRY_COMPARE_WITH_TIMEOUT(w.keyboard().lastKey, quint16(0), kTimeoutMs);
            }
        }
        const int pos = ex.cursorPos;
        const char c = ex.practiceText()[pos];
        const Stroke s = c == '\r' ? Stroke{keys::Enter, false, 13} : strokeFor(c);
        QVERIFY2(s.xkey, "a character the lesson cannot type");
        if (s.shift) key(viaX, w.Memo, keys::ShiftL, true, true);
        key(viaX, w.Memo, s.xkey, true, s.shift);
        QTRY_VERIFY2_WITH_TIMEOUT(ex.cursorPos > pos, qPrintable(QStringLiteral("at %1").arg(pos)),
                                  kTimeoutMs);
        TPanel* lit = nullptr;
        if (ex.practiceRunning()) {
            QVERIFY(w.keyboard().pressedKey);
            lit = w.keyboard().pressedKey->panel;
            QCOMPARE(lit->bevelOuter(), int(bvLowered));
            if (viaX && n == 9 && !shot.isEmpty())
                QProcess::execute(QStringLiteral("import"),
                                  {QStringLiteral("-window"), QStringLiteral("root"),
                                   QString::fromLocal8Bit(shot)});
        }
        key(viaX, w.Memo, s.xkey, false, s.shift);
        if (s.shift) key(viaX, w.Memo, keys::ShiftL, false, false);
        if (lit) QTRY_COMPARE_WITH_TIMEOUT(lit->bevelOuter(), int(bvRaised), kTimeoutMs);
        if (n % 3 == 2 && ex.practiceRunning()) {
            env.platform.now += 1000;
            w.Timer1Timer();
        }
    }
    saved = env.readFile(QStringLiteral("Velotap.bin"));
}

void TestImDisplay::lessonRecordAsWithoutInputMethod() {
    QByteArray typed, reference;
    typeLesson(true, typed);
    if (QTest::currentTestFailed()) return;
    typeLesson(false, reference);
    if (QTest::currentTestFailed()) return;
    QVERIFY(!reference.isEmpty());
    QCOMPARE(typed, reference);
}

QTEST_MAIN(TestImDisplay)
#include "tst_imdisplay.moc"
