#include "PracticeRecord.h"
#include "TPagesDlg.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The dialog as the user reaches it: through the main window's tool button.
class TestPagesScenario : public QObject {
    Q_OBJECT
private slots:
    void settingsReachTheFile();
};

void TestPagesScenario::settingsReachTheFile() {
    TestEnv env;
    TVelotapper window;
    TPagesDlg pages(window.record(), &window);
    window.setPagesDlg(&pages);
    window.show();

    env.platform.onDialog = [&](QDialog* d) {
        QCOMPARE(d, &pages);
        QVERIFY(pages.isVisible());
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

    const QByteArray file = env.readFile(QStringLiteral("Velotap.bin"));
    QCOMPARE(file.size(), PracticeRecord::kSize);
    QCOMPARE(file.left(4), QByteArray("\x02\x00\x00\x00", 4));
    QCOMPARE(int(file.at(48)), 0x0C); // Q and Z rows
    QCOMPARE(int(file.at(49)), 1);    // guide on
    for (int i = 8; i < 48; i += 4) QCOMPARE(file.mid(i, 4), QByteArray("\xFF\xFF\xFF\x00", 4));
    QCOMPARE(file, window.record().toBytes());
}

QTEST_MAIN(TestPagesScenario)
#include "tst_pagesscenario.moc"
