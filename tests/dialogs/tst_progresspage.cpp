#include "CoursePanel.h"
#include "FakeHistory.h"
#include "Language.h"
#include "PracticeRecord.h"
#include "ProgressChart.h"
#include "ProgressPage.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

HistoryRun run(const char* mode, const char* source, double speed, qint64 keys, qint64 misses,
               int day = 1) {
    // The page shows local time, whatever the zone the test runs in.
    const QDateTime at = QDateTime(QDate(2026, 11, day), QTime(9, 30)).toUTC();
    return {0,      at,    at,   QString::fromLatin1(mode), QString::fromLatin1(source), 0, keys,
            misses, speed, false};
}

QStringList captions(const std::array<TPanel*, 5>& panels) {
    QStringList out;
    for (TPanel* p : panels) out << p->caption();
    return out;
}

// The dialog shown on the progress page, as the tool button shows it.
struct Shown {
    TestEnv env;
    PracticeRecord rec;
    FakeHistory history;
    std::unique_ptr<TPagesDlg> dlg;
    ProgressPage* page = nullptr;

    void open(const std::function<void()>& act = [] {}) {
        if (!dlg) {
            rec.applyDefaults();
            dlg = std::make_unique<TPagesDlg>(rec);
            dlg->setHistory(&history);
            page = dlg->TabSheet5;
            dlg->PageControl1->setCurrentWidget(page);
        }
        env.platform.onDialog = [&](QDialog*) { act(); };
        env.platform.execDialog(dlg.get());
    }
    void hover(const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, page->chart->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page->chart, &move);
    }
};

} // namespace

class TestProgressPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void keyLists();
    void hoverShowsRunOrDay_data();
    void hoverShowsRunOrDay();
    void readsOnlyWhenShown();
    void exportPassesSavePath();
    void deleteAsksFirst();
    void emptyHistoriesDraw_data();
    void emptyHistoriesDraw();
    void saysWhatStandsInTheWay_data();
    void saysWhatStandsInTheWay();
    void viewsTakeTurns();
};

// CTest runs the page's words again in English and at 150 and 200 %.
void TestProgressPage::initTestCase() {
    installTranslators(chooseLanguage(), {QStringLiteral(VELOTAPPER_QM_DIR)});
}

void TestProgressPage::keyLists() {
    Shown s;
    s.history.runs = {run("lesson", "Lesson1.txt", 2, 100, 10)};
    // (key, characters typed, wrong presses, ms, pressed instead, times, Shift slip)
    s.history.keys = {{13, 10, 2, 5000, 32, 2},        {'A', 60, 140, 3000, 'S', 140},
                      {'K', 10, 0, 5000, 0, 0},        {'Q', 3, 0, 6000, 0, 0},
                      {'U', 150, 100, 45000, 'I', 99}, {'X', 0, 3, 0, 'X', 3, 1},
                      {'Y', 2, 8, 200, 'T', 8},        {32, 40, 0, 0, 0, 0}};
    s.open();
    QCOMPARE(s.history.keySpans, QList<int>{20});
    // Rates over all presses while due, a line end one press of Enter; ranked by what
    // the presses bear out, so A's 200 presses outweigh Y's 10 and X's 3.
    QCOMPARE(captions(s.page->weakKeys),
             QStringList({" A 70% →S", " Y 80% →T", " X 100% →Shiftなし", " U 40% →I",
                          " Enter 29% →Space"}));
    // Keys pressed fewer than five times come last.
    QCOMPARE(captions(s.page->slowKeys),
             QStringList({"Enter 1000ms", "K 500ms", "U 300ms", "A 50ms", "Space 0ms"}));
    QVERIFY(s.page->exportBtn->isEnabled() && s.page->deleteBtn->isEnabled());
}

void TestProgressPage::hoverShowsRunOrDay_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QDate>("first"); // of the three days
    QTest::addColumn<QString>("source");
    QTest::addColumn<ProgressChart::Span>("span");
    QTest::addColumn<QString>("text"); // the detail shown, or its start and end around "…"
    QTest::addColumn<bool>("rhythm");  // the runs and days have one
    const QString longName = "the-longest-name-ever-given-to-a-practice-file-of-mine.txt";
    QTest::newRow("50 runs one by one")
        << qint64(50) << QDate(2026, 11, 1) << "ASDF" << ProgressChart::Span::Run
        << " 2026/11/03 09:30 ドリル ASDF 1.25打/秒 ミス7" << true;
    QTest::newRow("a long file name is shortened")
        << qint64(50) << QDate(2026, 11, 1) << longName << ProgressChart::Span::Run
        << " 2026/11/03 09:30 ドリル the-…txt 1.25打/秒 ミス7" << false;
    QTest::newRow("51 runs by day")
        << qint64(51) << QDate(2026, 11, 1) << "ASDF" << ProgressChart::Span::Day
        << " 2026/11/03 ドリル 4回 平均1.25打/秒 ミス7" << true;
    QTest::newRow("by week past 60 days")
        << qint64(51) << QDate(2026, 8, 1) << "ASDF" << ProgressChart::Span::Week
        << " 2026/11/02の週 ドリル 4回 平均1.25打/秒 ミス7" << false;
    QTest::newRow("by month past a year")
        << qint64(51) << QDate(2025, 10, 1) << "ASDF" << ProgressChart::Span::Month
        << " 2026/11 ドリル 4回 平均1.25打/秒 ミス7" << true;
}

void TestProgressPage::hoverShowsRunOrDay() {
    QFETCH(qint64, total);
    QFETCH(QDate, first);
    QFETCH(QString, source);
    QFETCH(QString, text);
    Shown s;
    s.history.total = total;
    s.history.runs = {run("lesson", "L1.txt", 3.5, 100, 2, 1), run("text", "a.txt", 2.0, 80, 0, 2),
                      run("drill", "ASDF", 1.25, 50, 7, 3)};
    s.history.runs[2].source = source;
    s.history.dayList = {{first, "lesson", 2, 3.5, 100, 2},
                         {QDate(2026, 11, 2), "text", 1, 2.0, 80, 0},
                         {QDate(2026, 11, 3), "drill", 4, 1.25, 50, 7}};
    QFETCH(bool, rhythm);
    if (rhythm) {
        s.history.runs[1].rhythm = 80;
        s.history.dayList[1].rhythm = 80;
        s.history.dayList[1].rhythmRuns = 1;
    }
    s.open([&] {
        ProgressChart* chart = s.page->chart;
        QTEST(chart->span(), "span");
        QCOMPARE(chart->legend(), QStringList({"レッスン", "テキスト", "ドリル"}) +
                                      (rhythm ? QStringList{"リズム"} : QStringList()));
        s.hover(chart->pointPos(2) + QPoint(2, -2));
        const QString shown = s.page->detail->caption();
        const QStringList ends = text.split(QStringLiteral("…"));
        QVERIFY2(shown.startsWith(ends.front()) && shown.endsWith(ends.back()), qPrintable(shown));
        QVERIFY(QFontMetrics(s.page->detail->font()).horizontalAdvance(shown) <
                s.page->detail->width());
        s.hover(QPoint(1, 1));
        QVERIFY(s.page->detail->caption().contains(QString::number(total)));
    });
    QCOMPARE(s.history.dayQueries, total > 50 ? 1 : 0);
    QCOMPARE(s.history.runQueries, total > 50 ? 0 : 1);
}

void TestProgressPage::readsOnlyWhenShown() {
    Shown s;
    s.open();
    s.dlg->PageControl1->setCurrentIndex(0);
    s.open([&] {
        QCOMPARE(s.history.keySpans.size(), 1);
        s.dlg->PageControl1->setCurrentWidget(s.page);
        QCOMPARE(s.history.keySpans.size(), 2);
    });
    QCOMPARE(s.history.keySpans.size(), 2);
}

void TestProgressPage::exportPassesSavePath() {
    Shown s;
    s.history.runs = {run("drill", "ASDF", 1, 50, 0)};
    s.env.platform.saveFiles = {QString(), s.env.path("out"), s.env.path("o.txt"),
                                s.env.path("no/out.csv"), s.env.path("d.csv")};
    s.open([&] {
        s.page->exportBtn->click(); // cancelled
        s.page->exportBtn->click();
        s.page->exportBtn->click();
        s.history.exportOk = false;
        s.page->exportBtn->click();
        s.history.unread = QStringLiteral("壊れていて読み出せません。");
        s.page->exportBtn->click();
    });
    QCOMPARE(s.history.exports, QStringList({s.env.path("out.csv"), s.env.path("o.txt"),
                                             s.env.path("no/out.csv"), s.env.path("d.csv")}));
    QCOMPARE(s.env.platform.messages,
             QStringList({"成績履歴を書き出せませんでした。",
                          "成績履歴を書き出せませんでした。壊れていて読み出せません。"}));
}

void TestProgressPage::deleteAsksFirst() {
    Shown s;
    s.history.runs = {run("drill", "ASDF", 1, 50, 5)};
    s.history.keys = {{65, 10, 5, 1000, 83, 5}};
    s.env.platform.answers = {false, true};
    s.open([&] {
        s.page->deleteBtn->click();
        QCOMPARE(s.history.clears, 0);
        QCOMPARE(s.page->weakKeys[0]->caption(), QStringLiteral(" A 33% →S"));
        s.page->deleteBtn->click();
    });
    QCOMPARE(s.history.clears, 1);
    QCOMPARE(s.env.platform.questions.size(), 2);
    QCOMPARE(
        s.env.platform.questions[0],
        QStringLiteral("成績履歴をすべて消去します。コースも最初からになります。よろしいですか？"));
    QVERIFY(s.page->weakKeys[0]->caption().isEmpty());
    QCOMPARE(s.page->chart->pointCount(), 0);
    QVERIFY(!s.page->deleteBtn->isEnabled());
}

void TestProgressPage::emptyHistoriesDraw_data() {
    QTest::addColumn<int>("runs");
    QTest::newRow("no history at all") << -1;
    QTest::newRow("empty") << 0;
    QTest::newRow("one run without keys") << 1;
    QTest::newRow("damaged speed") << 2;
}

void TestProgressPage::emptyHistoriesDraw() {
    QFETCH(int, runs);
    Shown s;
    if (runs > 0) s.history.runs = {run("weak", "", 0, 0, 0)};
    if (runs > 1)
        s.history.runs << run("text", "x", qInf(), 10, -1) << run("text", "y", qQNaN(), 5, 1);
    s.open([&] {
        if (runs < 0) s.dlg->setHistory(nullptr);
        QVERIFY(!s.page->chart->grab().isNull());
        for (int i = 0; i < s.page->chart->pointCount(); ++i)
            QVERIFY(s.page->chart->rect().contains(s.page->chart->pointPos(i)));
        QCOMPARE(s.page->exportBtn->isEnabled(), runs > 0);
        s.hover(s.page->chart->rect().center());
    });
}

void TestProgressPage::saysWhatStandsInTheWay_data() {
    QTest::addColumn<QString>("unread");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<int>("runs"); // what the history counts
    QTest::newRow("held by another program")
        << QCoreApplication::translate(
               "HistoryStore", "成績履歴 %1 はほかのプログラムが使用中で、いまは読めません。")
               .arg("Velotap.db")
        << "" << 0;
    // A long reason with a long name, over a count that cannot be shown.
    QTest::newRow("damaged")
        << (chooseLanguage() == UiLanguage::English
                ? "The history Velotap.db is partly damaged. At the next write it is put aside as "
                  "Velotap.db.damaged-20261209-000500 and every run that can be read goes into a "
                  "new history; until then only what could be read is used."
                : "成績履歴 Velotap.db の一部が壊れています。次に書き込むとき "
                  "Velotap.db.damaged-20261209-000500 として取っておき、読み出せる成績を"
                  "すべて新しい履歴に移します。それまでは読めた分だけを使います。")
        << "" << 52;
    QTest::newRow("read-only") << ""
                               << "read-only" << 1;
}

// A history that cannot be read is not shown as an empty one: the chart's place says
// why, in full, and the line below it fits; what cannot be changed is offered disabled,
// saying why.
void TestProgressPage::saysWhatStandsInTheWay() {
    QFETCH(QString, unread);
    QFETCH(QString, locked);
    QFETCH(int, runs);
    Shown s;
    s.history.unread = unread;
    s.history.locked = locked;
    s.history.total = runs;
    s.history.runs = {run("drill", "ASDF", 1, 50, 5)};
    s.open([&] {
        const QLabel* notice = s.page->chart->notice();
        QVERIFY(notice->isVisible() == !unread.isEmpty());
        if (!unread.isEmpty()) {
            QCOMPARE(notice->text(), unread);
            const QRect room = notice->contentsRect();
            QVERIFY(room.contains(
                QFontMetrics(notice->font(), notice)
                    .boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, notice->text())));
            QVERIFY(notice->heightForWidth(room.width()) <= room.height());
        }
        // The line below says only that nothing can be shown, and it fits.
        const TPanel* detail = s.page->detail;
        const QString line = detail->caption();
        QCOMPARE(line.contains(QString::number(runs)), unread.isEmpty());
        QVERIFY2(QFontMetrics(detail->captionFont()).horizontalAdvance(line) <=
                     detail->contentsRect().width() -
                         2 * (detail->bevelWidth() + detail->borderWidth()),
                 qPrintable(line));
        QCOMPARE(s.page->deleteBtn->isEnabled(), runs > 0 && locked.isEmpty());
        QCOMPARE(s.page->deleteBtn->toolTip(), locked);
        QCOMPARE(s.dlg->cbWeakKeys->isEnabled(), locked.isEmpty());
        QVERIFY(s.dlg->cbKanaInput->toolTip().contains(locked));
    });
}

// Views cover the chart one at a time, each leaving only its own button to come back by.
void TestProgressPage::viewsTakeTurns() {
    Shown s;
    s.open([&] {
        ProgressPage* p = s.page;
        // The page's own views leave the row to these two.
        for (QPushButton* own : p->findChildren<QPushButton*>(QStringLiteral("btnGrades")))
            p->setViewShown(own, false);
        auto* one = new QWidget;
        auto* two = new QWidget;
        QPushButton* b1 = p->addView("btnOne", QStringLiteral("一"), QString(), one);
        QPushButton* b2 = p->addView("btnTwo", QStringLiteral("二"), QString(), two);
        const QRect row1 = b1->geometry();
        QCOMPARE(row1.top(), 122);
        QVERIFY(row1.right() < b2->geometry().left());
        const auto shown = [](std::initializer_list<QWidget*> ws) {
            QList<bool> out;
            for (QWidget* w : ws) out << w->isVisible();
            return out;
        };
        b1->click();
        QCOMPARE(shown({one, two, p->chart, p->weakBtn, b1, b2, p->courseBtn}),
                 QList<bool>({true, false, false, false, true, false, false}));
        QCOMPARE(b1->geometry(), p->courseBtn->geometry());
        p->courseBtn->setChecked(true); // another view takes the page
        QCOMPARE(shown({one, p->course, b1, p->courseBtn}),
                 QList<bool>({false, true, false, true}));
        p->courseBtn->click();
        QCOMPARE(shown({one, two, p->course, p->chart, p->exportBtn, b1, b2}),
                 QList<bool>({false, false, false, true, true, true, true}));
        QCOMPARE(b1->geometry(), row1);
        p->setViewShown(b1, false); // the other takes the whole row
        QCOMPARE(b2->geometry().left(), 171);
        QVERIFY(!b1->isVisible());
    });
}

QTEST_MAIN(TestProgressPage)
#include "tst_progresspage.moc"
