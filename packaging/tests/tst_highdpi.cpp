// The main window under a display scale (QT_SCALE_FACTOR from the test's
// environment): the tool-button glyphs must be drawn at the screen's pixel ratio,
// not drawn small and stretched, and the window and its panels keep their design
// sizes in logical pixels.
#include "Glyphs.h"
#include "TAboutBox.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QtTest>

namespace {

qreal expectedRatio() {
    bool ok = false;
    const qreal f = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? f : 1.0;
}

QImage normalized(const QPixmap& pm) {
    return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TstHighDpi : public QObject {
    Q_OBJECT
private slots:
    void windowTakesTheScale();
    void glyphsAtScreenResolution_data();
    void glyphsAtScreenResolution();
    void aboutPictureAtScreenResolution();
    void panelsKeepDesignSizes();
};

void TstHighDpi::windowTakesTheScale() {
    TestEnv env;
    TVelotapper w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.devicePixelRatioF(), expectedRatio());
    QCOMPARE(w.size(), QSize(370, 240));
    const QPixmap shot = w.grab();
    QCOMPARE(shot.size(), (QSizeF(370, 240) * expectedRatio()).toSize());
}

void TstHighDpi::glyphsAtScreenResolution_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("glyph");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("tool") << "btnTool" << int(Glyph::Tool) << true;
    QTest::newRow("lesson") << "btnLesson" << int(Glyph::Lesson) << true;
    QTest::newRow("exercise") << "btnExercise" << int(Glyph::Exercise) << true;
    QTest::newRow("file") << "btnFile" << int(Glyph::File) << true;
    QTest::newRow("keyboard") << "btnKeybord" << int(Glyph::Keyboard) << true;
    QTest::newRow("exit") << "btnExit" << int(Glyph::Exit) << true;
    QTest::newRow("about") << "btnAbout" << int(Glyph::About) << true;
    QTest::newRow("start") << "btnStart" << int(Glyph::Start) << true;
    QTest::newRow("stop, disabled at start") << "btnStop" << int(Glyph::Stop) << false;
}

void TstHighDpi::glyphsAtScreenResolution() {
    QFETCH(QString, button);
    QFETCH(int, glyph);
    QFETCH(bool, enabled);
    TestEnv env;
    TVelotapper w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* b = w.findChild<TSpeedButton*>(button);
    QVERIFY(b);
    QCOMPARE(b->isEnabled(), enabled);
    QCOMPARE(b->iconSize(), QSize(16, 16));

    const qreal dpr = w.devicePixelRatioF();
    const QPixmap drawn =
        b->icon().pixmap(b->iconSize(), dpr, enabled ? QIcon::Normal : QIcon::Disabled);
    const QSize device = (QSizeF(16, 16) * dpr).toSize();
    QCOMPARE(drawn.size(), device);
    // The same picture as one drawn directly at this ratio: nothing was stretched.
    const QPixmap both = makeGlyph(Glyph(glyph), dpr);
    const QPixmap half =
        both.copy(enabled ? 0 : device.width(), 0, device.width(), device.height());
    QCOMPARE(normalized(drawn), normalized(half));
}

void TstHighDpi::aboutPictureAtScreenResolution() {
    TestEnv env;
    TVelotapper w;
    TAboutBox about(&w);
    const qreal dpr = expectedRatio();
    auto* b = about.findChild<TSpeedButton*>(QStringLiteral("SpeedButton1"));
    QVERIFY(b);
    QCOMPARE(b->iconSize(), QSize(44, 37));
    const QPixmap drawn = b->icon().pixmap(b->iconSize(), dpr);
    QCOMPARE(drawn.size(), (QSizeF(44, 37) * dpr).toSize());
    QCOMPARE(normalized(drawn), normalized(makeAboutPicture(dpr)));
}

void TstHighDpi::panelsKeepDesignSizes() {
    TestEnv env;
    TVelotapper w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Design sizes in logical pixels, whatever the scale; every panel inside its parent.
    QCOMPARE(w.findChild<TPanel*>(QStringLiteral("Display"))->geometry(), QRect(4, 28, 297, 29));
    QCOMPARE(w.findChild<TPanel*>(QStringLiteral("Panel57"))->geometry(), QRect(336, 124, 33, 57));
    QCOMPARE(w.pnSP->geometry(), QRect(144, 208, 73, 25));
    const auto panels = w.findChildren<TPanel*>();
    QVERIFY(panels.size() >= 55); // at least the 55 keys
    for (TPanel* p : panels) {
        const QRect inside = p->parentWidget()->rect();
        QVERIFY2(inside.contains(p->geometry()), qPrintable(p->objectName()));
    }
    // A raised key is drawn with its light bevel at the top left and its face
    // colour inside at every scale: the bevel scales with the panel.
    const QImage key = w.findChild<TPanel*>(QStringLiteral("Panel26"))->grab().toImage();
    const qreal dpr = expectedRatio();
    QCOMPARE(key.size(), (QSizeF(25, 29) * dpr).toSize());
    const QRgb light = w.palette().color(QPalette::Light).rgb();
    const QRgb dark = w.palette().color(QPalette::Dark).rgb();
    QCOMPARE(key.pixel(int(2 * dpr), int(2 * dpr)), light);
    QCOMPARE(key.pixel(key.width() - 1 - int(2 * dpr), key.height() - 1 - int(2 * dpr)), dark);
}

QTEST_MAIN(TstHighDpi)
#include "tst_highdpi.moc"
