#include "KeyTable.h"
#include "TPanel.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QtTest>

namespace {

// A panel of another class: it must never be taken for a key.
class TKeyPanel : public TPanel {
    Q_OBJECT
public:
    using TPanel::TPanel;
};

QString nameOf(const KeyEntry& e) {
    return e.panel ? e.panel->objectName() : QString();
}

} // namespace

class TestKeyTable : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void shiftCaptionKeys();
    void homeKeysCoverFortyKeys();
    void captionsThatAreNotKeys_data();
    void captionsThatAreNotKeys();
    void laterPanelWins();
    void listNeverOverflows();
};

void TestKeyTable::entries_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<char>("shifted");
    QTest::addColumn<char>("base");
    QTest::addColumn<char>("home");
    QTest::newRow("K") << 75 << "Panel33" << 'K' << 'k' << 'k';
    QTest::newRow("comma") << 188 << "Panel45" << '<' << ',' << 'k';
    QTest::newRow("8") << 56 << "Panel8" << '(' << '8' << 'k';
    QTest::newRow("1") << 49 << "K1" << '!' << '1' << 'a';
    QTest::newRow("0") << 48 << "Panel10" << '~' << '0' << ';';
    QTest::newRow("caret") << 222 << "Panel12" << '~' << '^' << ' ';
    QTest::newRow("yen") << 220 << "Panel13" << '|' << '\\' << ' ';
    QTest::newRow("ro") << 226 << "Panel48" << '_' << '_' << ' ';
    QTest::newRow("semicolon key") << 187 << "Panel35" << '+' << ';' << ';';
    QTest::newRow("colon key") << 186 << "Panel36" << '*' << ':' << ' ';
    QTest::newRow("minus") << 189 << "Panel11" << '=' << '-' << ' ';
    QTest::newRow("at") << 192 << "Panel24" << '`' << '@' << ' ';
    QTest::newRow("slash") << 191 << "Panel47" << '?' << '/' << ';';
    QTest::newRow("space") << 32 << "pnSP" << ' ' << ' ' << ' ';
    QTest::newRow("Esc") << 27 << "Panel51" << '\0' << '\0' << ' ';
    QTest::newRow("Tab") << 9 << "Panel52" << '\0' << '\0' << ' ';
    QTest::newRow("Lock") << 240 << "LockPB" << '\0' << '\0' << ' ';
    QTest::newRow("Shift is the right panel") << 16 << "ShiftRightPB" << '\0' << '\0' << ' ';
    QTest::newRow("Ctrl") << 17 << "CtrlPB" << '\0' << '\0' << ' ';
    QTest::newRow("Enter") << 13 << "Panel57" << '\0' << '\0' << ' ';
    QTest::newRow("BS") << 8 << "Panel55" << '\0' << '\0' << ' ';
    QTest::newRow("ASCII ';' has no key") << 59 << "" << ' ' << ' ' << ' ';
    QTest::newRow("lower-case code") << 107 << "" << ' ' << ' ' << ' ';
    QTest::newRow("F1") << 112 << "" << ' ' << ' ' << ' ';
}

void TestKeyTable::entries() {
    QFETCH(int, code);
    QFETCH(QString, panel);
    QFETCH(char, shifted);
    QFETCH(char, base);
    QFETCH(char, home);
    TestEnv env;
    TVelotapper w;
    const KeyEntry& e = w.keyboard().table[std::size_t(code)];
    QCOMPARE(nameOf(e), panel);
    QCOMPARE(e.shiftedChar, shifted);
    QCOMPARE(e.baseChar, base);
    QCOMPARE(e.homeKey, home);
}

void TestKeyTable::shiftCaptionKeys() {
    TestEnv env;
    TVelotapper w;
    const ShiftCaptionKeys& s = w.keyboard().shiftKeys;
    const QList<int> expected{49,  50,  51,  52,  53,  54,  55,  56,  57,  48,  189,
                              222, 220, 192, 219, 187, 186, 221, 188, 190, 191, 226};
    QList<int> got;
    for (int i = 0; i < s.count; ++i) got << s.codes[std::size_t(i)];
    QCOMPARE(got, expected);
}

void TestKeyTable::homeKeysCoverFortyKeys() {
    TestEnv env;
    TVelotapper w;
    int withHome = 0;
    int withPanel = 0;
    for (const KeyEntry& e : w.keyboard().table) {
        if (e.panel) ++withPanel;
        if (e.homeKey != ' ') {
            ++withHome;
            QVERIFY(e.panel);
        }
    }
    QCOMPARE(withHome, 40);
    QCOMPARE(withPanel, 56); // 48 characters, the space bar, 7 named keys
}

void TestKeyTable::captionsThatAreNotKeys_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("derived");
    QTest::newRow("lower-case letter") << "q" << false;
    QTest::newRow("two-byte character") << "Ｑ" << false;
    QTest::newRow("named key in lower case") << "esc" << false;
    QTest::newRow("named key with a blank") << "Esc " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("derived panel with a key caption") << "Q" << true;
}

void TestKeyTable::captionsThatAreNotKeys() {
    QFETCH(QString, caption);
    QFETCH(bool, derived);
    QWidget root;
    TPanel* p = derived ? new TKeyPanel(&root) : new TPanel(&root);
    p->setCaption(caption);
    KeyTable table;
    ShiftCaptionKeys keys;
    BuildKeyTable(&root, table, keys);
    for (const KeyEntry& e : table) QVERIFY(!e.panel);
    QCOMPARE(keys.count, 0);
}

void TestKeyTable::laterPanelWins() {
    QWidget root;
    auto* first = new TPanel(&root);
    first->setCaption("5");
    auto* holder = new TPanel(&root); // a container: its children come right after it
    auto* second = new TPanel(holder);
    second->setCaption("5");
    auto* third = new TPanel(&root);
    third->setCaption("A");
    KeyTable table;
    ShiftCaptionKeys keys;
    BuildKeyTable(&root, table, keys);
    QCOMPARE(table['5'].panel, second);
    QCOMPARE(table['5'].homeKey, 'f');
    QCOMPARE(table['A'].panel, third);
    QCOMPARE(keys.count, 2); // the digit is listed once per panel met
}

void TestKeyTable::listNeverOverflows() {
    QWidget root;
    for (int i = 0; i < 40; ++i) (new TPanel(&root))->setCaption(QString(QChar('0' + i % 10)));
    KeyTable table;
    ShiftCaptionKeys keys;
    keys.codes.fill(-1);
    BuildKeyTable(&root, table, keys);
    QCOMPARE(keys.count, ShiftCaptionKeys::kCapacity);
    QCOMPARE(keys.codes[29], qint32('9'));
}

QTEST_MAIN(TestKeyTable)
#include "tst_keytable.moc"
