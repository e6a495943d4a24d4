#include "FakePlatform.h"
#include "JisKeyCaps.h"
#include "KeyTable.h"
#include "QtPlatform.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"

#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <memory>

constexpr int kTimeoutMs = 20000;

// One learner's session in one program on a real X display, the keys typed through
// xdotool, ended by a kill: every run the session made must be in the history or, for
// the last two, made while an outside sqlite3 held it, wait beside it. The slots run in
// order, each a step of the session; a failed step leaves the rest to go on, as a
// learner would. run_session.sh counts the history after the kill, then starts the
// program again for laterStart alone, whose first write takes in what waited.
class TestSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lessonStoppedInItsSecondLine();
    void lessonAgainShowsItsText();
    void folderDialogCancelled();
    void outsideReader();
    void drillEndedWithEsc();
    void japaneseToTheEnd();
    void settingsClosedWithOk();
    void heldAtExit();
    void killed();
    void laterStart();

private:
    // key: an X keycode from 10 up, or a key symbol's name (xdotool reads 9 as one).
    bool xdo(const char* action, const QByteArray& key);
    bool tap(quint32 xkey) {
        return xdo("keydown", QByteArray::number(xkey)) && xdo("keyup", QByteArray::number(xkey));
    }
    static quint32 xkeyOf(char c);
    bool type(const QByteArray& text);
    void tick();        // a second on the clock, so the run's keys are counted
    void shortLesson(); // a lesson stopped after its first two keys
    int darkPixelsInPane() const;
    FakePlatform platform_;
    std::unique_ptr<TVelotapper> w_;
    int runs_ = 0; // runs that changed the record
};

namespace {
// Two lines of a lesson and a kana-only text, so no dictionary is needed.
const QByteArray kLesson = "we hid a red kite\nat dusk\n";
const QByteArray kJapanese = "あさのうみ\n";
} // namespace

void TestSession::initTestCase() {
    QVERIFY(QDir::setCurrent(qEnvironmentVariable("SESSION_DIR")));
    QFile lesson(QStringLiteral("Lesson1.txt"));
    QVERIFY(lesson.open(QIODevice::WriteOnly) && lesson.write(kLesson) == kLesson.size());
    lesson.close();
    Platform::install(&platform_);
    w_ = std::make_unique<TVelotapper>();
    w_->setHistory(&w_->history());
    w_->setPagesDlg([](TVelotapper& w) {
        auto* pages = new TPagesDlg(w.record(), &w);
        pages->setHistory(&w.history());
        return pages;
    });
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get(), kTimeoutMs));
    w_->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), kTimeoutMs);
}

bool TestSession::xdo(const char* action, const QByteArray& key) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), {QString::fromLatin1(action), QString::fromLatin1(key)});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The key of a printable character without Shift, a blank or a line end.
quint32 TestSession::xkeyOf(char c) {
    for (const auto& k : jis::kCharKeys)
        if (k.vk == keyOfPrintable(c)) return k.xkey;
    return c == ' ' ? 65 : c == '\n' ? 36 : 0;
}

bool TestSession::type(const QByteArray& text) {
    for (const char c : text)
        if (!xkeyOf(c) || !tap(xkeyOf(c))) return false;
    return true;
}

void TestSession::tick() {
    platform_.now += 1000;
    w_->Timer1Timer();
}

// What the X server shows in the text pane: pixels dark enough to be text.
int TestSession::darkPixelsInPane() const {
    const QWidget* vp = w_->Memo->viewport();
    const QPoint at = vp->mapToGlobal(QPoint(0, 0));
    const QImage shot =
        w_->screen()->grabWindow(0, at.x(), at.y(), vp->width(), vp->height()).toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) n += qGray(shot.pixel(x, y)) < 96;
    return n;
}

void TestSession::lessonStoppedInItsSecondLine() {
    w_->btnExercise->click();
    QVERIFY(w_->exercise().practiceRunning());
    tick();
    QVERIFY(type(kLesson.left(kLesson.indexOf('\n') + 3)));
    QTRY_VERIFY_WITH_TIMEOUT(w_->exercise().cursorPos == kLesson.indexOf('\n') + 4, kTimeoutMs);
    w_->btnStop->click();
    ++runs_;
}

void TestSession::lessonAgainShowsItsText() {
    w_->btnExercise->click();
    QVERIFY(w_->exercise().practiceRunning());
    // The caret alone is a thin line; a line of text is many times that. The run goes
    // on either way, so the session after it stays the same.
    const bool shown = QTest::qWaitFor([this] { return darkPixelsInPane() > 150; }, 5000);
    tick();
    QVERIFY(type(kLesson));
    QTRY_VERIFY_WITH_TIMEOUT(!w_->exercise().practiceRunning(), kTimeoutMs);
    ++runs_;
    QVERIFY2(shown, "the pane was blank at the start of the second run");
    QCOMPARE(w_->record().runMisses, 0);
}

// The desktop's own dialog, looking at every file of the folder, then Cancel.
void TestSession::folderDialogCancelled() {
    QtPlatform desktop;
    Platform::install(&desktop);
    const auto back = qScopeGuard([this] { Platform::install(&platform_); });
    bool listed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
        if (!model) return;
        // Detail view: name, size, type and date of every file shown.
        dialog->setViewMode(QFileDialog::Detail);
        QTRY_VERIFY_WITH_TIMEOUT(listed = model->rowCount(model->index(QDir::currentPath())) > 0,
                                 kTimeoutMs);
        dialog->reject();
    });
    w_->btnFile->click();
    // No window manager here gives the keyboard back to the window.
    w_->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), kTimeoutMs);
    QVERIFY2(listed, "the dialog did not list the folder");
    QCOMPARE(QDir::current().canonicalPath(),
             QDir(qEnvironmentVariable("SESSION_DIR")).canonicalPath());
}

void TestSession::outsideReader() {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {QStringLiteral("Velotap.db"), QStringLiteral("select count(*) from runs")});
    QVERIFY(sqlite.waitForFinished(kTimeoutMs));
    QCOMPARE(sqlite.readAllStandardOutput().trimmed(), QByteArray::number(runs_));
}

// Five prompted keys, then Esc. The drill waits for each key-down, so a key goes
// down in one wait, which ends when the window has it, and up in the next.
void TestSession::drillEndedWithEsc() {
    int typed = 0;
    QByteArray down;
    QString answered;
    const QDeadlineTimer late(kTimeoutMs); // then Esc ends a drill that gets no keys
    platform_.onWait = [&](qint64 deadline) {
        if (deadline >= 0) return; // the start prompts: the fake clock passes them
        const QString prompt = w_->Display->caption();
        if (!down.isEmpty()) {
            if (!xdo("keyup", down)) qWarning("xdotool failed");
            down.clear();
        } else if (late.hasExpired() || (prompt != answered && prompt.startsWith('['))) {
            answered = prompt;
            down = typed++ < 5 && !late.hasExpired()
                       ? QByteArray::number(xkeyOf(prompt.at(1).toLatin1()))
                       : QByteArrayLiteral("Escape");
            if (!xdo("keydown", down)) qWarning("xdotool failed");
            while (w_->keyboard().lastKey == 0 && !late.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        } else {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    };
    const auto done = qScopeGuard([&] {
        platform_.onWait = nullptr;
        if (!down.isEmpty()) xdo("keyup", down);
    });
    const int before = w_->record().typedTotal;
    w_->btnLesson->click();
    QCOMPARE(typed, 6);
    QCOMPARE(w_->record().typedTotal, before + 5);
    ++runs_;
}

void TestSession::japaneseToTheEnd() {
    QFile file(QStringLiteral("kana.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kJapanese) == kJapanese.size());
    file.close();
    platform_.files.push_back(QFileInfo(file).absoluteFilePath());
    w_->btnJapanese->click();
    QVERIFY(w_->japanese().running());
    tick();
    QVERIFY(type("asanoumi"));
    QTRY_VERIFY_WITH_TIMEOUT(!w_->japanese().running(), kTimeoutMs);
    ++runs_;
    QCOMPARE(w_->record().runMisses, 0);
    // The finished phrase with nothing left to type, and a full bar.
    QCOMPARE(w_->Memo->toPlainText().trimmed(), QStringLiteral("あさのうみ"));
    QCOMPARE(w_->Bar1->value(), w_->Bar1->maximum());
}

void TestSession::settingsClosedWithOk() {
    platform_.onDialog = [](QDialog* d) {
        if (auto* ok = d->findChild<QPushButton*>(QStringLiteral("OKBtn"))) ok->click();
    };
    w_->btnTool->click();
    platform_.onDialog = nullptr;
    QCOMPARE(platform_.dialogsRun, 1);
    QVERIFY(platform_.messages.isEmpty());
}

void TestSession::shortLesson() {
    w_->btnExercise->click();
    QVERIFY(w_->exercise().practiceRunning());
    tick();
    QVERIFY(type("we"));
    QTRY_VERIFY_WITH_TIMEOUT(w_->exercise().cursorPos == 2, kTimeoutMs);
    w_->btnStop->click();
    ++runs_;
}

// An outside sqlite3 holds the history through two runs and the exit: the prompt line
// says the runs wait, no box stops the learner, and the exit takes a moment at most.
void TestSession::heldAtExit() {
    QProcess holder;
    holder.start(QStringLiteral("sqlite3"), {QStringLiteral("Velotap.db")});
    QVERIFY(holder.waitForStarted(kTimeoutMs));
    holder.write("BEGIN EXCLUSIVE;\n.print held\n");
    QByteArray said;
    while (!said.contains("held") && holder.waitForReadyRead(kTimeoutMs))
        said += holder.readAllStandardOutput();
    QVERIFY(said.contains("held"));
    for (int i = 0; i < 2; ++i) {
        shortLesson();
        QVERIFY2(w_->Display->caption().endsWith(TVelotapper::tr("（履歴へは後で記録）")),
                 qPrintable(w_->Display->caption()));
    }
    QElapsedTimer exit;
    exit.start();
    w_->btnExit->click();
    QVERIFY2(exit.elapsed() < 500, qPrintable(QString::number(exit.elapsed())));
    QCOMPARE(platform_.messages, QStringList());
    holder.write("COMMIT;\n");
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(kTimeoutMs));
}

// Killed: run_session.sh compares the history and what waits beside it with this count.
void TestSession::killed() {
    QFile counted(QStringLiteral("runs-counted"));
    QVERIFY(counted.open(QIODevice::WriteOnly) && counted.write(QByteArray::number(runs_)) > 0);
    counted.close();
    std::fflush(stdout);
    std::fflush(stderr);
    std::raise(SIGKILL);
}

// The program started again in the folder, after the kill.
void TestSession::laterStart() {
    QFile counted(QStringLiteral("runs-counted"));
    QVERIFY(counted.open(QIODevice::ReadOnly));
    runs_ = counted.readAll().toInt();
    counted.close();
    QVERIFY(QFile::exists(QStringLiteral("Velotap.db-waiting")));
    shortLesson();
    QVERIFY(!QFile::exists(QStringLiteral("Velotap.db-waiting")));
    outsideReader();
    QVERIFY(counted.open(QIODevice::WriteOnly) && counted.write(QByteArray::number(runs_)) > 0);
    counted.close();
    w_->btnExit->click();
    QCOMPARE(platform_.messages, QStringList());
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
