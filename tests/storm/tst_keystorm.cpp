#include "KeyTranslate.h"
#include "Keys.h"
#include "TAboutBox.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <random>

namespace {

constexpr int kEvents = 100'000;

// Drives the real main window with random keys and clicks, from its own loop and from
// inside every wait of the program (start prompts, drill key waits, modal dialogs),
// and checks the window's invariants after every event.
class Storm {
public:
    Storm(TVelotapper& w, TestEnv& env) : w_(w), env_(env), rng_(20261208) {
        buttons_ = {w.btnTool,  w.btnLesson, w.btnExercise, w.btnFile,      w.btnKeybord,
                    w.btnAbout, w.btnStart,  w.btnStop,     w.SpeedButton4, w.SpeedButton5};
        group_ = {w.btnTool,    w.btnLesson, w.btnExercise, w.btnFile,
                  w.btnKeybord, w.btnExit,   w.btnStart};
    }

    int events = 0;
    int clicks = 0;
    int drills = 0;
    int runsFinished = 0;
    QString failure;

    // One random event followed by the checks.
    void step() {
        ++events;
        if (events >= kEvents || !failure.isEmpty()) {
            wind_down();
            return;
        }
        ++depth_;
        const bool running = w_.keyboard().practiceRunning;
        if (running && !wasRunning_) marathon_ = pick(3) == 0; // some runs are typed to the end
        wasRunning_ = running;
        const int kind = pick(100);
        if (running && (kind < 30 || (marathon_ && kind < 97))) {
            typeExpected();
        } else if (running && marathon_) {
            env_.platform.now += 1000;
            w_.Timer1Timer();
        } else if (kind < 55) {
            keyEvent(QEvent::KeyPress);
        } else if (kind < 80) {
            keyEvent(QEvent::KeyRelease);
        } else if (kind < 86) {
            quint16 code = quint16(pick(65536));
            w_.keyboard().MemoKeyDown(code, pick(2), pick(2));
            w_.keyboard().MemoKeyUp(quint16(pick(65536)), pick(2), pick(2));
        } else if (kind < 92) {
            env_.platform.now += 1000;
            w_.Timer1Timer();
        } else if (kind < 93) {
            keys::press(&w_, keys::Esc); // ends a drill when no key-up follows in its pass
        } else if (depth_ < 4) {
            click();
        }
        check();
        --depth_;
    }

    void onDialog(QDialog* d) {
        for (int i = 0; i < 20; ++i) step();
        if (auto* pages = qobject_cast<TPagesDlg*>(d)) {
            if (auto* tabs = pages->findChild<QTabWidget*>())
                tabs->setCurrentIndex(pick(tabs->count()));
            if (pick(2)) {
                if (auto* ok = pages->findChild<QPushButton*>(QStringLiteral("OKBtn"))) ok->click();
            }
        } else {
            d->accept();
        }
    }

private:
    int pick(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }

    Qt::KeyboardModifiers mods() {
        Qt::KeyboardModifiers m;
        if (pick(4) == 0) m |= Qt::ShiftModifier;
        if (pick(8) == 0) m |= Qt::ControlModifier;
        return m;
    }

    void keyEvent(QEvent::Type type) {
        // Mostly real X keycodes; sometimes none, so the Qt key decides.
        const quint32 scan = pick(5) ? quint32(pick(256)) : 0;
        const int qtKey = pick(2) ? pick(0x01001000) : 0;
        QKeyEvent e(type, qtKey, mods(), scan, 0, 0, QString(), pick(6) == 0);
        QCoreApplication::sendEvent(pick(2) ? static_cast<QWidget*>(&w_) : w_.Memo, &e);
    }

    // The key of the next character, so runs reach their end now and then.
    void typeExpected() {
        const TextExercise& ex = w_.exercise();
        const char c = ex.practiceText()[ex.cursorPos];
        quint32 scan = keys::Enter;
        Qt::KeyboardModifiers m;
        for (int code = 0; code < 256 && c != '\r'; ++code) {
            const KeyEntry& e = w_.keyboard().table[std::size_t(code)];
            if (!e.panel || (e.baseChar != c && e.shiftedChar != c)) continue;
            if (e.baseChar != c) m = Qt::ShiftModifier;
            for (quint32 x = 8; x < 256; ++x)
                if (virtualKeyFromScanCode(x) == code) scan = x;
            break;
        }
        const bool wasRunning = w_.keyboard().practiceRunning;
        keys::tap(w_.Memo, scan, m);
        if (wasRunning && !w_.keyboard().practiceRunning) ++runsFinished;
    }

    void click() {
        ++clicks;
        TSpeedButton* b = buttons_[std::size_t(pick(int(buttons_.size())))];
        if (b == w_.btnFile)
            env_.platform.files.push_back(pick(2) ? env_.path("Lesson2.txt") : QString());
        if (b == w_.btnLesson && b->isEnabled()) ++drills;
        w_.record().level = pick(4); // an out-of-range level now and then too
        // A click lands on whatever lies on top at the button's place: the two start
        // buttons under the tool bar can never be reached.
        const QPoint at = b->mapTo(&w_, b->rect().center());
        QWidget* target = w_.childAt(at);
        if (target) QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&w_, at));
    }

    // Past the event budget, or after a failure: leave every nested wait, so the
    // storm comes to rest. The Esc is left held, so the drill's pass sees it.
    void wind_down() {
        if (w_.keyboard().practiceRunning)
            w_.btnStop->click();
        else
            keys::press(&w_, keys::Esc);
    }

    void fail(const QString& what) {
        if (failure.isEmpty()) failure = QStringLiteral("event %1: %2").arg(events).arg(what);
    }

    void check() {
        const TextExercise& ex = w_.exercise();
        // A load keeps the cursor where the last run left it, and a new start puts it
        // at 0: only a running exercise must hold it within its text.
        const int limit =
            w_.keyboard().practiceRunning ? ex.textLength() + 1 : TextExercise::kTextSize;
        if (ex.cursorPos < 0 || ex.cursorPos > limit) fail("cursor outside the text");
        const bool enabled = group_.front()->isEnabled();
        for (auto* b : group_)
            if (b->isEnabled() != enabled) fail("tool buttons out of step: " + b->objectName());
        if (!w_.btnAbout->isEnabled()) fail("about button disabled");
        if (w_.Timer1->isActive() != w_.keyboard().practiceRunning)
            fail("timer out of step with the run");
        const PracticeRecord& r = w_.record();
        if (r.typedTotal < 0 || r.missTotal < 0 || r.runMisses < 0) fail("negative counter");
        for (const auto& k : r.keyStats)
            if (k.tries < 0 || k.misses < 0) fail("negative key count");
        const KeyEntry* pressed = w_.keyboard().pressedKey;
        if (pressed && (!pressed->panel || pressed->panel->bevelOuter() != bvLowered))
            fail("pressed key not drawn pushed in");
        if (std::strlen(ex.practiceText()) >= std::size_t(TextExercise::kTextSize))
            fail("text overflow");
    }

    TVelotapper& w_;
    TestEnv& env_;
    std::mt19937 rng_;
    std::vector<TSpeedButton*> buttons_;
    std::vector<TSpeedButton*> group_;
    int depth_ = 0;
    bool wasRunning_ = false;
    bool marathon_ = false;
};

} // namespace

class TestKeyStorm : public QObject {
    Q_OBJECT
private slots:
    void storm();
};

void TestKeyStorm::storm() {
    TestEnv env;
    for (const char* name : {"Lesson1.txt", "Lesson2.txt", "Lesson3.txt"})
        QVERIFY(QFile::copy(QDir(LESSONS_DIR).filePath(name), env.path(name)));
    TVelotapper w;
    TAboutBox about(&w);
    TPagesDlg pages(w.record(), &w);
    w.setAboutBox([&](TVelotapper&) { return &about; });
    w.setPagesDlg([&](TVelotapper&) { return &pages; });
    w.show();

    Storm storm(w, env);
    env.platform.onWait = [&](qint64) {
        for (int i = 0; i < 3; ++i) storm.step();
    };
    env.platform.onDialog = [&](QDialog* d) { storm.onDialog(d); };
    while (storm.events < kEvents) storm.step();
    QVERIFY2(storm.failure.isEmpty(), qPrintable(storm.failure));
    // The storm went through every state, not just idle typing.
    QVERIFY(storm.drills > 10);
    QVERIFY(storm.runsFinished > 0);
    QVERIFY(storm.clicks > 1000);
    qInfo("%d events, %d clicks, %d drills, %d runs typed to the end", storm.events, storm.clicks,
          storm.drills, storm.runsFinished);
}

QTEST_MAIN(TestKeyStorm)
#include "tst_keystorm.moc"
