#include "FakeHistory.h"
#include "PracticeRecord.h"
#include "ProgressChart.h"
#include "ProgressPage.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TestEnv.h"

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
    void keyLists();
    void hoverShowsRunOrDay_data();
    void hoverShowsRunOrDay();
    void readsOnlyWhenShown();
    void exportPassesSavePath();
    void deleteAsksFirst();
    void emptyHistoriesDraw_data();
    void emptyHistoriesDraw();
};

void TestProgressPage::keyLists() {
    Shown s;
    s.history.runs = {run("lesson", "Lesson1.txt", 2, 100, 10)};
    s.history.keys = {
        {13, 5, 5, 4000, 32, 3},    {65, 10, 4, 3000, 83, 2},   {75, 10, 0, 5000, 0, 0},
        {186, 20, 2, 2000, 0, 0},   {220, 10, 4, 100, 226, 1},  {'X', 0, 3, 0, 'Z', 3},
        {'B', 50, 1, 2500, 'V', 1}, {'Q', 100, 1, 100, 'A', 1}, {32, 40, 0, 0, 0, 0}};
    s.open();
    QCOMPARE(s.history.keySpans, QList<int>{20});
    // By miss rate, ties to the key missed more; keys never awaited stay out.
    QCOMPARE(captions(s.page->weakKeys),
             QStringList({" Enter 100% →Space", " A 40% →S", " \\ 40% →_", " : 10%", " B 2% →V"}));
    QCOMPARE(captions(s.page->slowKeys),
             QStringList({"Enter 800ms", "K 500ms", "A 300ms", ": 100ms", "B 50ms"}));
    QVERIFY(s.page->exportBtn->isEnabled() && s.page->deleteBtn->isEnabled());
}

void TestProgressPage::hoverShowsRunOrDay_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<bool>("byDay");
    QTest::addColumn<QString>("text");
    QTest::newRow("50 runs one by one")
        << qint64(50) << false << " 2026/11/03 09:30 ドリル ASDF 1.25打/秒 ミス7";
    QTest::newRow("51 runs by day")
        << qint64(51) << true << " 2026/11/03 ドリル 4回 平均1.25打/秒 ミス7";
}

void TestProgressPage::hoverShowsRunOrDay() {
    QFETCH(qint64, total);
    Shown s;
    s.history.total = total;
    s.history.runs = {run("lesson", "L1.txt", 3.5, 100, 2, 1), run("text", "a.txt", 2.0, 80, 0, 2),
                      run("drill", "ASDF", 1.25, 50, 7, 3)};
    s.history.dayList = {{QDate(2026, 11, 1), "lesson", 2, 3.5, 100, 2},
                         {QDate(2026, 11, 2), "text", 1, 2.0, 80, 0},
                         {QDate(2026, 11, 3), "drill", 4, 1.25, 50, 7}};
    s.open([&] {
        ProgressChart* chart = s.page->chart;
        QTEST(chart->byDay(), "byDay");
        QCOMPARE(chart->legend(), QStringList({"レッスン", "テキスト", "ドリル"}));
        s.hover(chart->pointPos(2) + QPoint(2, -2));
        QTEST(s.page->detail->caption(), "text");
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
    s.env.platform.saveFiles = {QString(), s.env.path("out.csv"), s.env.path("no/out.csv")};
    s.open([&] {
        s.page->exportBtn->click(); // cancelled
        s.page->exportBtn->click();
        s.history.exportOk = false;
        s.page->exportBtn->click();
    });
    QCOMPARE(s.history.exports, QStringList({s.env.path("out.csv"), s.env.path("no/out.csv")}));
    QCOMPARE(s.env.platform.messages, QStringList{"成績履歴を書き出せませんでした。"});
}

void TestProgressPage::deleteAsksFirst() {
    Shown s;
    s.history.runs = {run("drill", "ASDF", 1, 50, 5)};
    s.history.keys = {{65, 10, 5, 1000, 83, 5}};
    s.env.platform.answers = {false, true};
    s.open([&] {
        s.page->deleteBtn->click();
        QCOMPARE(s.history.clears, 0);
        QCOMPARE(s.page->weakKeys[0]->caption(), QStringLiteral(" A 50% →S"));
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

QTEST_MAIN(TestProgressPage)
#include "tst_progresspage.moc"
