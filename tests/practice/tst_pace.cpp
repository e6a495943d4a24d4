#include "../support/FakeHistory.h"
#include "Fixture.h"
#include "Keystrokes.h"
#include "PaceChoice.h"
#include "PaceGhost.h"
#include "PaceRunner.h"
#include "TypingKeys.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>

// The pace: where its ghost stands at a time, and a run raced against it in the real
// main window, whose pane shows the ghost's mark while the keys are judged as ever.
class TstPace : public QObject {
    Q_OBJECT
private slots:
    void ghost_data();
    void ghost();
    void choiceKeptInTheHistory();
    void raceInTheWindow();
    void raceTheLastRunKept();
    void figuresAsWithoutThePace_data();
    void figuresAsWithoutThePace();
};

namespace {

Keystroke right(qint64 ms, int vk) {
    return {ms, vk, false, true};
}
Keystroke wrong(qint64 ms, int vk) {
    return {ms, vk, false, false};
}

// A made-up run over "ab\r\ncd\r": a miss, a three-second pause before the line end, and
// broken off after 'c'.
const std::vector<Keystroke> kPausing = {right(150, 'A'), wrong(300, 'S'), right(400, 'B'),
                                         right(3400, 13), right(3500, 'C')};

// A history whose best and last runs kept the given strokes.
class PaceHistory : public FakeHistory {
public:
    QByteArray paceStrokes(const QString& mode, const QString& source, PaceRun which) override {
        asked << QStringLiteral("%1 %2 %3").arg(mode, source).arg(which == PaceRun::Best);
        return which == PaceRun::Best ? best : last;
    }
    QByteArray best, last;
    QStringList asked;
};

} // namespace

void TstPace::ghost_data() {
    QTest::addColumn<QByteArray>("record"); // empty: the steady pace
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("replaying");
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<QList<int>>("positions");
    // When it reached 1, 2, ...: past its last key at its own average speed.
    QTest::addColumn<QList<qint64>>("reached");

    const QByteArray text = "ab\r\ncd\r";
    const QByteArray pausing = keystrokes::encode(kPausing);
    QTest::newRow("600 a minute, phrases")
        << QByteArray() << QByteArray() << false << QList<qint64>{-5, 0, 99, 100, 1050}
        << QList<int>{0, 0, 0, 1, 10} << QList<qint64>{100, 200, 300};
    // One key passes each line end's pair; the run ends past the last character.
    QTest::newRow("600 a minute, text")
        << QByteArray() << text << false << QList<qint64>{100, 299, 300, 600, 60000}
        << QList<int>{1, 2, 4, 8, 8} << QList<qint64>{100, 200, 300, 300, 400, 500, 600, 600};
    QTest::newRow("recorded run with a pause")
        << pausing << text << true << QList<qint64>{149, 150, 399, 400, 3399, 3400, 3500, 99999}
        << QList<int>{0, 1, 1, 2, 2, 4, 5, 5} << QList<qint64>{150, 400, 3400, 3400, 3500, 4200};
    QTest::newRow("recorded run, phrases: one key one step")
        << pausing << QByteArray() << true << QList<qint64>{3400, 3500} << QList<int>{3, 4}
        << QList<qint64>{150, 400, 3400, 3500};
    QTest::newRow("Space at a line end, Shift alone")
        << keystrokes::encode({right(50, 16), right(100, 'A'), right(200, 'B'), right(300, 32)})
        << text << true << QList<qint64>{60, 200, 300} << QList<int>{0, 2, 4}
        << QList<qint64>{100, 200, 300, 300};
    // What cannot serve as a ghost gives way to the target pace.
    const QByteArray shortOne = pausing.left(pausing.size() - 1);
    const QByteArray future = QByteArray(1, char(keystrokes::kFormat + 1)) + pausing.mid(1);
    for (const auto& [name, record] :
         {std::pair{"empty record", QByteArray()}, std::pair{"record cut short", shortOne},
          std::pair{"newer format", future},
          std::pair{"only misses", keystrokes::encode({wrong(100, 'A')})},
          std::pair{"garbage", QByteArray("\x01\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", 11)}})
        QTest::newRow(name) << (record.isEmpty() ? QByteArray("\x01", 1) : record) << text << false
                            << QList<qint64>{100, 300} << QList<int>{1, 4}
                            << QList<qint64>{100, 200};
}

void TstPace::ghost() {
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, text);
    QFETCH(QList<qint64>, times);
    QFETCH(QList<int>, positions);
    QFETCH(QList<qint64>, reached);
    const PaceGhost g =
        record.isEmpty() ? PaceGhost::steady(600, text) : PaceGhost::replay(record, 600, text);
    QTEST(g.replaying(), "replaying");
    QList<int> at;
    for (qint64 t : times) at << g.positionAt(t);
    QCOMPARE(at, positions);
    QList<qint64> when;
    for (int p = 1; p <= reached.size(); ++p) when << g.msAt(p);
    QCOMPARE(when, reached);
}

// The settings page's choice comes from and goes to the history, and a run takes its
// ghost from it: none when off, the steady pace in place of a run that kept no keys.
void TstPace::choiceKeptInTheHistory() {
    PaceHistory history;
    history.settings[kPaceTargetSetting] = QStringLiteral("5000"); // out of reason
    PaceChoice choice(nullptr);
    choice.fill(&history, {});
    QCOMPARE(choice.mode->currentIndex(), 0);
    QVERIFY(!paceGhostOf(&history, "text", "t.txt", "ab"));
    choice.save(&history);
    QCOMPARE(history.writes, QStringList{"pace.target=200"});
    choice.mode->setCurrentIndex(2);
    choice.target->setValue(120);
    choice.save(&history);
    history.best = keystrokes::encode(kPausing);
    const auto best = paceGhostOf(&history, "text", "t.txt", "ab\r\ncd\r");
    QVERIFY(best && best->replaying());
    QCOMPARE(best->positionAt(3400), 4);
    history.settings[kPaceModeSetting] = "last"; // the last run kept nothing
    const auto last = paceGhostOf(&history, "text", "t.txt", "ab\r\ncd\r");
    QVERIFY(last && !last->replaying());
    QCOMPARE(last->positionAt(500), 1); // 120 a minute
    QCOMPARE(history.asked, (QStringList{"text t.txt 1", "text t.txt 0"}));
}

// A race against the recorded run with its pause: the mark moves on the timer, stops
// with the ghost, stays on the learner's line, and the figure and the verdict tell.
void TstPace::raceInTheWindow() {
    Fixture f;
    PaceHistory history;
    history.settings[kPaceModeSetting] = QStringLiteral("last");
    history.last = keystrokes::encode(kPausing);
    f.w->setHistory(&history);
    f.load("ab\ncd\n");
    TMemo* memo = f.w->Memo;
    PaceRunner& pace = f.w->pace();
    f.start();
    QCOMPARE(history.asked, QStringList{QStringLiteral("text t.txt 0")});
    QVERIFY(pace.running() && pace.ghost()->replaying() && pace.timer()->isActive());
    QVERIFY(!pace.figure()->isHidden() && f.w->notice->isHidden());

    const qint64 t0 = f.env.platform.now;
    const auto at = [&](qint64 ms) {
        f.env.platform.now = t0 + ms;
        for (int i = 0; i < PaceRunner::kFigureTicks; ++i) pace.tick();
    };
    QCOMPARE(memo->paceMark(), 0);
    const QRect start = memo->paceMarkRect();
    at(450);
    QCOMPARE(memo->paceMark(), 2);
    QVERIFY(memo->paceMarkRect().left() > start.left());
    QCOMPARE(memo->caret(), 0); // the learner's caret stays where the learner is
    QCOMPARE(pace.figure()->text(), PaceRunner::leadText(-450));
    typeChar(memo, 'a');
    typeChar(memo, 'b');
    at(3000); // the ghost pauses before the line end as its run did
    QCOMPARE(memo->paceMark(), 2);
    QCOMPARE(pace.figure()->text(), PaceRunner::leadText(400 - 3000));
    keys::tap(memo, keys::Enter);
    // The ghost stays behind on the first line; the view shows the learner's line.
    QCOMPARE(memo->caret(), 3);
    at(3300);
    QCOMPARE(memo->paceMarkRect().left(), memo->cursorRect().left());
    at(3400);
    QCOMPARE(memo->paceMark(), 3);
    f.tick();
    typeChar(memo, 'c');
    typeChar(memo, 'd');
    keys::tap(memo, keys::Enter);
    QVERIFY(!f.ex().practiceRunning());
    QVERIFY(!pace.timer()->isActive() && !pace.running());
    QCOMPARE(memo->paceMark(), -1);
    QVERIFY(pace.figure()->isHidden() && !f.w->notice->isHidden());
    // The ghost's run was broken off: finishing the text beats it.
    QVERIFY2(f.display().endsWith(QStringLiteral("ペース○")), qPrintable(f.display()));
}

// The whole way round with the real history: a run kept with its keys, then raced.
void TstPace::raceTheLastRunKept() {
    Fixture f;
    f.w->setHistory(&f.w->history());
    f.w->history().setSetting(kPaceModeSetting, QStringLiteral("last"));
    f.load("ab\n");
    TMemo* memo = f.w->Memo;
    f.start();
    const qint64 t0 = f.env.platform.now;
    f.env.platform.now = t0 + 200;
    typeChar(memo, 'a');
    f.env.platform.now = t0 + 900;
    typeChar(memo, 'b');
    f.tick(); // the run's first second
    keys::tap(memo, keys::Enter);
    QVERIFY(!f.ex().practiceRunning());
    QCOMPARE(f.w->history().runCount(), 1);

    PaceRunner& pace = f.w->pace();
    f.start();
    QVERIFY(pace.running() && pace.ghost()->replaying());
    const qint64 t1 = f.env.platform.now;
    for (const auto& [ms, mark] : {std::pair{100, 0}, {500, 1}, {950, 2}}) {
        f.env.platform.now = t1 + ms;
        pace.tick();
        QCOMPARE(memo->paceMark(), mark);
    }
}

void TstPace::figuresAsWithoutThePace_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("strokes");
    QTest::newRow("target") << "target" << QByteArray();
    QTest::newRow("best") << "best" << keystrokes::encode(kPausing);
    QTest::newRow("last, damaged") << "last" << QByteArray("\x01\x80", 2);
}

// The same keys at the same times with and without the pace: the record, the prompt
// and the history's run are the same but for the verdict.
void TstPace::figuresAsWithoutThePace() {
    QFETCH(QString, mode);
    QFETCH(QByteArray, strokes);
    struct Outcome {
        QByteArray record;
        QString prompt;
        HistoryRun run;
    };
    const auto race = [](const QString& pace, const QByteArray& kept) {
        Fixture f;
        PaceHistory history;
        history.settings[kPaceModeSetting] = pace;
        history.settings[kPaceTargetSetting] = QStringLiteral("30");
        history.best = history.last = kept;
        f.w->setHistory(&history);
        f.load("ab Cd\nef\n");
        f.start();
        const char* keys = "abx Cd\nef\n";
        for (int i = 0; keys[i]; ++i) {
            f.env.platform.now += 120 + 40 * i;
            if (i % 3 == 2) f.tick();
            keys[i] == '\n' ? keys::tap(f.w->Memo, keys::Enter) : typeChar(f.w->Memo, keys[i]);
        }
        const QList<HistoryRun> runs = f.w->history().lastRuns(1);
        return Outcome{f.rec().toBytes(), f.display(), runs.value(0)};
    };
    const Outcome plain = race(QStringLiteral("off"), {});
    const Outcome paced = race(mode, strokes);
    QCOMPARE(paced.record, plain.record);
    QVERIFY2(paced.prompt.startsWith(plain.prompt) && paced.prompt != plain.prompt,
             qPrintable(paced.prompt));
    QCOMPARE(plain.run.misses, 1);
    const auto figures = [](const HistoryRun& r) {
        return std::tuple{r.keys, r.misses, r.seconds, r.speed, r.completed};
    };
    QVERIFY(figures(paced.run) == figures(plain.run));
}

QTEST_MAIN(TstPace)
#include "tst_pace.moc"
