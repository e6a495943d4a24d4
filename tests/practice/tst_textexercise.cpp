#include "Fixture.h"
#include "TypingKeys.h"

#include "QtPlatform.h"

#include <QDir>
#include <QFileDialog>
#include <QScrollBar>
#include <QtTest>
#include <cmath>
#include <sys/stat.h>

// The text exercise on the real main window: loading, the start, the judging of
// keys, the timer and the stop with its speed bookkeeping.
class TstTextExercise : public QObject {
    Q_OBJECT

private slots:
    void loadRefreshesTheStatistics();
    void unopenableFileChangesNothing_data();
    void unopenableFileChangesNothing();
    void emptyFileKeepsTheOldText();
    void fileDialogMovesTheWorkingDirectory();
    void realDialogMovesTheFolderForAnyChoice_data();
    void realDialogMovesTheFolderForAnyChoice();
    void startWithoutTextOnlyComplains();
    void startShowsPromptsThenRuns();
    void judging_data();
    void judging();
    void keysNeverJudged();
    void typedToTheEnd();
    void stopBeforeTheFirstTick();
    void speedRecords_data();
    void speedRecords();
    void timerShowsMinutesAndSeconds();
    void secondRunStartsAtTheBeginning();
    void lessons_data();
    void lessons();
};

namespace {
const QString kLineEndPrompt = QStringLiteral("次のキーは [改行||空白]です。");
QString nextPrompt(char c) {
    return QStringLiteral("次のキーは [%1]です。").arg(QChar(c));
}
} // namespace

void TstTextExercise::loadRefreshesTheStatistics() {
    Fixture f;
    f.rec().runMisses = 9;
    f.rec().currentRate = 4.5f;
    f.w->Memo->setPlainText(QStringLiteral("left over"));
    f.load("abc\tdef\n\x82\xa0x\n");
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("abc def\r\n  x\r"));
    QCOMPARE(f.rec().textLength, 13);
    QCOMPARE(f.rec().wordCount, 3);
    QCOMPARE(f.rec().runMisses, 0);
    QCOMPARE(f.rec().currentRate, 0.0f);
    QVERIFY(f.w->Memo->toPlainText().isEmpty());
}

void TstTextExercise::unopenableFileChangesNothing_data() {
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QString>("link");
    QTest::newRow("missing") << false << QString();
    QTest::newRow("a folder") << true << QString();
    QTest::newRow("a device that never ends") << false << QStringLiteral("/dev/zero");
}

void TstTextExercise::unopenableFileChangesNothing() {
    QFETCH(bool, directory);
    QFETCH(QString, link);
    Fixture f;
    f.load("old text\n");
    f.rec().runMisses = 3;
    f.rec().currentRate = 2.5f;
    f.w->Memo->setPlainText(QStringLiteral("pane"));
    if (directory) QDir(f.env.dir()).mkdir(QStringLiteral("x.txt"));
    if (!link.isEmpty()) QVERIFY(QFile::link(link, f.env.path(QStringLiteral("x.txt"))));
    QCOMPARE(f.ex().loadPracticeText(QStringLiteral("x.txt")), 1);
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("old text\r"));
    QCOMPARE(f.rec().runMisses, 3);
    QCOMPARE(f.rec().currentRate, 2.5f);
    QCOMPARE(f.w->Memo->toPlainText(), QStringLiteral("pane"));
}

void TstTextExercise::emptyFileKeepsTheOldText() {
    Fixture f;
    f.load("one two\n");
    f.rec().textLength = 0;
    f.rec().wordCount = 0;
    f.rec().runMisses = 5;
    f.load("\n\n\n", QStringLiteral("blank.txt"));
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("one two\r"));
    QCOMPARE(f.rec().textLength, 8);
    QCOMPARE(f.rec().wordCount, 2);
    QCOMPARE(f.rec().runMisses, 0);
}

void TstTextExercise::fileDialogMovesTheWorkingDirectory() {
    Fixture f;
    QDir(f.env.dir()).mkdir(QStringLiteral("sub"));
    f.env.writeFile(QStringLiteral("sub/Lesson1.txt"), "from sub\n");
    f.env.platform.files = {QString(), f.env.path(QStringLiteral("sub/Lesson1.txt"))};
    f.w->btnFile->click(); // cancelled
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray());
    f.w->btnFile->click();
    QCOMPARE(f.env.platform.fileFilters, QStringList(2, QStringLiteral("テキストファイル(*.txt)")));
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("from sub\r"));
    QCOMPARE(QDir::current().canonicalPath(),
             QDir(f.env.path(QStringLiteral("sub"))).canonicalPath());
    QVERIFY(!f.ex().practiceRunning()); // loading never starts a run
    QVERIFY(f.env.platform.messages.isEmpty());
}

void TstTextExercise::realDialogMovesTheFolderForAnyChoice_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("a text file") << "file" << QByteArray("picked\r");
    QTest::newRow("a pipe") << "pipe" << QByteArray();
    QTest::newRow("a link to a device") << "device" << QByteArray();
}

void TstTextExercise::realDialogMovesTheFolderForAnyChoice() {
    QFETCH(QString, kind);
    Fixture f;
    QDir(f.env.dir()).mkdir(QStringLiteral("sub"));
    f.env.writeFile(QStringLiteral("sub/Lesson1.txt"), "lesson in sub\n");
    const QString chosen = f.env.path(QStringLiteral("sub/chosen.txt"));
    if (kind == "file") f.env.writeFile(QStringLiteral("sub/chosen.txt"), "picked\n");
    if (kind == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(chosen).constData(), 0644), 0);
    if (kind == "device") QVERIFY(QFile::link(QStringLiteral("/dev/zero"), chosen));

    // The desktop's own file dialog, answered with OK on the chosen file.
    QtPlatform desktop;
    Platform::install(&desktop);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept(); // OK, as the button does
    });
    f.w->btnFile->click();
    Platform::install(&f.env.platform);

    QCOMPARE(QDir::current().canonicalPath(),
             QDir(f.env.path(QStringLiteral("sub"))).canonicalPath());
    QTEST(QByteArray(f.ex().practiceText()), "text");
    // The lessons are looked for in the new folder from then on.
    f.w->btnExercise->click();
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("lesson in sub\r"));
    QVERIFY(f.env.platform.messages.isEmpty());
}

void TstTextExercise::startWithoutTextOnlyComplains() {
    Fixture f;
    f.start();
    QCOMPARE(f.env.platform.messages,
             QStringList(QStringLiteral("テキストをファイルから読んで下さい.")));
    QVERIFY(f.w->btnStart->isEnabled());
    QVERIFY(f.w->btnExit->isEnabled());
    QVERIFY(!f.w->btnStop->isEnabled());
    QVERIFY(!f.w->Timer1->isActive());
    QCOMPARE(f.env.platform.waits, 0);
}

void TstTextExercise::startShowsPromptsThenRuns() {
    Fixture f;
    f.load("Ab\n");
    f.w->LCD->setCaption(QStringLiteral("12:34"));
    QStringList seen;
    qint64 firstDeadline = -1;
    f.env.platform.onWait = [&](qint64 deadline) {
        if (firstDeadline < 0) firstDeadline = deadline;
        if (seen.isEmpty() || seen.last() != f.display()) seen << f.display();
        // Keys during the prompts are drawn but never judged.
        QVERIFY(!f.ex().practiceRunning());
        QVERIFY(!f.w->btnExit->isEnabled());
        QVERIFY(!f.w->btnStop->isEnabled());
        QVERIFY(f.w->LCD->caption().isEmpty());
    };
    f.env.platform.now = 500;
    f.start();
    QCOMPARE(seen, QStringList({QStringLiteral("フォームポジションにして下さい。"),
                                QStringLiteral("表示するキーを押して下さい")}));
    QCOMPARE(firstDeadline, 2500);
    QCOMPARE(f.env.platform.now, 4500); // two seconds each
    QVERIFY(f.ex().practiceRunning());
    QVERIFY(f.w->Timer1->isActive());
    QVERIFY(!f.w->btnStart->isEnabled());
    QVERIFY(f.w->btnStop->isEnabled());
    QVERIFY(f.w->btnAbout->isEnabled());
    QCOMPARE(f.display(), QStringLiteral("次のキーは:[A]です。"));
    QCOMPARE(f.w->Memo->toPlainText(), QStringLiteral("Ab\n"));
    QCOMPARE(f.w->Memo->caret(), 0);
    QCOMPARE(f.w->Bar1->maximum(), 3);
    QCOMPARE(f.w->Bar1->value(), 0);
    QCOMPARE(f.rec().keyStats['A'].tries, 0); // the first character counts no try
}

void TstTextExercise::judging_data() {
    QTest::addColumn<QByteArray>("typed"); // characters; '\n' is Enter, '#' a Shift-held 'a'
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("missKey"); // key code that counted a mistype, or 0
    const QString atEnd = kLineEndPrompt;
    // The text is "ab\r\nCd\r".
    QTest::newRow("correct keys") << QByteArray("ab") << 2 << 2 << atEnd << 0;
    QTest::newRow("wrong key at a line end") << QByteArray("aba") << 2 << 2 << atEnd << 65;
    QTest::newRow("Enter at a line end") << QByteArray("ab\n") << 4 << 3 << nextPrompt('C') << 0;
    QTest::newRow("Space at a line end") << QByteArray("ab ") << 4 << 3 << nextPrompt('C') << 0;
    QTest::newRow("Shift with a small letter")
        << QByteArray("#") << 0 << 0 << QStringLiteral("次のキーは:[a]です。") << 65;
    QTest::newRow("capital without Shift") << QByteArray("ab c") << 4 << 3 << nextPrompt('C') << 67;
    QTest::newRow("capital with Shift") << QByteArray("ab C") << 5 << 4 << nextPrompt('d') << 0;
    QTest::newRow("Tab is a mistype")
        << QByteArray("\t") << 0 << 0 << QStringLiteral("次のキーは:[a]です。") << 9;
    QTest::newRow("BS is a mistype")
        << QByteArray("\b") << 0 << 0 << QStringLiteral("次のキーは:[a]です。") << 8;
    QTest::newRow("Esc is a mistype")
        << QByteArray("\x1b") << 0 << 0 << QStringLiteral("次のキーは:[a]です。") << 27;
    QTest::newRow("Enter on a letter")
        << QByteArray("\n") << 0 << 0 << QStringLiteral("次のキーは:[a]です。") << 13;
}

void TstTextExercise::judging() {
    QFETCH(QByteArray, typed);
    QFETCH(int, cursor);
    QFETCH(int, caret);
    QFETCH(QString, prompt);
    QFETCH(int, missKey);
    Fixture f;
    f.load("ab\nCd\n");
    f.start();
    QWidget* pane = f.w->Memo;
    for (const char c : typed) {
        switch (c) {
        case '\n':
            keys::tap(pane, keys::Enter);
            break;
        case '\t':
            keys::tap(pane, keys::Tab);
            break;
        case '\b':
            keys::tap(pane, keys::BackSpace);
            break;
        case '\x1b':
            keys::tap(pane, keys::Esc);
            break;
        case '#':
            keys::tap(pane, keys::A, Qt::ShiftModifier);
            break;
        default:
            typeChar(pane, c);
        }
    }
    QCOMPARE(f.ex().cursorPos, cursor);
    QCOMPARE(f.w->Memo->caret(), caret);
    QCOMPARE(f.display(), prompt);
    const int misses = missKey ? 1 : 0;
    QCOMPARE(f.rec().missTotal, misses);
    QCOMPARE(f.rec().runMisses, misses);
    if (missKey) QCOMPARE(f.rec().keyStats[std::size_t(missKey)].misses, 1);
    QVERIFY(f.ex().practiceRunning());
}

void TstTextExercise::keysNeverJudged() {
    Fixture f;
    f.load("ab\n");
    f.start();
    QWidget* pane = f.w->Memo;
    keys::tap(pane, keys::ShiftL, Qt::ShiftModifier);
    keys::tap(pane, keys::CtrlL, Qt::ControlModifier);
    keys::tap(pane, keys::Eisu, Qt::ShiftModifier);
    keys::tap(pane, keys::Left);
    keys::tap(pane, keys::F1);
    QCOMPARE(f.rec().missTotal, 0);
    QCOMPARE(f.ex().cursorPos, 0);
    typeChar(pane, 'a');
    QCOMPARE(f.ex().cursorPos, 1);
}

void TstTextExercise::typedToTheEnd() {
    Fixture f;
    f.load("ab\ncd\n"); // "ab\r\ncd\r": L = 7
    f.start();
    QWidget* pane = f.w->Memo;
    typeChar(pane, 'a');
    typeChar(pane, 'b');
    f.tick();
    keys::tap(pane, keys::Enter);
    typeChar(pane, 'c');
    typeChar(pane, 'd');
    f.tick();
    QCOMPARE(f.display(), kLineEndPrompt);
    QCOMPARE(f.w->Bar1->value(), 6);
    keys::tap(pane, keys::Space);
    QCOMPARE(f.ex().cursorPos, 8); // L + 1
    QVERIFY(!f.ex().practiceRunning());
    QVERIFY(!f.w->Timer1->isActive());
    QVERIFY(!f.w->btnStop->isEnabled());
    QVERIFY(f.w->btnStart->isEnabled());
    QCOMPARE(f.rec().typedTotal, 8);
    QCOMPARE(f.rec().currentRate, 4.0f);
    QCOMPARE(f.display(), QStringLiteral("スピードは 4.0文字/秒 です　リズム0"));
    // Tries: each key typed as a key, each character when it became the next one.
    QCOMPARE(f.rec().keyStats['A'].tries, 1);
    QCOMPARE(f.rec().keyStats['c'].tries, 1);
    QCOMPARE(f.rec().keyStats['a'].tries, 0);
    QCOMPARE(f.rec().keyStats['\r'].tries, 2);
    QCOMPARE(f.env.readFile(QStringLiteral("Velotap.bin")), f.rec().toBytes());
    // Keys after the stop are not judged.
    typeChar(pane, 'x');
    QCOMPARE(f.rec().missTotal, 0);
}

void TstTextExercise::stopBeforeTheFirstTick() {
    Fixture f;
    f.load("abc\n");
    f.start();
    f.rec().currentRate = 2.5f; // as the last run left it
    typeChar(f.w->Memo, 'a');
    f.w->btnStop->click();
    QCOMPARE(f.display(), QStringLiteral("スピードは 2.5文字/秒 です"));
    QCOMPARE(f.rec().typedTotal, 0);
    QCOMPARE(f.rec().averageRate, 0.0f);
    QVERIFY(!QFile::exists(f.env.path(QStringLiteral("Velotap.bin"))));
    QVERIFY(f.w->btnExit->isEnabled());
    QVERIFY(!f.w->btnStop->isEnabled());
}

void TstTextExercise::speedRecords_data() {
    QTest::addColumn<float>("average");
    QTest::addColumn<float>("fastest");
    QTest::addColumn<float>("newAverage");
    QTest::addColumn<float>("newFastest");
    // Each run below: 3 positions in 2 ticks, 1.5 characters a second.
    const float below = std::nextafter(0.1f, 0.0f);
    QTest::newRow("no average yet") << 0.0f << 0.0f << 1.5f << 1.5f;
    QTest::newRow("average just below 0.1") << below << 0.0f << 1.5f << 1.5f;
    QTest::newRow("the float nearest 0.1 is above 0.1") << 0.1f << 0.0f << 0.8f << 1.5f;
    QTest::newRow("mean") << 2.5f << 3.0f << 2.0f << 3.0f;
    QTest::newRow("equal fastest") << 1.5f << 1.5f << 1.5f << 1.5f;
}

void TstTextExercise::speedRecords() {
    QFETCH(float, average);
    QFETCH(float, fastest);
    QFETCH(float, newAverage);
    QFETCH(float, newFastest);
    Fixture f;
    f.load("abcd\n");
    f.rec().averageRate = average;
    f.rec().fastestRate = fastest;
    f.start();
    for (char c : QByteArray("abc")) typeChar(f.w->Memo, c);
    f.tick(2);
    f.w->btnStop->click();
    QCOMPARE(f.rec().currentRate, 1.5f);
    QCOMPARE(f.rec().averageRate, newAverage);
    QCOMPARE(f.rec().fastestRate, newFastest);
    QCOMPARE(f.rec().typedTotal, 3);
    QCOMPARE(f.display(), QStringLiteral("スピードは 1.5文字/秒 です"));
}

void TstTextExercise::timerShowsMinutesAndSeconds() {
    Fixture f;
    f.load("abc\n");
    f.start();
    QVERIFY(f.w->LCD->caption().isEmpty());
    f.tick();
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("00:01"));
    f.tick(59 + 60 * 99);
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("100:00"));
    f.tick(61);
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("101:01"));
    f.w->btnStop->click();
    f.w->Timer1Timer(); // a late tick after the stop changes no caption
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("101:01"));
}

// Also the pane: a run stopped on its second line left the view scrolled past the
// text of every later run.
void TstTextExercise::secondRunStartsAtTheBeginning() {
    Fixture f;
    f.w->show();
    f.load("xy\nz\n");
    f.start();
    for (char c : {'x', 'y', ' ', 'z'}) // a blank passes the line end
        typeChar(f.w->Memo, c);
    f.rec().runMisses = 0;
    typeChar(f.w->Memo, 'q');
    f.w->btnStop->click();
    f.start();
    QCOMPARE(f.ex().cursorPos, 0);
    QCOMPARE(f.display(), QStringLiteral("次のキーは:[x]です。"));
    QCOMPARE(f.w->Memo->verticalScrollBar()->value(), 0);
    QVERIFY(f.w->Memo->viewport()->rect().contains(f.w->Memo->cursorRect()));
    typeChar(f.w->Memo, 'q');
    QCOMPARE(f.rec().runMisses, 2); // a start does not reset it, a load does
}

void TstTextExercise::lessons_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("runs");
    QTest::newRow("level 0 loads Lesson1") << 0 << QString() << true;
    QTest::newRow("level 1 has no file")
        << 1 << QStringLiteral("テキストが見つかりません\nLesson2.txtを作成して下さい") << false;
    QTest::newRow("level 2 has no file")
        << 2 << QStringLiteral("テキストが見つかりません\nLesson3.txtを作成して下さい") << false;
    QTest::newRow("damaged level") << 7 << QString() << false;
}

void TstTextExercise::lessons() {
    QFETCH(int, level);
    QFETCH(QString, message);
    QFETCH(bool, runs);
    Fixture f;
    f.env.writeFile(QStringLiteral("Lesson1.txt"), "asdf jkl;\n");
    f.rec().level = level;
    f.w->btnExercise->click();
    QCOMPARE(f.env.platform.messages, message.isEmpty() ? QStringList() : QStringList(message));
    QCOMPARE(f.ex().practiceRunning(), runs);
    QCOMPARE(f.env.platform.waits > 0, runs);
    QCOMPARE(QByteArray(f.ex().practiceText()), runs ? QByteArray("asdf jkl;\r") : QByteArray());
}

QTEST_MAIN(TstTextExercise)
#include "tst_textexercise.moc"
