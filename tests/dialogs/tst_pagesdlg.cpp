#include "Drill.h"
#include "FakeHistory.h"
#include "GoalSection.h"
#include "MoreSettingsDlg.h"
#include "PracticeRecord.h"
#include "RecordFile.h"
#include "RunSounds.h"
#include "RunSpeech.h"
#include "SoundDlg.h"
#include "SpeechSection.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TestEnv.h"
#include "ZoomFile.h"
#include "ZoomSection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

namespace {

PracticeRecord newRecord() {
    PracticeRecord r;
    r.applyDefaults();
    return r;
}

TPanel* keyOf(TPagesDlg& dlg, QChar c) {
    for (TPanel* k : dlg.keys)
        if (k->caption() == QString(c)) return k;
    return nullptr;
}

// Shows the dialog as the main window's tool button does, acting inside it.
void run(TestEnv& env, TPagesDlg& dlg, const std::function<void()>& act) {
    env.platform.onDialog = [&](QDialog*) { act(); };
    env.platform.execDialog(&dlg);
    env.platform.onDialog = nullptr;
}

void closeBox(TPagesDlg& dlg) {
    QVERIFY(dlg.close());
}

} // namespace

class TestPagesDlg : public QObject {
    Q_OBJECT
private slots:
    void frameAndHints();
    void newRecordShowsZerosWhiteAndUntyped();
    void recordValues_data();
    void recordValues();
    void heatBands_data();
    void heatBands();
    void hoverDetails_data();
    void hoverDetails();
    void hoverOutsideKeys();
    void clearKeepsSettingsAndRestoresStoredLevel();
    void okStoresSettings_data();
    void okStoresSettings();
    void weakKeysSettingLivesInTheHistory();
    void courseTargetsLiveInTheHistory();
    void soundSettingsLiveInTheHistory();
    void moreSettingsKeptOnlyByOk();
    void speechAndZoomSections();
    void closeBoxDiscardsSettings();
    void escapeActsAsCloseBox();
    void okWhenTheSaveFails();
    void levelOutsideRangeChecksNone();
    void opensOnLastUsedPage();
    void pickerCancelChangesNothing();
    void thumbColourSetsEntryEightOnly();
    void pickerPreselectsLastChoice();
};

void TestPagesDlg::frameAndHints() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("各種設定・表示"));
    QCOMPARE(dlg.size(), QSize(367, 263));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QVERIFY(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(dlg.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(dlg.PageControl1->count(), 5);
    QCOMPARE(dlg.PageControl1->tabText(0), QStringLiteral("設定"));
    QCOMPARE(dlg.PageControl1->tabText(3), QStringLiteral("色設定"));
    QVERIFY(dlg.OKBtn->isDefault());
    QCOMPARE(dlg.OKBtn->geometry(), QRect(287, 2, 75, 25));

    run(env, dlg, [&] {
        QVERIFY(dlg.OKBtn->isVisible());
        QVERIFY(!dlg.CancelBtn->isVisible());
        QVERIFY(!dlg.HelpBtn->isVisible());
        // Enter works the default button.
        QTest::keyClick(&dlg, Qt::Key_Return);
        QVERIFY(!dlg.isVisible());
    });
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(env.readFile(QString::fromLatin1(kRecordFileName)), rec.toBytes());
    // Hints show on the records and colour pages and on the settings choices only.
    QVERIFY(dlg.TabSheet1->toolTip().isEmpty());
    QCOMPARE(dlg.TabSheet2->toolTip(), QStringLiteral("記録の表示を行います"));
    QVERIFY(dlg.TabSheet3->toolTip().isEmpty());
    QCOMPARE(dlg.TabSheet4->toolTip(), QStringLiteral("キーボードの色を設定します"));
    QCOMPARE(dlg.rbBegin->toolTip(), QStringLiteral("練習を初級レベルにします"));
    QCOMPARE(dlg.cb1line->toolTip(), QStringLiteral("キーボードの数字列の練習"));
    QVERIFY(dlg.GroupBox2->toolTip().isEmpty());
    for (TPanel* k : dlg.keys) QVERIFY(k->toolTip().isEmpty());

    // The design order decides the walk: the keys come row by row, K1 first.
    QCOMPARE(dlg.keys.front()->objectName(), QStringLiteral("K1"));
    QCOMPARE(dlg.keys[13]->objectName(), QStringLiteral("Panel26"));
    QCOMPARE(dlg.keys.back()->caption(), QStringLiteral("_"));
    QCOMPARE(dlg.keys.back()->geometry(), QRect(48 + 240, 88, 25, 29));
}

void TestPagesDlg::newRecordShowsZerosWhiteAndUntyped() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    for (TPanel* p : {dlg.pnFastTime, dlg.pnAvrTime, dlg.pnCurTime})
        QCOMPARE(p->caption(), QStringLiteral("0.00"));
    QCOMPARE(dlg.pnAllChar->caption(), QStringLiteral("0"));
    QCOMPARE(dlg.pnAllMissType->caption(), QStringLiteral("0"));
    for (TPanel* p : {dlg.pnA, dlg.pnS, dlg.pnD, dlg.pnF, dlg.pnSPl, dlg.pnSPr, dlg.pnJ, dlg.pnK,
                      dlg.pnL, dlg.pnP})
        QCOMPARE(p->color(), clWhite);
    for (TPanel* k : dlg.keys) QCOMPARE(k->color(), clBtnFace);
    // The one-character value panels are no keys.
    QCOMPARE(dlg.pnAllChar->color(), TColor(0x0080FFFF));
    QVERIFY(dlg.rbBegin->isChecked());
    QVERIFY(dlg.cbAline->isChecked());
    QVERIFY(!dlg.cbQline->isChecked() && !dlg.cbZline->isChecked() && !dlg.cb1line->isChecked());
    QVERIFY(dlg.rbGuideN->isChecked());
}

void TestPagesDlg::recordValues_data() {
    QTest::addColumn<float>("fastest");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("fastText");
    QTest::addColumn<QString>("typedText");
    QTest::newRow("two decimals") << 2.5f << 12345 << "2.50"
                                  << "12345";
    QTest::newRow("rounded") << 3.14159f << 0 << "3.14"
                             << "0";
    QTest::newRow("negative count") << 0.0f << -7 << "0.00"
                                    << "-7";
}

void TestPagesDlg::recordValues() {
    QFETCH(float, fastest);
    QFETCH(int, typed);
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    rec.fastestRate = fastest;
    rec.averageRate = 1.0f;
    rec.currentRate = 10.126f;
    rec.typedTotal = typed;
    rec.missTotal = 42;
    // A new showing picks up what changed in the record meanwhile.
    run(env, dlg, [] {});
    QTEST(dlg.pnFastTime->caption(), "fastText");
    QCOMPARE(dlg.pnAvrTime->caption(), QStringLiteral("1.00"));
    QCOMPARE(dlg.pnCurTime->caption(), QStringLiteral("10.13"));
    QTEST(dlg.pnAllChar->caption(), "typedText");
    QCOMPARE(dlg.pnAllMissType->caption(), QStringLiteral("42"));
}

void TestPagesDlg::heatBands_data() {
    QTest::addColumn<int>("tries");
    QTest::addColumn<int>("misses");
    QTest::addColumn<TColor>("color");
    QTest::newRow("not typed") << 0 << 0 << clBtnFace;
    QTest::newRow("misses without tries") << 0 << 2 << clBtnFace;
    QTest::newRow("no misses") << 7 << 0 << clWhite;
    QTest::newRow("just under 20 %") << 1000 << 199 << clWhite;
    QTest::newRow("exactly 20 %") << 5 << 1 << clAqua;
    QTest::newRow("just under 50 %") << 1000 << 499 << clAqua;
    QTest::newRow("exactly 50 %") << 2 << 1 << clYellow;
    QTest::newRow("just under 80 %") << 1000 << 799 << clYellow;
    QTest::newRow("exactly 80 %") << 5 << 4 << clRed;
    QTest::newRow("all missed") << 3 << 3 << clRed;
    QTest::newRow("ratio above 1") << 2 << 9 << clRed;
}

void TestPagesDlg::heatBands() {
    QFETCH(int, tries);
    QFETCH(int, misses);
    QFETCH(TColor, color);
    TestEnv env;
    PracticeRecord rec = newRecord();
    for (QChar c : QStringLiteral("A;\\_1")) rec.keyStats[c.unicode()] = {tries, misses};
    TPagesDlg dlg(rec);
    for (QChar c : QStringLiteral("A;\\_1")) QCOMPARE(keyOf(dlg, c)->color(), color);
    QCOMPARE(keyOf(dlg, 'B')->color(), clBtnFace);
    QCOMPARE(TPagesDlg::mistypeColor(tries, misses), color);
}

void TestPagesDlg::hoverDetails_data() {
    QTest::addColumn<QChar>("key");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("text");
    QTest::newRow("misses without tries") << QChar('A') << 65 << "A: 2/0(ミス/試験数)";
    QTest::newRow("backslash") << QChar('\\') << 92 << "\\: 2/0(ミス/試験数)";
    QTest::newRow("semicolon") << QChar(';') << 59 << ";: 2/0(ミス/試験数)";
    QTest::newRow("underscore") << QChar('_') << 95 << "_: 2/0(ミス/試験数)";
    QTest::newRow("digit") << QChar('1') << 49 << "1: 2/0(ミス/試験数)";
}

void TestPagesDlg::hoverDetails() {
    QFETCH(QChar, key);
    QFETCH(int, entry);
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        QCOMPARE(dlg.Disp->caption(), QStringLiteral("1/2"));
        // The counts are read at the moment of the movement.
        rec.keyStats[std::size_t(entry)] = {0, 2};
        QTest::mouseMove(keyOf(dlg, key), QPoint(5, 5));
        QTEST(dlg.Disp->caption(), "text");
        rec.keyStats[std::size_t(entry)] = {20, 3};
        QTest::mouseMove(keyOf(dlg, key), QPoint(6, 6));
        QCOMPARE(dlg.Disp->caption(), QString(key) + QStringLiteral(": 3/20(ミス/試験数)"));
    });
}

void TestPagesDlg::hoverOutsideKeys() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    const QString a = QStringLiteral("A: 0/0(ミス/試験数)");
    run(env, dlg, [&] {
        QTest::mouseMove(keyOf(dlg, 'A'), QPoint(5, 5));
        QCOMPARE(dlg.Disp->caption(), a);
        // The legend and the detail panel leave the text alone...
        QTest::mouseMove(dlg.TabSheet3->findChild<TPanel*>(QStringLiteral("Panel61")), {5, 5});
        QTest::mouseMove(dlg.Disp, QPoint(5, 5));
        QCOMPARE(dlg.Disp->caption(), a);
    });
    // ...and the text stays while the dialog is hidden and at the next opening.
    run(env, dlg, [&] {
        QCOMPARE(dlg.Disp->caption(), a);
        QTest::mouseMove(dlg.TabSheet3, QPoint(340, 20));
        QCOMPARE(dlg.Disp->caption(), QString());
    });
}

void TestPagesDlg::clearKeepsSettingsAndRestoresStoredLevel() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    rec.level = 1;
    rec.rowSet.include(rowZ);
    rec.guideOn = 1;
    rec.fingerColors[3] = clRed;
    rec.fastestRate = 4.5f;
    rec.typedTotal = 99;
    rec.missTotal = 9;
    rec.keyStats['A'] = {5, 4};
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        QVERIFY(dlg.rbSecond->isChecked());
        QCOMPARE(keyOf(dlg, 'A')->color(), clRed);
        dlg.rbSinner->click();
        dlg.cbAline->click();
        QTest::mouseClick(dlg.Clear, Qt::LeftButton);
        QVERIFY(dlg.rbSecond->isChecked());
        QVERIFY(dlg.cbAline->isChecked());
        QCOMPARE(dlg.pnFastTime->caption(), QStringLiteral("0.00"));
        QCOMPARE(dlg.pnAllChar->caption(), QStringLiteral("0"));
        QCOMPARE(keyOf(dlg, 'A')->color(), clBtnFace);
        QCOMPARE(dlg.pnF->color(), clRed);
        QTest::mouseMove(keyOf(dlg, 'A'), QPoint(5, 5));
        QCOMPARE(dlg.Disp->caption(), QStringLiteral("A: 0/0(ミス/試験数)"));
        closeBox(dlg);
    });
    // The reset stays in memory after the close box; the file is not written.
    QCOMPARE(rec.typedTotal, 0);
    QCOMPARE(rec.keyStats['A'].tries, 0);
    QCOMPARE(rec.level, 1);
    QVERIFY(rec.rowSet.contains(rowZ) && rec.guideOn);
    QVERIFY(!QFile::exists(env.path(kRecordFileName)));
}

void TestPagesDlg::okStoresSettings_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("guide");
    QTest::newRow("nothing changed") << "" << 0 << 0x02 << 0;
    QTest::newRow("all rows unchecked") << "A" << 0 << 0x00 << 0;
    QTest::newRow("all rows checked") << "QZ1" << 0 << 0x0F << 0;
    QTest::newRow("level and guide") << "3Y" << 2 << 0x02 << 1;
    QTest::newRow("intermediate, number row only") << "2A1" << 1 << 0x01 << 0;
}

void TestPagesDlg::okStoresSettings() {
    QFETCH(QString, clicks);
    TestEnv env;
    // A stale file is overwritten whole, even when nothing changed.
    env.writeFile(QString::fromLatin1(kRecordFileName), QByteArray(PracticeRecord::kSize, '\x55'));
    PracticeRecord rec = newRecord();
    rec.typedTotal = 77;
    TPagesDlg dlg(rec);
    int result = -1;
    env.platform.onDialog = [&](QDialog*) {
        for (QChar c : clicks) {
            switch (c.toLatin1()) {
            case '2':
                dlg.rbSecond->click();
                break;
            case '3':
                dlg.rbSinner->click();
                break;
            case 'A':
                dlg.cbAline->click();
                break;
            case 'Q':
                dlg.cbQline->click();
                break;
            case 'Z':
                dlg.cbZline->click();
                break;
            case '1':
                dlg.cb1line->click();
                break;
            case 'Y':
                dlg.rbGuideY->click();
                break;
            }
        }
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    };
    result = env.platform.execDialog(&dlg);
    QCOMPARE(result, int(QDialog::Accepted));
    QTEST(int(rec.level), "level");
    QTEST(int(rec.rowSet.bits), "rows");
    QTEST(int(rec.guideOn), "guide");
    const QByteArray file = env.readFile(QString::fromLatin1(kRecordFileName));
    QCOMPARE(file, rec.toBytes());
    QTEST(int(file.at(48)), "rows");
    QTEST(int(file.at(0)), "level");
}

void TestPagesDlg::weakKeysSettingLivesInTheHistory() {
    TestEnv env;
    PracticeRecord r = newRecord();
    TPagesDlg dlg(r);
    QVERIFY(!dlg.cbWeakKeys->isEnabled() && !dlg.cbWeakKeys->isChecked());
    FakeHistory h;
    h.settings[kWeakKeysSetting] = QStringLiteral("1");
    dlg.setHistory(&h);
    const auto okWith = [&](bool checked) {
        run(env, dlg, [&] {
            QVERIFY(dlg.cbWeakKeys->isEnabled());
            QCOMPARE(dlg.cbWeakKeys->isChecked(), h.settings.value(kWeakKeysSetting) == "1");
            dlg.cbWeakKeys->setChecked(checked);
            dlg.OKBtn->click();
        });
    };
    okWith(false);
    okWith(false); // unchanged: nothing written
    okWith(true);
    QCOMPARE(h.writes, QStringList({"drill.weakKeys=0", "drill.weakKeys=1"}));
    QCOMPARE(env.readFile(QStringLiteral("Velotap.bin")).size(), PracticeRecord::kSize);
}

void TestPagesDlg::courseTargetsLiveInTheHistory() {
    TestEnv env;
    PracticeRecord r = newRecord();
    TPagesDlg dlg(r);
    QVERIFY(!dlg.spCourseSpeed->isEnabled());
    FakeHistory h;
    h.settings[QStringLiteral("course.speed")] = QStringLiteral("200");
    h.settings[QStringLiteral("course.accuracy")] = QStringLiteral("7"); // out of reason
    dlg.setHistory(&h);
    run(env, dlg, [&] {
        QCOMPARE(dlg.spCourseSpeed->value(), 200);
        QCOMPARE(dlg.spCourseAccuracy->value(), 95);
        dlg.spCourseAccuracy->setValue(90);
        dlg.OKBtn->click();
    });
    QCOMPARE(h.writes, QStringList({"course.accuracy=90"}));
}

void TestPagesDlg::soundSettingsLiveInTheHistory() {
    TestEnv env;
    SoundDlg dlg;
    const auto run = [&](const std::function<void()>& act) {
        env.platform.onDialog = [&](QDialog*) { act(); };
        env.platform.execDialog(&dlg);
    };
    const auto shown = [&dlg] {
        return QList<int>{dlg.cbClickSound->isChecked(), dlg.cbMissSound->isChecked(),
                          dlg.cbEndSound->isChecked(), dlg.slVolume->value(),
                          dlg.cbMetronome->isChecked() ? dlg.spMetronome->value() : 0};
    };
    // Without a history: the defaults, silent, locked.
    QVERIFY(!dlg.settings->isEnabled());
    QCOMPARE(shown(), (QList<int>{0, 0, 0, 60, 0}));
    FakeHistory h;
    h.settings[kSoundVolumeSetting] = QStringLiteral("80");
    h.settings[kMetronomeSetting] = QStringLiteral("200");
    dlg.setHistory(&h);
    run([&] {
        QVERIFY(dlg.settings->isEnabled() && dlg.spMetronome->isEnabled());
        QCOMPARE(shown(), (QList<int>{0, 0, 0, 80, 200}));
        QCOMPARE(dlg.lbVolume->text(), QStringLiteral("80 %"));
        dlg.cbMissSound->click();
        dlg.slVolume->setValue(40);
        dlg.cbMetronome->click();
        QVERIFY(!dlg.spMetronome->isEnabled());
        dlg.OKBtn->click();
    });
    QCOMPARE(h.writes, QStringList({"sound.miss=1", "sound.volume=40", "metronome.bpm=0"}));
    // Changed and closed: nothing kept, and the next opening shows what is kept.
    run([&] {
        dlg.cbClickSound->click();
        QVERIFY(dlg.close());
    });
    run([&] {
        QCOMPARE(shown(), (QList<int>{0, 1, 0, 40, 0}));
        dlg.OKBtn->click();
    });
    QCOMPARE(h.writes.size(), 3);
}

// The dialog behind その他の設定…, worked by its buttons and by keys.
void TestPagesDlg::moreSettingsKeptOnlyByOk() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    FakeHistory h;
    dlg.setHistory(&h);
    std::function<void(MoreSettingsDlg&, GoalSection&)> inside;
    env.platform.onDialog = [&](QDialog* d) {
        if (auto* more = qobject_cast<MoreSettingsDlg*>(d))
            inside(*more, *static_cast<GoalSection*>(more->section(QStringLiteral("gbGoal"))));
        else
            dlg.MoreBtn->click();
    };
    const auto open = [&](const std::function<void(MoreSettingsDlg&, GoalSection&)>& act) {
        inside = act;
        env.platform.execDialog(&dlg);
        return dlg.more->result();
    };
    const auto key = [](QWidget* w, Qt::Key k) {
        QTest::keyClick(w, k);
        return w->window()->focusWidget();
    };
    // Space turns the goal off and on, Tab goes on to the minutes, the arrows change
    // them, Enter is OK.
    QCOMPARE(open([&](MoreSettingsDlg& m, GoalSection& g) {
                 QCOMPARE(m.sections.first(), &g);
                 QVERIFY(g.cbGoal->isChecked() && g.spGoalMinutes->isEnabled());
                 QCOMPARE(g.spGoalMinutes->value(), 10);
                 g.cbGoal->setFocus();
                 key(g.cbGoal, Qt::Key_Space);
                 QVERIFY(!g.spGoalMinutes->isEnabled());
                 QCOMPARE(key(g.cbGoal, Qt::Key_Space), g.cbGoal);
                 QCOMPARE(key(g.cbGoal, Qt::Key_Tab), g.spGoalMinutes);
                 key(g.spGoalMinutes, Qt::Key_Up);
                 key(g.spGoalMinutes, Qt::Key_Up);
                 key(g.spGoalMinutes, Qt::Key_Return);
                 QVERIFY(!m.isVisible());
             }),
             int(QDialog::Accepted));
    QCOMPARE(h.writes, QStringList{"goal.minutes=12"});
    // Esc and Cancel keep nothing; the next opening shows what is kept.
    QCOMPARE(open([&](MoreSettingsDlg& m, GoalSection& g) {
                 QCOMPARE(g.spGoalMinutes->value(), 12);
                 g.spGoalMinutes->setValue(30);
                 g.cbGoal->setFocus();
                 QCOMPARE(key(g.cbGoal, Qt::Key_Tab), g.spGoalMinutes);
                 // Tab goes on to the next section, and from the last one to the buttons.
                 QVERIFY(m.sections.value(1)->isAncestorOf(key(g.spGoalMinutes, Qt::Key_Tab)));
                 m.OKBtn->setFocus();
                 QVERIFY(m.sections.last()->isAncestorOf(key(m.OKBtn, Qt::Key_Backtab)));
                 m.OKBtn->setFocus();
                 QCOMPARE(key(m.OKBtn, Qt::Key_Tab), m.CancelBtn);
                 key(m.CancelBtn, Qt::Key_Escape);
             }),
             int(QDialog::Rejected));
    open([&](MoreSettingsDlg& m, GoalSection& g) {
        QCOMPARE(g.spGoalMinutes->value(), 12);
        g.cbGoal->click();
        m.CancelBtn->click();
    });
    QCOMPARE(h.writes.size(), 1);
    // An opening left as it is writes nothing; off is kept as 0.
    open([&](MoreSettingsDlg& m, GoalSection&) { m.OKBtn->click(); });
    QCOMPARE(h.writes.size(), 1);
    open([&](MoreSettingsDlg& m, GoalSection& g) {
        g.cbGoal->click();
        m.OKBtn->click();
    });
    QCOMPARE(h.writes.last(), QStringLiteral("goal.minutes=0"));
    // A history that takes no writes shows what is kept, says why, and keeps nothing.
    h.locked = QStringLiteral("読み取り専用です");
    QCOMPARE(open([&](MoreSettingsDlg& m, GoalSection& g) {
                 QVERIFY(!g.cbGoal->isChecked() && !g.cbGoal->isEnabled());
                 QVERIFY(!g.spGoalMinutes->isEnabled());
                 QCOMPARE(g.toolTip(), h.locked);
                 g.cbGoal->setChecked(true);
                 m.OKBtn->click();
             }),
             int(QDialog::Accepted));
    QCOMPARE(h.writes.size(), 2);
}

void TestPagesDlg::closeBoxDiscardsSettings() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        dlg.rbSinner->click();
        dlg.cbZline->click();
        dlg.rbGuideY->click();
        closeBox(dlg);
    });
    QCOMPARE(rec.level, 0);
    QCOMPARE(int(rec.rowSet.bits), 0x02);
    QCOMPARE(int(rec.guideOn), 0);
    QVERIFY(!QFile::exists(env.path(kRecordFileName)));
    run(env, dlg, [&] {
        QVERIFY(dlg.rbBegin->isChecked());
        QVERIFY(!dlg.cbZline->isChecked());
        QVERIFY(dlg.rbGuideN->isChecked());
    });
}

void TestPagesDlg::escapeActsAsCloseBox() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    const QByteArray before = rec.toBytes();
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        dlg.rbSecond->click();
        dlg.cbQline->click();
        QTest::keyClick(dlg.cbQline, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
    });
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(rec.toBytes(), before);
    QVERIFY(!QFile::exists(env.path(kRecordFileName)));
}

void TestPagesDlg::okWhenTheSaveFails() {
    TestEnv env;
    QVERIFY(QDir(env.dir()).mkdir(kRecordFileName)); // no file can be opened there
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        dlg.rbSinner->click();
        dlg.rbGuideY->click();
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    });
    QCOMPARE(env.platform.messages,
             QStringList{QStringLiteral("タイムレコードがオープンできませんでした。")});
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(rec.level, 2);
    QCOMPARE(int(rec.guideOn), 1);
}

void TestPagesDlg::levelOutsideRangeChecksNone() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    rec.level = 5;
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        QVERIFY(!dlg.rbBegin->isChecked() && !dlg.rbSecond->isChecked() &&
                !dlg.rbSinner->isChecked());
        dlg.OKBtn->click();
    });
    QCOMPARE(rec.level, 5);
    QCOMPARE(env.readFile(QString::fromLatin1(kRecordFileName)).left(4),
             QByteArray("\x05\x00\x00\x00", 4));
}

void TestPagesDlg::opensOnLastUsedPage() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    run(env, dlg, [&] {
        QCOMPARE(dlg.PageControl1->currentWidget(), dlg.TabSheet3);
        dlg.PageControl1->setCurrentWidget(dlg.TabSheet4);
        closeBox(dlg);
    });
    run(env, dlg, [&] { QCOMPARE(dlg.PageControl1->currentWidget(), dlg.TabSheet4); });
}

void TestPagesDlg::pickerCancelChangesNothing() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    const QByteArray before = rec.toBytes();
    TPagesDlg dlg(rec);
    env.platform.colors = {std::nullopt};
    run(env, dlg, [&] { QTest::mouseClick(dlg.pnK, Qt::LeftButton); });
    QVERIFY(env.platform.colors.empty());
    QCOMPARE(rec.toBytes(), before);
    QCOMPARE(dlg.pnK->color(), clWhite);
}

void TestPagesDlg::thumbColourSetsEntryEightOnly() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    env.platform.colors = {clRed};
    run(env, dlg, [&] {
        QTest::mouseClick(dlg.pnSPr, Qt::LeftButton);
        closeBox(dlg);
    });
    QCOMPARE(dlg.pnSPl->color(), clRed);
    QCOMPARE(dlg.pnSPr->color(), clRed);
    for (std::size_t i = 0; i < 10; ++i) QCOMPARE(rec.fingerColors[i], i == 8 ? clRed : clWhite);
    // The colour survives the close box and shows again at the next opening.
    run(env, dlg, [&] { QCOMPARE(dlg.pnSPl->color(), clRed); });
}

void TestPagesDlg::pickerPreselectsLastChoice() {
    TestEnv env;
    PracticeRecord rec = newRecord();
    TPagesDlg dlg(rec);
    env.platform.colors = {clBlue, std::nullopt, clRed};
    run(env, dlg, [&] {
        QTest::mouseClick(dlg.pnK, Qt::LeftButton);
        QTest::mouseClick(dlg.pnA, Qt::LeftButton); // cancelled
        closeBox(dlg);
    });
    // A cancel leaves the last choice, and the choice outlives the showing.
    run(env, dlg, [&] { QTest::mouseClick(dlg.pnS, Qt::LeftButton); });
    QCOMPARE(env.platform.colorsOffered, (std::vector<TColor>{clBlack, clBlue, clBlue}));
    QCOMPARE(rec.fingerColors[5], clBlue);
    QCOMPARE(rec.fingerColors[0], clWhite);
    QCOMPARE(rec.fingerColors[1], clRed);
}

// The speech and zoom sections: what is kept fills them, OK keeps only what changed, the
// zoom reaches the file the next start reads, and the status line says why speech is not
// heard.
void TestPagesDlg::speechAndZoomSections() {
    TestEnv env;
    MoreSettingsDlg dlg;
    auto* speech = static_cast<SpeechSection*>(dlg.section(QStringLiteral("gbSpeech")));
    auto* zoom = static_cast<ZoomSection*>(dlg.section(QStringLiteral("gbZoom")));
    QVERIFY(speech && zoom);
    FakeHistory h;
    h.settings[kSpeechFollowSetting] = QStringLiteral("word");
    env.platform.speechTrouble = QStringLiteral("no server");
    dlg.setHistory(&h);
    QVERIFY(!speech->cbSpeech->isChecked() && speech->rbFollowWord->isChecked());
    QVERIFY(!speech->rbFollowKey->isEnabled() && zoom->rbZoom100->isChecked());
    QCOMPARE(speech->lbSpeechStatus->text(), QStringLiteral("no server"));
    speech->cbSpeech->click();
    QCOMPARE(env.platform.said, QStringList{"ja:この声で読み上げます。"});
    speech->rbFollowKey->click();
    zoom->rbZoom150->click();
    dlg.OKBtn->click();
    QCOMPARE(h.settings.value(kSpeechOnSetting), QStringLiteral("1"));
    QCOMPARE(h.settings.value(kSpeechFollowSetting), QStringLiteral("key"));
    QCOMPARE(h.settings.value(kZoomSetting), QStringLiteral("150"));
    QCOMPARE(keptZoom(), 150);
    zoom->rbZoom100->click();
    dlg.OKBtn->click();
    QCOMPARE(keptZoom(), 100);
    QVERIFY(!QFile::exists(QString::fromLatin1(kZoomFileName))); // the start reads nothing
}

QTEST_MAIN(TestPagesDlg)
#include "tst_pagesdlg.moc"
