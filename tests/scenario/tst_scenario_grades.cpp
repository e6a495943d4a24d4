#include "../practice/Fixture.h"
#include "../practice/TypingKeys.h"
#include "GradesPanel.h"
#include "ProgressPage.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

// A learner's first grades through the real main window, the real history and the
// progress page, with a fake clock: the first test typed to its end earns 20級, the
// ladder shows it and what 19級 needs, its certificate is saved and read back; the next
// test stopped early is not passed and takes nothing away.
class TstScenarioGrades : public QObject {
    Q_OBJECT

private slots:
    void firstGradesOfALearner();
};

namespace {

// Types the test's text for one second of the clock: `perSecond` characters, each
// `wrongEvery`-th preceded by a wrong key.
void typeFor(Fixture& f, int perSecond, int wrongEvery, int& typed) {
    const QByteArray text(f.ex().practiceText());
    for (int i = 0; i < perSecond && f.ex().practiceRunning(); ++i) {
        if (wrongEvery > 0 && ++typed % wrongEvery == 0) typeChar(f.w->Memo, '@');
        const char c = text[f.ex().cursorPos];
        if (c == '\r')
            keys::tap(f.w->Memo, keys::Enter);
        else
            typeChar(f.w->Memo, c);
    }
    f.tick();
}

QString cell(GradesPanel* p, int row, int column) {
    return p->table->item(row, column)->text();
}

} // namespace

void TstScenarioGrades::firstGradesOfALearner() {
    PracticeRecord start;
    start.applyDefaults();
    start.typedTotal = 1000;
    start.fastestRate = 3.0f;
    start.averageRate = 2.0f;
    start.currentRate = 1.0f;
    Fixture f(start.toBytes());
    f.w->setHistory(&f.w->history());
    QStringList prompts;
    f.env.platform.onWait = [&](qint64) { prompts << f.display(); };
    f.w->show();

    f.w->btnTest->click();
    QCOMPARE(prompts.value(0), grades::rulesLine(grades::Way::Letters, 0));
    QCOMPARE(f.ex().runMode(), QStringLiteral("test"));
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("01:00"));
    QVERIFY(!f.w->btnTest->isEnabled());
    // A character a second, every tenth after a fault, for the whole minute.
    const int perSecond = 1;
    int typed = 0;
    typeFor(f, perSecond, 10, typed);
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("00:59"));
    for (int s = 1; s < 60; ++s) {
        QVERIFY2(f.ex().practiceRunning(), qPrintable(QString::number(s)));
        typeFor(f, perSecond, 10, typed);
    }
    QVERIFY(!f.ex().practiceRunning());
    QCOMPARE(f.w->LCD->caption(), QStringLiteral("00:00"));
    QVERIFY2(f.display().startsWith(QStringLiteral("20級 合格 ")), qPrintable(f.display()));
    QVERIFY(f.w->btnTest->isEnabled());
    // The keys count in the record; the practice speeds are not a test's.
    QCOMPARE(f.rec().typedTotal, 1000 + f.ex().cursorPos);
    QCOMPARE(f.rec().fastestRate, 3.0f);
    QCOMPARE(f.rec().averageRate, 2.0f);
    QCOMPARE(f.rec().currentRate, 1.0f);
    QVERIFY(f.rec().keyStats[f.ex().practiceText()[0] & 0xFF].tries > 0);

    QList<HistoryTest> tests = f.w->history().testResults(QStringLiteral("letters"));
    QCOMPARE(tests.size(), 1);
    const TestResult won = tests[0].result;
    QVERIFY(won.passed);
    QCOMPARE(won.grade, 0);
    QCOMPARE(won.minutes, 1.0);
    // Sixty right, six faults at two characters each.
    QCOMPARE(std::pair(won.rightChars, won.faults), std::pair(60, 6));
    QCOMPARE(won.net, 48.0);
    QCOMPARE(won.textId, f.w->gradeTest().text().id);
    QCOMPARE(won.faults, int(f.w->history().lastRuns(1).value(0).misses));
    QCOMPARE(f.w->history().lastRuns(1).value(0).mode, QStringLiteral("test"));

    // The ladder: 20級 earned with its score, 19級 next with what it needs.
    ProgressPage page;
    page.setHistory(&f.w->history());
    page.show();
    page.findChild<QPushButton*>(QStringLiteral("btnGrades"))->click();
    GradesPanel* ladder = page.gradesView;
    QVERIFY(ladder->isVisible());
    QCOMPARE(cell(ladder, 0, 0), QStringLiteral("20級"));
    QCOMPARE(cell(ladder, 0, 5), QStringLiteral("◎"));
    QCOMPARE(cell(ladder, 0, 6).toInt(), int(std::lround(won.net)));
    QCOMPARE(cell(ladder, 1, 5), QStringLiteral("→"));
    QCOMPARE(ladder->next->text(), QStringLiteral("あと 2 字/分 で 19級"));

    // The certificate of the grade selected: the name asked once and kept.
    QVERIFY(!ladder->certificateBtn->isEnabled());
    ladder->table->selectRow(0);
    QVERIFY(ladder->certificateBtn->isEnabled());
    const QString pdf = f.env.path(QStringLiteral("cert.pdf"));
    f.env.platform.texts = {QStringLiteral("山田 花子")};
    f.env.platform.saveFiles = {pdf, QString()};
    ladder->certificateBtn->click();
    ladder->certificateBtn->click();
    QCOMPARE(f.env.platform.textPrompts.size(), 1);
    QCOMPARE(f.w->history().setting(QStringLiteral("learner.name")), QStringLiteral("山田 花子"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QFAIL("pdftotext (poppler-utils) is needed: scripts/deps.sh --test");
    QProcess read;
    read.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(read.waitForFinished(20000));
    const QString words = QString::fromUtf8(read.readAllStandardOutput());
    for (const QString& part : {QStringLiteral("山田 花子"), QStringLiteral("20級"),
                                QStringLiteral("%1 字/分").arg(std::lround(won.net)), won.textId})
        QVERIFY2(words.contains(part), qPrintable(part + QStringLiteral(" in ") + words));

    // The next test, 19級, stopped early: not passed, and 20級 stays earned.
    page.hide();
    f.w->btnTest->click();
    QCOMPARE(f.w->gradeTest().text().id.isEmpty(), false);
    for (int s = 0; s < 5; ++s) typeFor(f, perSecond, 0, typed);
    f.w->btnStop->click();
    QVERIFY(!f.ex().practiceRunning());
    QVERIFY2(f.display().startsWith(QStringLiteral("19級 不合格 ")), qPrintable(f.display()));
    tests = f.w->history().testResults(QStringLiteral("letters"));
    QCOMPARE(tests.size(), 2);
    QCOMPARE(tests[1].result.grade, 1);
    QVERIFY(!tests[1].result.passed);
    page.show();
    ladder->fill();
    QCOMPARE(cell(ladder, 0, 5), QStringLiteral("◎"));
    QCOMPARE(cell(ladder, 1, 5), QStringLiteral("→"));
    QCOMPARE(f.rec().fastestRate, 3.0f);
}

QTEST_MAIN(TstScenarioGrades)
#include "tst_scenario_grades.moc"
