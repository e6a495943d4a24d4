#include "../practice/TypingKeys.h"
#include "CourseExercise.h"
#include "FakeHistory.h"
#include "GuideColor.h"
#include "Keys.h"
#include "RecordFile.h"
#include "TAboutBox.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

namespace {
const QStringList kGroup{"btnTool",    "btnLesson", "btnExercise", "btnFile",
                         "btnKeybord", "btnExit",   "btnStart"};
}

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void keyPanelsInDesignOrder();
    void keyLooks_data();
    void keyLooks();
    void startState();
    void toolGroup();
    void exitSaves();
    void exitInUnwritableFolder();
    void desktopCloseSavesLikeExit();
    void closeRefusedWhilePracticeRuns();
    void aboutBox();
    void dialogsBuiltOnFirstUse();
    void paneBuiltAfterShow();
    void courseLessonsFollowTheCalendar();
    void todaysGoalSaidOnce_data();
    void todaysGoalSaidOnce();
    void accessibleNames_data();
    void accessibleNames();
    void functionKeys();
    void f12EndsTheDrillUncounted();
    void legibleColours();
};

void TestMainWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    QTest::newRow("btnTool") << "btnTool" << QRect(4, 4, 25, 25) << "練習の設定を行います。";
    QTest::newRow("btnLesson") << "btnLesson" << QRect(32, 4, 25, 25)
                               << "フォームポジションの練習を行います。";
    QTest::newRow("btnExercise") << "btnExercise" << QRect(60, 4, 25, 25)
                                 << "テキストによるタイピング練習";
    QTest::newRow("btnFile") << "btnFile" << QRect(88, 4, 25, 25) << "テキストファイル読込み";
    QTest::newRow("btnKeybord") << "btnKeybord" << QRect(220, 4, 25, 25)
                                << "キーボードの色を変えます。";
    QTest::newRow("btnExit") << "btnExit" << QRect(248, 4, 25, 25) << "終了します";
    QTest::newRow("btnAbout") << "btnAbout" << QRect(276, 4, 25, 25) << "プログラムの説明をします";
    QTest::newRow("btnStart") << "btnStart" << QRect(308, 4, 25, 25) << "練習を開始します";
    QTest::newRow("btnStop") << "btnStop" << QRect(336, 4, 25, 25) << "練習を中断します";
    QTest::newRow("SpeedButton4") << "SpeedButton4" << QRect(4, 4, 25, 25) << "スタートボタン";
    QTest::newRow("SpeedButton5") << "SpeedButton5" << QRect(8, 8, 25, 25) << "スタートボタン";
    QTest::newRow("Panel1") << "Panel1" << QRect(0, 0, 370, 61) << "";
    QTest::newRow("Display") << "Display" << QRect(4, 28, 297, 29) << "";
    QTest::newRow("LCD") << "LCD" << QRect(308, 28, 53, 29) << "";
    QTest::newRow("Memo") << "Memo" << QRect(4, 60, 361, 33) << "";
    QTest::newRow("Bar1") << "Bar1" << QRect(260, 216, 110, 12) << "";
    QTest::newRow("Enter") << "Panel57" << QRect(336, 124, 33, 57) << "";
    QTest::newRow("pnSP") << "pnSP" << QRect(144, 208, 73, 25) << "";
    QTest::newRow("ShiftRightPB") << "ShiftRightPB" << QRect(324, 180, 45, 29) << "";
}

void TestMainWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, hint);
    TestEnv env;
    TVelotapper w;
    auto* c = w.findChild<QWidget*>(name);
    QVERIFY(c);
    QCOMPARE(c->geometry(), geometry);
    QCOMPARE(c->toolTip(), hint);
}

void TestMainWindow::keyPanelsInDesignOrder() {
    TestEnv env;
    TVelotapper w;
    QStringList captions;
    for (auto* p : w.findChildren<TPanel*>()) captions << p->caption();
    const QStringList expected =
        QStringList{"", "", ""} + // the tool bar, Display and LCD
        QString("Esc 1 2 3 4 5 6 7 8 9 0 - ^ \\ BS Tab Q W E R T Y U I O P @ [ Enter "
                "Lock A S D F G H J K L ; : ] Shift Z X C V B N M , . / _ Shift Ctrl")
            .split(' ') +
        QStringList{" "};
    QCOMPARE(captions, expected);
    QCOMPARE(w.size(), QSize(370, 240));
    QCOMPARE(w.windowTitle(), QStringLiteral("Velotapper"));
    QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
}

void TestMainWindow::keyLooks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("fontPixels");
    QTest::newRow("letter") << "Panel14" << int(bvRaised) << int(bsSingle) << 19;
    QTest::newRow("semicolon") << "Panel35" << int(bvRaised) << int(bsSingle) << 23;
    QTest::newRow("slash") << "Panel47" << int(bvRaised) << int(bsSingle) << 12;
    QTest::newRow("Esc") << "Panel51" << int(bvRaised) << int(bsNone) << 12;
    QTest::newRow("Tab") << "Panel52" << int(bvNone) << int(bsSingle) << 12;
    QTest::newRow("Lock") << "LockPB" << int(bvNone) << int(bsSingle) << 12;
    QTest::newRow("space") << "pnSP" << int(bvRaised) << int(bsSingle) << 12;
}

void TestMainWindow::keyLooks() {
    QFETCH(QString, name);
    QFETCH(int, outer);
    QFETCH(int, border);
    QFETCH(int, fontPixels);
    TestEnv env;
    TVelotapper w;
    auto* p = w.findChild<TPanel*>(name);
    QVERIFY(p);
    QCOMPARE(int(p->bevelOuter()), outer);
    QCOMPARE(int(p->borderStyle()), border);
    QCOMPARE(p->font().pixelSize(), fontPixels);
    QCOMPARE(p->color(), clBtnFace);
    if (outer == bvRaised) QCOMPARE(p->bevelWidth(), 3);
}

void TestMainWindow::startState() {
    TestEnv env;
    TVelotapper w;
    QVERIFY(env.platform.messages.isEmpty());
    QVERIFY(!w.btnStop->isEnabled());
    for (const QString& n : kGroup) QVERIFY(w.findChild<TSpeedButton*>(n)->isEnabled());
    QVERIFY(w.Display->caption().isEmpty());
    QVERIFY(w.LCD->caption().isEmpty());
    QVERIFY(w.Memo->toPlainText().isEmpty());
    QCOMPARE(w.Display->color(), 0x0080FFFFu);
    QCOMPARE(w.LCD->color(), 0x00FFFF80u);
    QCOMPARE(w.LCD->fontColor(), clRed);
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(w.Timer1->interval(), 1000);
    QCOMPARE(w.Bar1->maximum(), 100);
    QCOMPARE(w.notice->font().pixelSize(), 12); // the window's font
    QVERIFY(!w.keyboard().keyboardColoured);
    QVERIFY(!w.keyboard().pressedKey);
    QCOMPARE(w.exercise().practiceText()[0], '\0');
    QVERIFY(!QFile::exists(env.path("Velotap.bin"))); // nothing is written before a save point
}

void TestMainWindow::toolGroup() {
    TestEnv env;
    TVelotapper w;
    w.disableTools();
    for (const QString& n : kGroup) QVERIFY(!w.findChild<TSpeedButton*>(n)->isEnabled());
    QVERIFY(w.btnAbout->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
    // The About box still opens while the group is disabled.
    TAboutBox about(&w);
    w.setAboutBox([&](TVelotapper&) { return &about; });
    QTest::mouseClick(w.btnAbout, Qt::LeftButton);
    QCOMPARE(env.platform.dialogsRun, 1);
    w.enableTools();
    for (const QString& n : kGroup) QVERIFY(w.findChild<TSpeedButton*>(n)->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
}

void TestMainWindow::exitSaves() {
    TestEnv env;
    TVelotapper w;
    w.show();
    w.record().missTotal = 77;
    QTest::mouseClick(w.btnExit, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    const QByteArray b = env.readFile("Velotap.bin");
    QCOMPARE(b.size(), 2136);
    QCOMPARE(qFromLittleEndian<qint32>(b.constData() + 60), 77);
    QVERIFY(env.platform.messages.isEmpty());
}

void TestMainWindow::exitInUnwritableFolder() {
    TestEnv env;
    QVERIFY(QDir(env.dir()).mkdir("Velotap.bin"));
    TVelotapper w;
    w.show();
    QTest::mouseClick(w.btnExit, Qt::LeftButton);
    QCOMPARE(env.platform.messages,
             QStringList{QStringLiteral("タイムレコードがオープンできませんでした。")});
    QVERIFY(!w.isVisible()); // a failed save does not stop the exit
}

void TestMainWindow::desktopCloseSavesLikeExit() {
    TestEnv env;
    TVelotapper w;
    w.show();
    w.record().typedTotal = 4242;
    QVERIFY(w.close());
    QCOMPARE(qFromLittleEndian<qint32>(env.readFile("Velotap.bin").constData() + 52), 4242);
}

void TestMainWindow::closeRefusedWhilePracticeRuns() {
    TestEnv env;
    env.writeFile("t.txt", "ab\n");
    env.platform.files = {env.path("t.txt")};
    TVelotapper w;
    w.show();
    QTest::mouseClick(w.btnFile, Qt::LeftButton);
    // Refused while the start prompts wait, and again once the run is going.
    QList<bool> closedDuringPrompts;
    env.platform.onWait = [&](qint64) { closedDuringPrompts << w.close(); };
    QTest::mouseClick(w.btnStart, Qt::LeftButton);
    env.platform.onWait = nullptr;
    QVERIFY(!closedDuringPrompts.isEmpty() && !closedDuringPrompts.contains(true));
    QVERIFY(w.exercise().practiceRunning());
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QVERIFY(!QFile::exists(env.path("Velotap.bin")));
    QTest::mouseClick(w.btnStop, Qt::LeftButton);
    QVERIFY(w.close());
    QVERIFY(QFile::exists(env.path("Velotap.bin")));
}

void TestMainWindow::aboutBox() {
    TestEnv env;
    TVelotapper w;
    TAboutBox about(&w);
    QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about.size(), QSize(298, 223));
    QCOMPARE(about.Panel1->geometry(), QRect(8, 8, 281, 181));
    QCOMPARE(about.Panel1->bevelInner(), bvRaised);
    QCOMPARE(about.Panel1->bevelOuter(), bvLowered);
    QCOMPARE(about.SpeedButton1->geometry(), QRect(12, 12, 49, 49));
    QCOMPARE(about.findChild<QLabel*>("ProductName")->text(), QStringLiteral("ヴェロタッパー"));
    QCOMPARE(about.findChild<QLabel*>("Version")->text(),
             QString("Version") + QChar(0x3000) + "1.0");
    const QString comments = about.findChild<QLabel*>("Comments")->text();
    QVERIFY(comments.startsWith(QStringLiteral("タイピングを早くする為のプログラムです。")));
    QVERIFY(comments.endsWith(QString(14, ' ') + QStringLiteral("お役に立てて下さい。")));
    QVERIFY(about.OKButton->isDefault());
    QCOMPARE(about.OKButton->geometry(), QRect(107, 196, 75, 25));

    w.setAboutBox([&](TVelotapper&) { return &about; });
    env.platform.onDialog = [](QDialog* d) {
        QVERIFY(d->isVisible());
        QTest::mouseClick(static_cast<TAboutBox*>(d)->OKButton, Qt::LeftButton);
    };
    QTest::mouseClick(w.btnAbout, Qt::LeftButton);
    QCOMPARE(env.platform.dialogsRun, 1);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void TestMainWindow::paneBuiltAfterShow() {
    TestEnv env;
    TVelotapper now;
    TVelotapper later(nullptr, TVelotapper::Pane::AfterShow);
    QVERIFY(!later.Memo);
    later.show();
    later.buildPane();
    now.show();
    // Stacked where the design puts them, shown, and drawn as the window built at once.
    QStringList names;
    for (const QObject* c : later.children())
        if (c->isWidgetType()) names << c->objectName();
    QCOMPARE(names.indexOf("Memo") + 1, names.indexOf("Panel51"));
    QCOMPARE(names.indexOf("Label1"), names.indexOf("Bar1") + 1);
    QVERIFY(later.Memo->isVisible() && later.notice->isVisible());
    QCOMPARE(later.grab().toImage(), now.grab().toImage());
    // A key that comes first finds the pane built for it.
    TVelotapper early(nullptr, TVelotapper::Pane::AfterShow);
    early.show();
    QTest::keyClick(&early, Qt::Key_A);
    QVERIFY(early.Memo && early.Memo->isVisible());
}

void TestMainWindow::dialogsBuiltOnFirstUse() {
    TestEnv env;
    TVelotapper w;
    int aboutBuilt = 0, pagesBuilt = 0;
    w.setAboutBox([&](TVelotapper& win) {
        ++aboutBuilt;
        return new TAboutBox(&win);
    });
    w.setPagesDlg([&](TVelotapper& win) {
        ++pagesBuilt;
        return new TPagesDlg(win.record(), &win);
    });
    w.show();
    QVERIFY(w.findChildren<QDialog*>().isEmpty());

    QList<QWidget*> pages;
    env.platform.onDialog = [&](QDialog* d) {
        pages << qobject_cast<TPagesDlg*>(d)->PageControl1->currentWidget();
        const QPoint off = d->geometry().center() - d->screen()->availableGeometry().center();
        QVERIFY(off.manhattanLength() <= 4); // centred, give or take the frame
        qobject_cast<TPagesDlg*>(d)->PageControl1->setCurrentIndex(0);
    };
    QTest::mouseClick(w.btnTool, Qt::LeftButton);
    QTest::mouseClick(w.btnTool, Qt::LeftButton);
    QCOMPARE(pagesBuilt, 1);
    auto* dlg = w.findChild<TPagesDlg*>();
    // Opens on the mistype map the first time, and on the page last used after that.
    QCOMPARE(pages, (QList<QWidget*>{dlg->TabSheet3, dlg->TabSheet1}));

    env.platform.onDialog = nullptr;
    QTest::mouseClick(w.btnAbout, Qt::LeftButton);
    QTest::mouseClick(w.btnAbout, Qt::LeftButton);
    QCOMPARE(aboutBuilt, 1);
    QCOMPARE(env.platform.dialogsRun, 4);
}

void TestMainWindow::courseLessonsFollowTheCalendar() {
    // Draws that follow the seed, as the desktop's generator does.
    struct SeededPlatform : FakePlatform {
        quint32 state = 1;
        void seedRandom(quint32 seed) override {
            FakePlatform::seedRandom(seed);
            state = seed;
        }
        int random() override {
            state = state * 1103515245u + 12345u;
            return int((state >> 16) & 0x7FFF);
        }
    };
    // Three fresh starts: two at one moment, one a day later.
    QStringList lessons;
    for (qint64 day : {1'800'000'000, 1'800'000'000, 1'800'086'400}) {
        TestEnv env;
        SeededPlatform platform;
        platform.calendar = day;
        Platform::install(&platform);
        TVelotapper w;
        w.btnCourse->click();
        QCOMPARE(platform.seeds, std::vector<quint32>{quint32(day * 1000)});
        lessons << QString::fromLatin1(w.exercise().practiceText());
        w.btnStop->click();
        if (lessons.size() < 3) continue;

        // The lesson that brings the yen key: it is the focus, the ro key after it is
        // locked, the digits are open, and its backslashes are typed on it.
        w.course().loadUnlocked = [](course::Track) {
            return course::indexOfVk(course::Track::Letters, 220) + 1;
        };
        const KeyTable& keys = w.keyboard().table;
        const quint32 digitColor = keys['4'].panel->color(), yenColor = keys[220].panel->color();
        w.btnCourse->click();
        QCOMPARE(keys[220].panel->color(), quint32(clYellow));
        QCOMPARE(keys[226].panel->color(), quint32(0x00A0A0A0));
        QCOMPARE(keys['4'].panel->color(), digitColor);
        const QByteArray text(w.exercise().practiceText());
        QVERIFY(text.contains('\\'));
        const qint32 missed = w.record().missTotal;
        for (int typed = 1; w.exercise().practiceRunning() && typed < 1000; ++typed) {
            platform.now += 250;
            const char c = text[w.exercise().cursorPos];
            c == '\r' ? keys::tap(w.Memo, keys::Enter) : typeChar(w.Memo, c);
            if (typed % 4 == 0) w.Timer1Timer();
        }
        QVERIFY2(!w.exercise().practiceRunning() && w.record().missTotal == missed,
                 text.mid(w.exercise().cursorPos));
        QCOMPARE(keys[220].panel->color(), yenColor); // the run's end gives it back
    }
    QCOMPARE(lessons[0], lessons[1]);
    QVERIFY(lessons[0] != lessons[2]);
}

void TestMainWindow::todaysGoalSaidOnce_data() {
    QTest::addColumn<QString>("goal"); // as kept; empty: never set
    QTest::addColumn<double>("today"); // seconds practised
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("unread");
    QTest::addColumn<QString>("said");
    QTest::newRow("the usual goal, nothing yet") << "" << 0.0 << ""
                                                 << ""
                                                 << "今日の目標まであと 10 分";
    QTest::newRow("a part of a minute is a minute") << "10" << 190.0 << ""
                                                    << ""
                                                    << "今日の目標まであと 7 分";
    QTest::newRow("met") << "10" << 600.0 << ""
                         << ""
                         << "今日の目標を達成しました";
    QTest::newRow("off") << "0" << 0.0 << ""
                         << ""
                         << "";
    QTest::newRow("a run's prompt stays") << "10" << 0.0 << "スペースキーを押すと開始します"
                                          << ""
                                          << "スペースキーを押すと開始します";
    QTest::newRow("unread history") << "10" << 0.0 << ""
                                    << "読めません"
                                    << "";
}

void TestMainWindow::todaysGoalSaidOnce() {
    QFETCH(QString, goal);
    QFETCH(QString, before);
    TestEnv env;
    FakeHistory h;
    if (!goal.isEmpty()) h.settings[QStringLiteral("goal.minutes")] = goal;
    QFETCH(double, today);
    h.daily[QDateTime::fromSecsSinceEpoch(env.platform.calendar).date()] = today;
    h.daily[QDateTime::fromSecsSinceEpoch(env.platform.calendar).date().addDays(-1)] = 3600;
    QFETCH(QString, unread);
    h.unread = unread;
    TVelotapper w;
    w.setHistory(&h);
    w.Display->setCaption(before);
    w.sayTodaysGoal();
    QTEST(w.Display->caption(), "said");
    // Once a session.
    w.Display->setCaption(QString());
    w.sayTodaysGoal();
    QVERIFY(w.Display->caption().isEmpty());
    QCOMPARE(h.dailyQueries, goal == "0" || !before.isEmpty() ? 0 : 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

void TestMainWindow::accessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // given to the panel first; empty: left as built
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("role");
    const int button = QAccessible::Button, text = QAccessible::StaticText;
    QTest::newRow("tool") << "btnExit"
                          << ""
                          << "終了します" << button;
    QTest::newRow("tool bar") << "Panel1"
                              << ""
                              << "ツールバー" << int(QAccessible::Grouping);
    QTest::newRow("A") << "Panel26"
                       << ""
                       << "A、左手小指" << text;
    QTest::newRow("M") << "Panel44"
                       << ""
                       << "M、右手人差し指" << text;
    QTest::newRow("yen") << "Panel13"
                         << ""
                         << "\\、右手小指" << text;
    QTest::newRow("space") << "pnSP"
                           << ""
                           << "スペース、親指" << text;
    QTest::newRow("left Shift") << "ShiftLeftPB"
                                << ""
                                << "Shift、左手小指" << text;
    QTest::newRow("right Shift") << "ShiftRightPB"
                                 << ""
                                 << "Shift、右手小指" << text;
    QTest::newRow("prompt idle") << "Display"
                                 << ""
                                 << "案内" << text;
    QTest::newRow("prompt") << "Display"
                            << "次のキーは:[a]です。"
                            << "案内：次のキーは:[a]です。" << text;
    QTest::newRow("clock") << "LCD"
                           << "00:07"
                           << "経過時間：00:07" << text;
    QTest::newRow("progress") << "Bar1"
                              << ""
                              << "練習の進み具合" << int(QAccessible::ProgressBar);
}

void TestMainWindow::accessibleNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, read);
    QFETCH(int, role);
    TestEnv env;
    TVelotapper w;
    auto* c = w.findChild<QWidget*>(name);
    QVERIFY(c);
    auto* panel = qobject_cast<TPanel*>(c);
    if (!caption.isEmpty()) panel->setCaption(caption);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), read);
    QCOMPARE(int(a->role()), role);
    if (panel && role == QAccessible::StaticText) {
        QVERIFY(a->state().readOnly);
        QAccessibleTextInterface* t = a->textInterface();
        QVERIFY(t);
        QCOMPARE(t->text(0, t->characterCount()), panel->caption());
    }
}

namespace {
constexpr quint32 kF(int n) {
    return n <= 10 ? keys::F1 + quint32(n - 1) : 95 + quint32(n - 11); // X keycodes
}
} // namespace

// One session through the function keys: the dialogs, a file and its run, F12 to stop
// and start, key exploration, and F10 to leave.
void TestMainWindow::functionKeys() {
    TestEnv env;
    env.writeFile("t.txt", "ab\n");
    env.platform.files = {env.path("t.txt")};
    TVelotapper w;
    TAboutBox about(&w);
    QDialog pages(&w);
    w.setAboutBox([&](TVelotapper&) { return &about; });
    w.setPagesDlg([&](TVelotapper&) { return &pages; });
    QStringList opened;
    env.platform.onDialog = [&](QDialog* d) { opened << d->metaObject()->className(); };
    w.show();
    keys::tap(&w, kF(1));
    keys::tap(&w, kF(9));
    keys::tap(&w, kF(9), Qt::ShiftModifier);
    QCOMPARE(opened, QStringList({"TAboutBox", "QDialog", "SoundDlg"}));

    keys::tap(&w, kF(4)); // the file, then its run
    QVERIFY(w.exercise().practiceRunning());
    keys::tap(&w, kF(9)); // no tool during a run, and no miss
    keys::tap(&w, keys::A);
    QCOMPARE(opened.size(), 3);
    QCOMPARE(w.record().missTotal, 0);
    QCOMPARE(w.exercise().cursorPos, 1);
    keys::tap(&w, kF(12));
    QVERIFY(!w.exercise().practiceRunning());
    QCOMPARE(w.record().missTotal, 0);
    QVERIFY(w.Display->caption().startsWith(QStringLiteral("スピード")));
    QVERIFY(w.btnExit->isEnabled());
    keys::tap(&w, kF(12)); // outside a run: the loaded text again
    QVERIFY(w.exercise().practiceRunning());
    keys::tap(&w, kF(12));

    // Exploration names each key with its finger and counts nothing; Esc ends it.
    const auto typed = w.record().typedTotal;
    const auto jTries = w.record().keyStats['j'].tries;
    keys::tap(&w, kF(11));
    QVERIFY(w.exploring());
    QVERIFY(!w.btnExit->isEnabled());
    keys::tap(&w, keys::J);
    QCOMPARE(w.Display->caption(), QStringLiteral("J、右手人差し指"));
    keys::press(&w, keys::ShiftL, Qt::ShiftModifier);
    keys::tap(&w, keys::Digit1, Qt::ShiftModifier);
    QCOMPARE(w.Display->caption(), QStringLiteral("!、左手小指"));
    keys::release(&w, keys::ShiftL);
    keys::tap(&w, kF(9)); // no tool while exploring
    QCOMPARE(opened.size(), 3);
    keys::tap(&w, keys::Esc);
    QVERIFY(!w.exploring());
    QVERIFY(w.btnExit->isEnabled());
    QVERIFY(w.Display->caption().isEmpty());
    QCOMPARE(w.record().typedTotal, typed);
    QCOMPARE(w.record().keyStats['j'].tries, jTries);

    keys::tap(&w, kF(10));
    QVERIFY(!w.isVisible());
    QVERIFY(QFile::exists(env.path("Velotap.bin")));
}

// The drill has no stop button: F12 ends it as Esc does, and is no miss.
void TestMainWindow::f12EndsTheDrillUncounted() {
    TestEnv env;
    TVelotapper w;
    w.show();
    int keyWaits = 0;
    env.platform.onWait = [&](qint64 deadline) {
        if (deadline < 0 && ++keyWaits == 2) keys::press(&w, kF(12));
    };
    env.platform.maxWaits = 1000;
    keys::tap(&w, kF(2));
    QCOMPARE(keyWaits, 2);
    QVERIFY(w.btnExit->isEnabled());
    QCOMPARE(w.record().missTotal, 0);
}

// Text on every panel colour stands out at 4.5:1 at least: the prompt line, the
// progress panels, the guide's colours and a dark colour a learner chose for a finger.
// The time panel's red on light blue is the design's own and stays as it is.
void TestMainWindow::legibleColours() {
    TestEnv env;
    const QColor black(Qt::black);
    for (const TColor c : guideColorChoices())
        QVERIFY2(contrastRatio(toQColor(c), black) >= 4.5, qPrintable(QString::number(c, 16)));
    TVelotapper w;
    w.record().fingerColors[0] = 0x00600000; // navy for the left little finger
    w.record().fingerColors[8] = 0x00202020;
    w.keyboard().btnKeybordClick();
    TPagesDlg dialog(w.record(), &w);
    QList<TPanel*> panels = w.findChildren<TPanel*>() + dialog.findChildren<TPanel*>();
    w.Display->setCaption(QStringLiteral("x"));
    for (TPanel* p : panels) {
        if (!p->label().isEmpty()) p->setCaption(QStringLiteral("0")); // a value panel
        if (p->caption().trimmed().isEmpty()) continue;
        // The desktop's theme decides the system colours.
        if (p->objectName() == QLatin1String("LCD") || isSystemColor(p->color())) continue;
        const double ratio = contrastRatio(p->textColor(), toQColor(p->color()));
        QVERIFY2(ratio >= 4.5, qPrintable(p->objectName() + ": " + QString::number(ratio)));
    }
    QVERIFY(contrastRatio(w.LCD->textColor(), toQColor(w.LCD->color())) < 4.5);
}
