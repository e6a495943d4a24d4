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
    void glyphIconDrawnAtAnyRatio_data();
    void glyphIconDrawnAtAnyRatio();
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

void TstHighDpi::glyphIconDrawnAtAnyRatio_data() {
    QTest::addColumn<int>("glyph");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<bool>("disabled");
    // Ratios other than the screen's: a window moved to a screen of another scale.
    QTest::newRow("tool 1") << int(Glyph::Tool) << 1.0 << false;
    QTest::newRow("tool 1.25") << int(Glyph::Tool) << 1.25 << false;
    QTest::newRow("exit 1.5 disabled") << int(Glyph::Exit) << 1.5 << true;
    QTest::newRow("start 1.75") << int(Glyph::Start) << 1.75 << false;
    QTest::newRow("start 2 disabled") << int(Glyph::Start) << 2.0 << true;
    QTest::newRow("keyboard 3") << int(Glyph::Keyboard) << 3.0 << false;
}

void TstHighDpi::glyphIconDrawnAtAnyRatio() {
    QFETCH(int, glyph);
    QFETCH(qreal, dpr);
    QFETCH(bool, disabled);
    TSpeedButton b;
    b.setGlyph(Glyph(glyph));
    QCOMPARE(b.iconSize(), QSize(16, 16));
    const auto mode = disabled ? QIcon::Disabled : QIcon::Normal;
    const QPixmap drawn = b.icon().pixmap(QSize(16, 16), dpr, mode);
    const QPixmap both = makeGlyph(Glyph(glyph), dpr);
    const int h = both.height();
    QCOMPARE(drawn.size(), QSize(h, h));
    QCOMPARE(drawn.devicePixelRatio(), dpr);
    QCOMPARE(normalized(drawn), normalized(both.copy(disabled ? h : 0, 0, h, h)));
    // Asking again at another ratio draws again, not from the last picture.
    const QPixmap again = b.icon().pixmap(QSize(16, 16), dpr * 2, mode);
    const int h2 = makeGlyph(Glyph(glyph), dpr * 2).height();
    QCOMPARE(again.size(), QSize(h2, h2));
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
