#include "KeyTable.h"
#include "Keys.h"
#include "PracticeRecord.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The dialog as the user reaches it, through the main window's tool button, and the
// practice that follows it with the new settings.
class TestPagesScenario : public QObject {
    Q_OBJECT
private slots:
    void settingsSteerDrillAndExercise();
};

namespace {

quint32 xkeyOfDrillChar(char c) {
    if (c == ',') return keys::Comma;
    if (c == '.') return keys::Period;
    if (c == ';') return keys::Semicolon;
    return keys::xkeyOf(c);
}

} // namespace

void TestPagesScenario::settingsSteerDrillAndExercise() {
    TestEnv env;
    env.writeFile(QStringLiteral("Lesson1.txt"), "beginner\n");
    env.writeFile(QStringLiteral("Lesson3.txt"), "advanced\n");
    TVelotapper window;
    TPagesDlg pages(window.record(), &window);
    window.setPagesDlg([&](TVelotapper&) { return &pages; });
    window.show();

    // Advanced level, Q and Z rows only, guide on.
    env.platform.onDialog = [&](QDialog* d) {
        QCOMPARE(d, &pages);
        QVERIFY(pages.isVisible());
        QVERIFY(pages.rbBegin->isChecked());
        pages.rbSinner->click();
        pages.cbAline->click();
        pages.cbQline->click();
        pages.cbZline->click();
        pages.rbGuideY->click();
        QTest::mouseClick(pages.OKBtn, Qt::LeftButton);
    };
    QTest::mouseClick(window.btnTool, Qt::LeftButton);
    QCOMPARE(env.platform.dialogsRun, 1);
    QVERIFY(!pages.isVisible());

    QByteArray file = env.readFile(QStringLiteral("Velotap.bin"));
    QCOMPARE(file.size(), PracticeRecord::kSize);
    QCOMPARE(file.left(4), QByteArray("\x02\x00\x00\x00", 4));
    QCOMPARE(int(file.at(48)), 0x0C); // Q and Z rows
    QCOMPARE(int(file.at(49)), 1);    // guide on
    for (int i = 8; i < 48; i += 4) QCOMPARE(file.mid(i, 4), QByteArray("\xFF\xFF\xFF\x00", 4));
    QCOMPARE(file, window.record().toBytes());

    // The drill prompts only Q and Z row keys, each painted white as the guide.
    const QByteArray allowed = "QWERTYUIOPZXCVBNM,.";
    QByteArray prompts;
    QString lastCaption;
    quint32 held = 0;
    env.platform.onWait = [&](qint64 deadline) {
        if (deadline >= 0) return; // the start prompts
        env.platform.now += 300;
        const QString caption = window.Display->caption();
        if (caption == lastCaption) return;
        lastCaption = caption;
        const char c = char(caption.at(1).unicode());
        prompts += c;
        QVERIFY2(allowed.contains(c), caption.toUtf8());
        const TPanel* guide = window.keyboard().table[std::size_t(keyCodeOfChar(c))].panel;
        QVERIFY(guide);
        QCOMPARE(guide->color(), clWhite);
        if (held) keys::release(window.Memo, held);
        held = prompts.size() > 20 ? quint32(keys::Esc) : xkeyOfDrillChar(c);
        keys::press(window.Memo, held);
    };
    QTest::mouseClick(window.btnLesson, Qt::LeftButton);
    keys::release(window.Memo, held);
    QCOMPARE(prompts.size(), 21);
    file = env.readFile(QStringLiteral("Velotap.bin"));
    QCOMPARE(file, window.record().toBytes());
    QCOMPARE(window.record().typedTotal, 20);
    QCOMPARE(int(file.at(48)), 0x0C);

    // The exercise button takes the advanced lesson.
    env.platform.onWait = nullptr;
    QTest::mouseClick(window.btnExercise, Qt::LeftButton);
    QVERIFY(env.platform.messages.isEmpty());
    QVERIFY(window.exercise().practiceRunning());
    QCOMPARE(QByteArray(window.exercise().practiceText()).left(8), QByteArray("advanced"));
    QVERIFY(window.Memo->toPlainText().startsWith(QStringLiteral("advanced")));
    QTest::mouseClick(window.btnStop, Qt::LeftButton);
    QVERIFY(!window.exercise().practiceRunning());
}

QTEST_MAIN(TestPagesScenario)
#include "tst_pagesscenario.moc"
