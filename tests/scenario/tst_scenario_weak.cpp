#include "../practice/Fixture.h"
#include "../practice/TypingKeys.h"
#include "FakeHistory.h"
#include "TPagesDlg.h"

#include <QFile>
#include <QtTest>

// The weak-key lesson asked for in the settings dialog and typed to its end through
// the main window, with a fake clock and an in-memory history.
class TstScenarioWeak : public QObject {
    Q_OBJECT

private slots:
    void weakLessonTypedToTheEnd();
    void nothingToPractiseYet_data();
    void nothingToPractiseYet();
};

namespace {

// The main window and the dialog wired as at start-up, the lessons in the folder.
struct WeakFixture : Fixture {
    WeakFixture(bool withHistory) : pages(rec(), w.get()) {
        for (const char* name : {"Lesson1.txt", "Lesson2.txt", "Lesson3.txt"}) {
            QFile f(QStringLiteral(VELOTAPPER_LESSONS_DIR "/") + QLatin1String(name));
            if (f.open(QIODevice::ReadOnly)) env.writeFile(QLatin1String(name), f.readAll());
        }
        w->setPagesDlg([this](TVelotapper&) { return &pages; });
        pages.weakLessonWanted = [this](QWidget* p) { return w->prepareWeakLesson(p); };
        history.total = 1;
        if (withHistory) w->setHistory(&history);
    }
    // Presses the weak-key button in the dialog; true when that closed it.
    bool askInDialog() {
        bool closed = false;
        env.platform.onDialog = [&](QDialog*) {
            pages.weakLessonClick();
            closed = !pages.isVisible();
        };
        w->btnTool->click();
        return closed;
    }

    FakeHistory history;
    TPagesDlg pages;
};

} // namespace

void TstScenarioWeak::weakLessonTypedToTheEnd() {
    WeakFixture f(true);
    // Enter is the weakest key, but no word types it.
    for (const auto& [vk, misses] : QList<std::pair<int, int>>{
             {13, 40}, {'Q', 36}, {'P', 32}, {'Z', 28}, {'V', 24}, {'B', 20}, {'E', 0}})
        f.history.addKey(vk, 40, misses);
    f.rec().typedTotal = 500;
    QStringList startPrompts;
    f.env.platform.onWait = [&](qint64) { startPrompts << f.display(); };
    f.w->show();
    const qint64 asked = f.env.platform.calendarMs();
    QVERIFY(f.askInDialog());

    QVERIFY(f.env.platform.messages.isEmpty());
    QCOMPARE(f.env.platform.seeds, std::vector<quint32>{quint32(asked)});
    QVERIFY(f.ex().practiceRunning());
    QCOMPARE(f.ex().runMode(), QStringLiteral("weak"));
    QVERIFY(startPrompts.contains(QStringLiteral("苦手キー: Q P Z V B")));
    const QByteArray text(f.ex().practiceText());
    const int length = int(text.size());
    QVERIFY(length > 900);
    int keysTyped = 0;
    while (f.ex().practiceRunning() && keysTyped++ <= length) {
        const char c = text[f.ex().cursorPos];
        if (c == '\r')
            keys::tap(f.w->Memo, keys::Enter);
        else
            typeChar(f.w->Memo, c);
        if (keysTyped % 4 == 0) f.tick();
    }
    QCOMPARE(f.ex().cursorPos, length + 1);
    QCOMPARE(f.rec().typedTotal, 500 + length + 1);
    QCOMPARE(f.rec().runMisses, 0);
    QVERIFY(f.rec().currentRate > 3.0f);
    QVERIFY(f.w->btnTool->isEnabled());
}

void TstScenarioWeak::nothingToPractiseYet_data() {
    QTest::addColumn<bool>("history");
    QTest::addColumn<int>("runs");
    QTest::newRow("no history") << false << 0;
    QTest::newRow("a history without runs") << true << 0;
    QTest::newRow("runs without keys") << true << 3;
}

void TstScenarioWeak::nothingToPractiseYet() {
    QFETCH(bool, history);
    QFETCH(int, runs);
    WeakFixture f(history);
    f.history.total = runs;
    f.load("typed before\n");
    QVERIFY(!f.askInDialog());
    QCOMPARE(f.env.platform.messages, QStringList{QStringLiteral("まだ練習の記録がありません。")});
    QVERIFY(!f.ex().practiceRunning());
    QCOMPARE(QByteArray(f.ex().practiceText()), QByteArray("typed before\r"));
}

QTEST_MAIN(TstScenarioWeak)
#include "tst_scenario_weak.moc"
