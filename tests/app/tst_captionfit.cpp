// What the prompt and time panels and the text pane draw, at whatever scale the
// environment sets (CTest runs this at 100, 150 and 200 %).
#include "Fonts.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TVelotapper.h"
#include "TestEnv.h"
#include "TextBytes.h"

#include <QtTest>

namespace {

// Every byte a practice text or a drill can put into a prompt.
QStringList promptChars() {
    QStringList chars;
    for (int b = 0x21; b <= 0xDF; ++b)
        if (b <= 0x7E || b >= 0xA1) chars << byteText(char(b));
    return chars;
}

// The device-pixel box of what a caption adds to the empty panel.
QRect inkOf(TPanel* panel, const QString& caption) {
    panel->setCaption(QString());
    const QImage empty = panel->grab().toImage();
    panel->setCaption(caption);
    const QImage drawn = panel->grab().toImage();
    QRect ink;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) != empty.pixel(x, y)) ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class TestCaptionFit : public QObject {
    Q_OBJECT
private slots:
    void designFaces_data();
    void designFaces();
    void windowFaces();
    void captionsFit_data();
    void captionsFit();
    void paneShowsOneLine();
};

// The designs' families are drawn in the faces of the program's own dependency, whatever
// else the desktop installed (a desktop's monospace face has taller lines than the
// text pane holds).
void TestCaptionFit::designFaces_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("face");
    QTest::newRow("P gothic") << kPGothic << 12 << false << "IPAPGothic";
    QTest::newRow("P gothic bold") << kPGothic << 21 << true << "IPAPGothic";
    QTest::newRow("gothic") << kGothic << 13 << false << "IPAGothic";
    QTest::newRow("terminal") << kTerminal << 19 << false << "IPAGothic";
    QTest::newRow("terminal pane") << kTerminal << 23 << false << "IPAGothic";
    QTest::newRow("terminal bold") << kTerminal << 19 << true << "IPAGothic";
}

void TestCaptionFit::designFaces() {
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(QString, face);
    QCOMPARE(QFontInfo(designFont(family, pixels, bold)).family(), face);
}

// And so are every panel of the main window and its text pane.
void TestCaptionFit::windowFaces() {
    TestEnv env;
    TVelotapper w;
    for (const QWidget* c : w.findChildren<QWidget*>())
        if (qobject_cast<const TPanel*>(c) || c == w.Memo)
            QVERIFY2(
                QStringList({"IPAPGothic", "IPAGothic"}).contains(QFontInfo(c->font()).family()),
                qPrintable(c->objectName() + ": " + QFontInfo(c->font()).family()));
}

void TestCaptionFit::captionsFit_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<bool>("shrinks");
    QTest::addColumn<int>("inside"); // the panel's width less its bevels and border
    const auto each = [](const QString& before, const QString& after) {
        QStringList out;
        for (const QString& c : promptChars()) out << before + c + after;
        return out;
    };
    QTest::newRow("home prompt") << "Display" << QStringList{"フォームポジションにして下さい。"}
                                 << true << 291;
    QTest::newRow("key prompt") << "Display" << QStringList{"表示するキーを押して下さい"} << false
                                << 291;
    QTest::newRow("first key") << "Display" << each("次のキーは:[", "]です。") << false << 291;
    QTest::newRow("next key") << "Display" << each("次のキーは [", "]です。") << false << 291;
    QTest::newRow("line end") << "Display" << QStringList{"次のキーは [改行||空白]です。"} << false
                              << 291;
    QTest::newRow("drill") << "Display" << each("[", "] のキー.[Esc]で強制終了") << false << 291;
    QTest::newRow("speeds") << "Display"
                            << QStringList{"スピードは 0.0文字/秒 です",
                                           "スピードは 12.5文字/秒 です",
                                           "スピードは 999.9文字/秒 です"}
                            << false << 291;
    QTest::newRow("times") << "LCD" << QStringList{"00:00", "08:41", "59:59", "99:59"} << false
                           << 49;
}

void TestCaptionFit::captionsFit() {
    QFETCH(QString, panel);
    QFETCH(QStringList, captions);
    QFETCH(bool, shrinks);
    QFETCH(int, inside);
    TestEnv env;
    TVelotapper w;
    w.show();
    w.activateWindow(); // the bevels' colours follow the window's active state
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* p = w.findChild<TPanel*>(panel);
    const int design = p->font().pixelSize();
    const qreal dpr = p->devicePixelRatioF();
    const int margin = (p->width() - inside) / 2;
    // The inside in device pixels, less half a pixel of antialiasing each side.
    const QRectF room(margin * dpr - 0.5, 0, inside * dpr + 1, p->height() * dpr);
    for (const QString& caption : captions) {
        const QRect ink = inkOf(p, caption);
        QVERIFY2(!ink.isEmpty(), qPrintable(caption));
        QVERIFY2(room.contains(QRectF(ink)), qPrintable(caption + QString(" %1 %2 %3 %4 / %5 %6")
                                                                      .arg(ink.x())
                                                                      .arg(ink.y())
                                                                      .arg(ink.width())
                                                                      .arg(ink.height())
                                                                      .arg(room.x())
                                                                      .arg(room.width())));
        const int size = p->captionFont().pixelSize();
        QCOMPARE(size < design, shrinks);
        QCOMPARE(p->captionFont().family(), p->font().family());
        if (!shrinks) continue;
        // The next size up is the first that no longer fits.
        TPanel bigger(&w);
        bigger.setGeometry(p->geometry());
        bigger.setBevelInner(p->bevelInner());
        bigger.setBevelOuter(p->bevelOuter());
        bigger.setBorderWidth(p->borderWidth());
        QFont f = p->font();
        f.setPixelSize(size + 1);
        bigger.setFont(f);
        bigger.show();
        QVERIFY2(!room.contains(QRectF(inkOf(&bigger, caption))), qPrintable(caption));
    }
}

void TestCaptionFit::paneShowsOneLine() {
    // A pane holding two lines looks exactly like one holding the line in view.
    TestEnv env;
    TVelotapper w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TMemo* memo = w.Memo;
    memo->clearFocus();
    const auto shot = [memo](const QString& text, int caret) {
        memo->setPlainText(text);
        memo->setCaret(caret);
        if (caret) memo->followCaret();
        return memo->grab().toImage();
    };
    const QString first = QStringLiteral("Wq|gjy_ pqj"), second = QStringLiteral("ABHJT'|^[]");
    const QImage firstAlone = shot(first, 0), secondAlone = shot(second, 0);
    QCOMPARE(shot(first + "\n" + second, 0), firstAlone);
    QCOMPARE(shot(first + "\n" + second + "\n" + first, int(first.size()) + 1), secondAlone);
}

QTEST_MAIN(TestCaptionFit)
#include "tst_captionfit.moc"
