#include "Colors.h"
#include "FakeHistory.h"
#include "JapaneseExercise.h"
#include "JisKeyCaps.h"
#include "PaceGhost.h"
#include "PracticeRecord.h"
#include "TAboutBox.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"
#include "ToolKeymap.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryFile>
#include <QtTest>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

// Generous: a loaded machine under the sanitizers must not turn slowness into failure.
constexpr int kTimeoutMs = 20000;
#define QTRY_BEVEL(name, expected) QTRY_COMPARE_WITH_TIMEOUT(bevel(name), int(expected), kTimeoutMs)

// The main window on a real display server, so every key travels the whole way
// through Qt's keyboard handling to the panels. On X xdotool types through XTEST;
// on Wayland our virtual keyboard client (VELOTAPPER_VKBD) types through the
// compositor, with the keymap it uploaded.
class TestXDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void panelsOnScreen();
    void characterKeys();
    void shiftFlipsCaptions_data();
    void shiftFlipsCaptions();
    void ctrl();
    void japaneseRun_data();
    void japaneseRun();
    void courseLesson();
    void paceCaretMoves();
    void lockWithAndWithoutShift();
    void ownTitleBar();
    void toolKeymap();

private:
    bool xdo(const char* action, quint32 xkey) { return xdo(action, QByteArray::number(xkey)); }
    bool xdo(const char* action, const QByteArray& key);
    bool startKeyboard(const QStringList& args);
    bool loadToolKeymap();
    bool typeKey(int vk);
    TPanel* panel(const char* name) const;
    int bevel(const char* name) const { return panel(name)->bevelOuter(); }
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TVelotapper> w_;
    std::unique_ptr<QProcess> vkbd_; // the Wayland keyboard that types; none on X
    std::unique_ptr<QProcess> firstVkbd_;
};

void TestXDisplay::initTestCase() {
    const QString platform = QGuiApplication::platformName();
    QVERIFY2(platform == "xcb" || platform == "wayland", qPrintable(platform));
    if (platform == "wayland") QVERIFY(startKeyboard({}));
    env_ = std::make_unique<TestEnv>();
    w_ = std::make_unique<TVelotapper>();
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get(), kTimeoutMs));
    // Wayland gives the keyboard to the window it maps; X needs asking.
    if (!vkbd_) w_->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), kTimeoutMs);
}

void TestXDisplay::cleanupTestCase() {
    for (auto* p : {vkbd_.get(), firstVkbd_.get()}) {
        if (!p) continue;
        p->closeWriteChannel(); // unplugged: the client ends
        QVERIFY(p->waitForFinished(kTimeoutMs));
        QCOMPARE(p->exitCode(), 0);
    }
    w_->hide(); // waits out its last frame, which destroying it at once would not
    w_.reset();
    env_.reset();
}

// What the compositor shows: the prompt line's face colour must cover its panel.
// sway runs the test with Qt-drawn title bars, whose arrival clears the window.
void TestXDisplay::panelsOnScreen() {
    if (!vkbd_) QSKIP("on X the window server keeps the panels; the check is for Wayland");
    const TPanel* display = panel("Display");
    const QRgb face = toQColor(display->color()).rgb();
    const auto shown = [face] {
        QProcess grim;
        grim.start(QStringLiteral("grim"), {QStringLiteral("-")});
        if (!grim.waitForFinished(10000)) return 0;
        const QImage shot = QImage::fromData(grim.readAllStandardOutput(), "PNG")
                                .convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < shot.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x) n += line[x] == face;
        }
        return n;
    };
    // Each look takes a screenshot, so the wait is bounded by time, not by tries.
    const int inside = (display->width() - 6) * (display->height() - 6);
    const QDeadlineTimer deadline(kTimeoutMs);
    int n = shown();
    for (; n < inside && !deadline.hasExpired(); n = shown()) QTest::qWait(100);
    QVERIFY2(n >= inside, qPrintable(QStringLiteral("%1 of %2 pixels").arg(n).arg(inside)));
}

bool TestXDisplay::startKeyboard(const QStringList& args) {
    // A second keyboard joins the first, as an on-screen keyboard joins a real one.
    firstVkbd_ = std::move(vkbd_);
    vkbd_ = std::make_unique<QProcess>();
    vkbd_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    vkbd_->start(qEnvironmentVariable("VELOTAPPER_VKBD"), args);
    while (vkbd_->waitForReadyRead(kTimeoutMs))
        if (vkbd_->canReadLine()) return vkbd_->readLine() == "ready\n";
    return false;
}

// key: an X keycode, or on X a key symbol's name.
bool TestXDisplay::xdo(const char* action, const QByteArray& key) {
    if (vkbd_) {
        vkbd_->write(action + (' ' + key) + '\n');
        while (!vkbd_->canReadLine())
            if (!vkbd_->waitForReadyRead(kTimeoutMs)) return false;
        return vkbd_->readLine() == "ok\n";
    }
    // A number from 10 up names an X keycode, not a key symbol, so the layout does not
    // matter; a symbol's name types the key the server's keymap gives that symbol.
    QProcess p;
    p.start(QStringLiteral("xdotool"), {QString::fromLatin1(action), QString::fromLatin1(key)});
    const bool ok =
        p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QByteArray err = p.readAllStandardError();
    if (!ok || !err.isEmpty())
        qWarning("xdotool %s %s failed: %s", action, key.constData(), err.constData());
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

namespace {

// Kana only, so the run needs no dictionary: し, つ, ん, っ and きゃ have more than
// one romaji spelling.
const QByteArray kJapaneseText = "きゃくとつきのしゃしんをとった\n";

// A romaji spelling's keys: letters only, each typed by its own key.
QList<int> lettersOf(const char* spelling) {
    QList<int> vks;
    for (const char* c = spelling; *c; ++c) vks << std::toupper(static_cast<unsigned char>(*c));
    return vks;
}

} // namespace

// A character key by its virtual-key code; negative: with Shift held.
bool TestXDisplay::typeKey(int vk) {
    const auto* key = std::find_if(std::begin(jis::kCharKeys), std::end(jis::kCharKeys),
                                   [vk](const jis::CharKey& k) { return k.vk == std::abs(vk); });
    if (key == std::end(jis::kCharKeys)) return false;
    if (vk < 0 && !xdo("keydown", jis::kShiftL)) return false;
    const bool typed = xdo("keydown", key->xkey) && xdo("keyup", key->xkey);
    return (vk > 0 || xdo("keyup", jis::kShiftL)) && typed;
}

void TestXDisplay::japaneseRun_data() {
    QTest::addColumn<bool>("kana");
    QTest::addColumn<QList<int>>("keys");
    QTest::newRow("Hepburn") << false << lettersOf("kyakutotsukinoshashinwototta");
    QTest::newRow("Kunrei") << false << lettersOf("kyakutotukinosyasinnwotoltuta");
    // き ゃ く と つ き の し ゃ し ん を と っ た
    QTest::newRow("kana") << true << QList<int>{'G',  -'7', 'H', 'S',  'Z', 'G',  'K', 'D',
                                                -'7', 'D',  'Y', -'0', 'S', -'Z', 'Q'};
}

// The same text in two romaji spellings and with the kana keys: no key is a mistype,
// and typing the last key ends the run with every key counted.
void TestXDisplay::japaneseRun() {
    QFETCH(bool, kana);
    QFETCH(QList<int>, keys);
    const QString file = QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".txt");
    env_->writeFile(file, kJapaneseText);
    env_->platform.files.push_back(env_->path(file));
    const PracticeRecord& rec = w_->record();
    const int typedBefore = rec.typedTotal;
    const int missedBefore = rec.missTotal;
    w_->japanese().setKanaInput(kana);
    // A failed row must not leave its run to the rows and tests after it.
    const auto stop = qScopeGuard([this] {
        if (w_->japanese().running()) w_->btnStop->click();
        w_->japanese().setKanaInput(false);
    });
    w_->btnJapanese->click();
    QVERIFY(w_->japanese().running());
    w_->Timer1Timer(); // a second on the clock, so the run's keys are counted

    for (int vk : keys) QVERIFY(typeKey(vk));
    QTRY_VERIFY_WITH_TIMEOUT(!w_->japanese().running() || rec.runMisses != 0, kTimeoutMs);
    QCOMPARE(rec.runMisses, 0);
    QCOMPARE(rec.missTotal, missedBefore);
    QCOMPARE(rec.typedTotal, typedBefore + int(keys.size()));
}

// The course's first lesson typed key by key: no mistype, and the end names the targets.
void TestXDisplay::courseLesson() {
    const PracticeRecord& rec = w_->record();
    w_->btnCourse->click();
    const auto stop = qScopeGuard([this] {
        if (w_->exercise().practiceRunning()) w_->btnStop->click();
    });
    QVERIFY(w_->exercise().practiceRunning());
    w_->Timer1Timer();
    const QByteArray text(w_->exercise().practiceText());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') continue;
        const quint32 blank = text[i] == '\r' ? 36 : text[i] == ' ' ? 65 : 0;
        const KeyStroke k = jisKeyOfChar(text[i]);
        QVERIFY(blank ? xdo("keydown", blank) && xdo("keyup", blank)
                      : typeKey(k.shift ? -k.vk : k.vk));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!w_->exercise().practiceRunning(), kTimeoutMs);
    QCOMPARE(rec.runMisses, 0);
    QVERIFY2(w_->Display->caption().startsWith(QStringLiteral("速さ")),
             qPrintable(w_->Display->caption()));
}

namespace {

// The pace mark's ink in the pane as the X server shows it.
bool isPaceInk(const QColor& c) {
    return c == QColor(0xC0, 0x00, 0xC0);
}

int paceInk(QWidget* window, TMemo* memo, const QRect& r) {
    const QPoint at = memo->viewport()->mapTo(window, r.topLeft());
    const QImage img = window->screen()
                           ->grabWindow(window->winId(), at.x(), at.y(), r.width(), r.height())
                           .toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += isPaceInk(img.pixelColor(x, y));
    return n;
}

// On Wayland a client sees only the whole screen (grim), and not where its window is:
// the mark's pixels anywhere, and how far right of the screen's left edge they stand.
struct ScreenInk {
    int pixels = 0;
    double meanX = 0;
};
ScreenInk screenInk() {
    QProcess grim;
    grim.start(QStringLiteral("grim"), {QStringLiteral("-")});
    ScreenInk ink;
    if (!grim.waitForFinished(10000)) return ink;
    const QImage shot = QImage::fromData(grim.readAllStandardOutput(), "PNG");
    double sum = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (isPaceInk(shot.pixelColor(x, y))) ++ink.pixels, sum += x;
    if (ink.pixels) ink.meanX = sum / ink.pixels;
    return ink;
}

} // namespace

// A run with a target pace: the pace's own timer moves its mark along the pane while the
// learner's caret stays with the learner, and the mark goes when the run is stopped; as
// the X server or the compositor shows it.
void TestXDisplay::paceCaretMoves() {
    FakeHistory history;
    history.settings[kPaceModeSetting] = QStringLiteral("target");
    history.settings[kPaceTargetSetting] = QStringLiteral("600");
    w_->setHistory(&history);
    const auto stop = qScopeGuard([this] {
        if (w_->exercise().practiceRunning()) w_->btnStop->click();
        w_->setHistory(nullptr);
    });
    env_->writeFile(QStringLiteral("pace.txt"), "asdf jkl;\n");
    QCOMPARE(w_->exercise().loadPracticeText(env_->path(QStringLiteral("pace.txt"))), 0);
    w_->btnStart->click();
    TMemo* memo = w_->Memo;
    QVERIFY(w_->pace().timer()->isActive());
    QCOMPARE(memo->paceMark(), 0);
    const QRect first = memo->paceMarkRect();
    // Each look on Wayland takes a screenshot: the waits are bounded by time.
    ScreenInk before;
    if (vkbd_)
        QTRY_VERIFY_WITH_TIMEOUT((before = screenInk()).pixels > 0, kTimeoutMs);
    else
        QTRY_VERIFY_WITH_TIMEOUT(paceInk(w_.get(), memo, first) > 0, kTimeoutMs);

    env_->platform.now += 550; // 600 a minute: five keys on
    QTRY_COMPARE_WITH_TIMEOUT(memo->paceMark(), 5, kTimeoutMs);
    const QRect later = memo->paceMarkRect();
    QVERIFY(later.left() > first.right());
    if (vkbd_) {
        const double moved = later.center().x() - first.center().x();
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(screenInk().meanX - before.meanX - moved) < 3, kTimeoutMs);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(paceInk(w_.get(), memo, later) > 0, kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(paceInk(w_.get(), memo, first), 0, kTimeoutMs);
    }
    QVERIFY(typeKey('A'));
    QTRY_COMPARE_WITH_TIMEOUT(memo->caret(), 1, kTimeoutMs);
    QCOMPARE(memo->paceMark(), 5);

    w_->btnStop->click();
    QVERIFY(!w_->pace().timer()->isActive());
    if (vkbd_)
        QTRY_COMPARE_WITH_TIMEOUT(screenInk().pixels, 0, kTimeoutMs);
    else
        QTRY_COMPARE_WITH_TIMEOUT(paceInk(w_.get(), memo, later), 0, kTimeoutMs);
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

bool TestXDisplay::loadToolKeymap() {
    if (vkbd_) return startKeyboard({QStringLiteral("--tool-keymap")});
    QTemporaryFile file;
    if (!file.open() || file.write(tool::kKeymap) < 0 || !file.flush()) return false;
    QProcess p;
    p.start(QStringLiteral("xkbcomp"),
            {QStringLiteral("-w0"), file.fileName(), qEnvironmentVariable("DISPLAY")});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// sway leaves the title bars to the program here: the fixed windows carry a bar of their
// own instead of Qt's: a title and a close button, no maximise or minimise.
void TestXDisplay::ownTitleBar() {
    if (!vkbd_) QSKIP("on X the window manager draws the title bars");
    QTRY_VERIFY_WITH_TIMEOUT(w_->findChild<QWidget*>(QStringLiteral("TitleStrip")), kTimeoutMs);
    const auto* strip = w_->findChild<QWidget*>(QStringLiteral("TitleStrip"));
    QCOMPARE(strip->findChildren<QAbstractButton*>().size(), 1);
    QCOMPARE(w_->windowHandle()->frameMargins(), QMargins());
    QCOMPARE(w_->Panel1->y(), strip->height());
    QCOMPARE(w_->height(), 240 + strip->height());

    TAboutBox box(w_.get());
    box.show();
    QTRY_VERIFY_WITH_TIMEOUT(box.findChild<QWidget*>(QStringLiteral("TitleClose")), kTimeoutMs);
    auto* close = box.findChild<QWidget*>(QStringLiteral("TitleClose"));
    QTRY_VERIFY_WITH_TIMEOUT(close->isVisible(), kTimeoutMs);
    QCOMPARE(box.windowHandle()->frameMargins(), QMargins());
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), kTimeoutMs);
}

// A keymap of its own numbers its keys from 9: the symbols decide, not Esc, 1 and 2.
// Last, as it leaves the tool's keymap in place. xdotool takes 9 for a symbol's name,
// so on X the symbols name the keys: the tool's keymap puts them on 9, 10 and 11.
void TestXDisplay::toolKeymap() {
    QVERIFY(loadToolKeymap());
    const struct {
        quint32 xkey;
        const char* symbol;
        const char* panel;
        int vk;
    } keys[] = {
        {9, "a", "Panel26", 'A'}, {10, "yen", "Panel13", 220}, {11, "underscore", "Panel48", 226}};
    for (const auto& k : keys) {
        const QByteArray key = vkbd_ ? QByteArray::number(k.xkey) : QByteArray(k.symbol);
        QVERIFY(xdo("keydown", key));
        QTRY_BEVEL(k.panel, bvLowered);
        QCOMPARE(w_->keyboard().lastKey, k.vk);
        QVERIFY(xdo("keyup", key));
        QTRY_BEVEL(k.panel, bvRaised);
    }
}

QTEST_MAIN(TestXDisplay)
#include "tst_xdisplay.moc"
