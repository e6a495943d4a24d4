#include "JisKeyCaps.h"
#include "KeyTranslate.h"

#include <QKeyEvent>
#include <QtTest>

namespace {

TranslatedKey translate(QEvent::Type type, quint32 xkey, int qtKey,
                        Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 keysym = 0) {
    const QKeyEvent e(type, qtKey, mods, xkey, keysym, 0);
    return translateKeyEvent(e);
}

} // namespace

class TestKeyTranslate : public QObject {
    Q_OBJECT
private slots:
    void characterKeysByScanCode_data();
    void characterKeysByScanCode();
    void otherKeysByScanCode_data();
    void otherKeysByScanCode();
    void qtKeyFallback_data();
    void qtKeyFallback();
    void unknownScanCodeFallsBack();
    void symbolOverrulesKeycode_data();
    void symbolOverrulesKeycode();
    void modifiers_data();
    void modifiers();
};

// The scan code decides, whatever symbol the system layout puts on the key.
void TestKeyTranslate::characterKeysByScanCode_data() {
    QTest::addColumn<quint32>("xkey");
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("vk");
    for (const auto& k : jis::kCharKeys) {
        QTest::addRow("%s jp", k.caption) << k.xkey << k.jpQtKey << int(k.vk);
        QTest::addRow("%s us", k.caption) << k.xkey << k.usQtKey << int(k.vk);
    }
    QTest::newRow("space") << quint32(65) << int(Qt::Key_Space) << 32;
}

void TestKeyTranslate::characterKeysByScanCode() {
    QFETCH(quint32, xkey);
    QFETCH(int, qtKey);
    QFETCH(int, vk);
    QCOMPARE(virtualKeyFromScanCode(xkey), vk);
    QCOMPARE(translate(QEvent::KeyPress, xkey, qtKey).code, vk);
    QCOMPARE(translate(QEvent::KeyRelease, xkey, qtKey).code, vk);
}

void TestKeyTranslate::otherKeysByScanCode_data() {
    QTest::addColumn<quint32>("xkey");
    QTest::addColumn<int>("vk");
    const struct {
        const char* name;
        quint32 xkey;
        int vk;
    } rows[] = {
        {"Esc", 9, 27},
        {"Tab", 23, 9},
        {"Eisu", 66, 240},
        {"Shift left", 50, 16},
        {"Shift right", 62, 16},
        {"Ctrl left", 37, 17},
        {"Ctrl right", 105, 17},
        {"Enter", 36, 13},
        {"keypad Enter", 104, 13},
        {"BS", 22, 8},
        {"Left", 113, 37},
        {"Up", 111, 38},
        {"Right", 114, 39},
        {"Down", 116, 40},
        {"Alt left", 64, 18},
        {"Alt right", 108, 18},
        {"Insert", 118, 45},
        {"Delete", 119, 46},
        {"Home", 110, 36},
        {"End", 115, 35},
        {"Page Up", 112, 33},
        {"Page Down", 117, 34},
        {"Henkan", 100, 28},
        {"Muhenkan", 102, 29},
        {"Hiragana/Katakana", 101, 242},
        {"Zenkaku/Hankaku", 49, 243},
        {"F11", 95, 122},
        {"F12", 96, 123},
    };
    for (const auto& r : rows) QTest::newRow(r.name) << r.xkey << r.vk;
    for (int i = 0; i < 10; ++i) QTest::addRow("F%d", i + 1) << quint32(67 + i) << 112 + i;
}

void TestKeyTranslate::otherKeysByScanCode() {
    QFETCH(quint32, xkey);
    QFETCH(int, vk);
    QCOMPARE(translate(QEvent::KeyPress, xkey, Qt::Key_unknown).code, vk);
}

// Without a scan code the symbol decides: the key of the JIS keyboard that types it,
// so the symbols of a us layout land on the JIS key carrying the same character.
void TestKeyTranslate::qtKeyFallback_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("vk");
    for (const auto& k : jis::kCharKeys)
        if (k.xkey != 97) QTest::addRow("jp %s", k.caption) << k.jpQtKey << int(k.vk);
    const struct {
        const char* name;
        int qtKey;
        int vk;
    } rows[] = {
        {"jp !", Qt::Key_Exclam, 49},
        {"jp \"", Qt::Key_QuoteDbl, 50},
        {"jp &", Qt::Key_Ampersand, 54},
        {"jp '", Qt::Key_Apostrophe, 55},
        {"jp )", Qt::Key_ParenRight, 57},
        {"jp =", Qt::Key_Equal, 189},
        {"jp ~", Qt::Key_AsciiTilde, 222},
        {"jp |", Qt::Key_Bar, 220},
        {"jp yen", Qt::Key_yen, 220},
        {"jp `", Qt::Key_QuoteLeft, 192},
        {"jp {", Qt::Key_BraceLeft, 219},
        {"jp +", Qt::Key_Plus, 187},
        {"jp *", Qt::Key_Asterisk, 186},
        {"jp }", Qt::Key_BraceRight, 221},
        {"jp <", Qt::Key_Less, 188},
        {"jp >", Qt::Key_Greater, 190},
        {"jp ?", Qt::Key_Question, 191},
        {"jp _", Qt::Key_Underscore, 226},
        {"jp Eisu", Qt::Key_Eisu_toggle, 240},
        {"jp Caps", Qt::Key_CapsLock, 240},
        {"jp Henkan", Qt::Key_Henkan, 28},
        {"jp Muhenkan", Qt::Key_Muhenkan, 29},
        {"jp Zenkaku", Qt::Key_Zenkaku_Hankaku, 243},
        {"jp Hiragana", Qt::Key_Hiragana_Katakana, 242},
        {"us [", Qt::Key_BracketLeft, 219},
        {"us ]", Qt::Key_BracketRight, 221},
        {"us \\", Qt::Key_Backslash, 220},
        {"us '", Qt::Key_Apostrophe, 55},
        {"us @", Qt::Key_At, 192},
        {"us ^", Qt::Key_AsciiCircum, 222},
        {"us (", Qt::Key_ParenLeft, 56},
        {"us :", Qt::Key_Colon, 186},
        {"Space", Qt::Key_Space, 32},
        {"Esc", Qt::Key_Escape, 27},
        {"Tab", Qt::Key_Tab, 9},
        {"Backtab", Qt::Key_Backtab, 9},
        {"Return", Qt::Key_Return, 13},
        {"Enter", Qt::Key_Enter, 13},
        {"Backspace", Qt::Key_Backspace, 8},
        {"Shift", Qt::Key_Shift, 16},
        {"Control", Qt::Key_Control, 17},
        {"Alt", Qt::Key_Alt, 18},
        {"Left", Qt::Key_Left, 37},
        {"Up", Qt::Key_Up, 38},
        {"Right", Qt::Key_Right, 39},
        {"Down", Qt::Key_Down, 40},
        {"Insert", Qt::Key_Insert, 45},
        {"Delete", Qt::Key_Delete, 46},
        {"Home", Qt::Key_Home, 36},
        {"End", Qt::Key_End, 35},
        {"PageUp", Qt::Key_PageUp, 33},
        {"PageDown", Qt::Key_PageDown, 34},
        {"F1", Qt::Key_F1, 112},
        {"F12", Qt::Key_F12, 123},
        {"no key", 0, 0},
    };
    for (const auto& r : rows) QTest::newRow(r.name) << r.qtKey << r.vk;
}

void TestKeyTranslate::qtKeyFallback() {
    QFETCH(int, qtKey);
    QFETCH(int, vk);
    QCOMPARE(virtualKeyFromQtKey(qtKey), vk);
    QCOMPARE(translate(QEvent::KeyPress, 0, qtKey).code, vk);
}

void TestKeyTranslate::unknownScanCodeFallsBack() {
    // A keycode no JIS keyboard sends, and one beyond the X range.
    QCOMPARE(virtualKeyFromScanCode(250), 0);
    QCOMPARE(virtualKeyFromScanCode(70000), 0);
    QCOMPARE(translate(QEvent::KeyPress, 250, Qt::Key_K).code, 'K');
    QCOMPARE(translate(QEvent::KeyPress, 70000, Qt::Key_Minus).code, 189);
    // A key the JIS keyboard lacks has a code but no panel.
    QCOMPARE(translate(QEvent::KeyPress, 0, Qt::Key_Launch0).code, 255);
}

// A keymap of its own (on-screen keyboards, remote desktops, key-injection tools)
// numbers its keys from 9 in the order it needs them: a symbol this JIS key never
// carries under jp or us means the keycode is no position. The JIS keyboard's own
// second symbols keep the position.
void TestKeyTranslate::symbolOverrulesKeycode_data() {
    QTest::addColumn<quint32>("xkey");
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<quint32>("keysym");
    QTest::addColumn<int>("vk");
    const struct {
        const char* name;
        quint32 xkey;
        int qtKey;
        quint32 keysym;
        int vk;
    } rows[] = {
        {"tool a as 9", 9, Qt::Key_A, 0x61, 'A'},
        {"tool x then a: x as 9", 9, Qt::Key_X, 0x78, 'X'},
        {"tool x then a: a as 10", 10, Qt::Key_A, 0x61, 'A'},
        {"tool yen as 9", 9, Qt::Key_yen, 0xa5, 220},
        {"tool _ as 10", 10, Qt::Key_Underscore, 0x5f, 226},
        {"tool q as 11", 11, Qt::Key_Q, 0x71, 'Q'},
        {"tool Shift as 12", 12, Qt::Key_Shift, 0xffe1, 16},
        {"tool symbol Qt lacks as 9", 9, 0, 0x1008ff99, 0},
        {"Caps Lock remapped to Esc", 66, Qt::Key_Escape, 0xff1b, 27},
        {"Esc", 9, Qt::Key_Escape, 0xff1b, 27},
        {"us Shift+2 is @", 11, Qt::Key_At, 0x40, 50},
        {"us Shift+0 is )", 19, Qt::Key_ParenRight, 0x29, 48},
        {"us Shift+^ key is +", 21, Qt::Key_Plus, 0x2b, 222},
        {"us Shift+: key is \"", 48, Qt::Key_QuoteDbl, 0x22, 186},
        {"us Zenkaku key is `", 49, Qt::Key_QuoteLeft, 0x60, 243},
        {"jp Alt+Zenkaku is Kanji", 49, Qt::Key_Kanji, 0xff21, 243},
        {"jp Shift+Eisu is Caps Lock", 66, Qt::Key_CapsLock, 0xffe5, 240},
        {"yen key giving yen", 132, Qt::Key_yen, 0xa5, 220},
        {"keypad 7 without Num Lock", 79, Qt::Key_Home, 0xff95, 103},
    };
    for (const auto& r : rows) QTest::newRow(r.name) << r.xkey << r.qtKey << r.keysym << r.vk;
}

void TestKeyTranslate::symbolOverrulesKeycode() {
    QFETCH(quint32, xkey);
    QFETCH(int, qtKey);
    QFETCH(quint32, keysym);
    QFETCH(int, vk);
    QCOMPARE(translate(QEvent::KeyPress, xkey, qtKey, Qt::NoModifier, keysym).code, vk);
    QCOMPARE(translate(QEvent::KeyRelease, xkey, qtKey, Qt::ShiftModifier, keysym).code, vk);
}

// On the Shift or Ctrl key's own event the key decides, whatever the modifiers say;
// on every other key the modifiers decide.
void TestKeyTranslate::modifiers_data() {
    QTest::addColumn<bool>("press");
    QTest::addColumn<quint32>("xkey");
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("ctrl");
    const auto none = Qt::KeyboardModifiers(Qt::NoModifier);
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);
    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const auto both = shift | ctrl;
    QTest::newRow("Shift down, state before") << true << quint32(50) << 0 << none << true << false;
    QTest::newRow("Shift up, state before") << false << quint32(50) << 0 << shift << false << false;
    QTest::newRow("right Shift down") << true << quint32(62) << 0 << none << true << false;
    QTest::newRow("Shift down by symbol")
        << true << quint32(0) << int(Qt::Key_Shift) << none << true << false;
    QTest::newRow("Shift up by symbol")
        << false << quint32(0) << int(Qt::Key_Shift) << shift << false << false;
    QTest::newRow("Ctrl down, state before") << true << quint32(37) << 0 << none << false << true;
    QTest::newRow("Ctrl up, state before") << false << quint32(37) << 0 << ctrl << false << false;
    QTest::newRow("right Ctrl down") << true << quint32(105) << 0 << none << false << true;
    QTest::newRow("Ctrl down with Shift held") << true << quint32(37) << 0 << shift << true << true;
    QTest::newRow("Shift up with Ctrl held") << false << quint32(50) << 0 << both << false << true;
    QTest::newRow("letter plain") << true << quint32(38) << 0 << none << false << false;
    QTest::newRow("letter with Shift") << true << quint32(38) << 0 << shift << true << false;
    QTest::newRow("letter with both") << false << quint32(38) << 0 << both << true << true;
    QTest::newRow("arrow with Ctrl") << true << quint32(116) << 0 << ctrl << false << true;
}

void TestKeyTranslate::modifiers() {
    QFETCH(bool, press);
    QFETCH(quint32, xkey);
    QFETCH(int, qtKey);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(bool, shift);
    QFETCH(bool, ctrl);
    const TranslatedKey k =
        translate(press ? QEvent::KeyPress : QEvent::KeyRelease, xkey, qtKey, mods);
    QCOMPARE(k.shift, shift);
    QCOMPARE(k.ctrl, ctrl);
}

QTEST_MAIN(TestKeyTranslate)
#include "tst_keytranslate.moc"
