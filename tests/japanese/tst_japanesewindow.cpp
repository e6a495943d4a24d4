// A Japanese run through the main window: the tool button, the file dialog, real key
// events in two romaji spellings and with the kana keys, the kana legends and the
// speeds at the end, the pane on a long phrase and the guide's colour.
#include "../practice/Fixture.h"
#include "../practice/TypingKeys.h"

#include "GuideColor.h"

#include <QDir>
#include <QScrollBar>
#include <QTest>

namespace {

const QByteArray kText = "しゃしんを　とった。\n\nラーメン、おいしい！\n";

// The X keycode of a key by its virtual-key code.
quint32 xkeyOfVk(int vk) {
    static const std::pair<int, quint32> punct[] = {
        {186, keys::Colon},  {187, keys::Semicolon}, {188, keys::Comma}, {189, keys::Minus},
        {190, keys::Period}, {191, keys::Slash},     {192, keys::At},    {219, keys::BracketL},
        {220, keys::Yen},    {221, keys::BracketR},  {222, keys::Caret}, {226, keys::Ro}};
    for (const auto& [code, xkey] : punct)
        if (code == vk) return xkey;
    return keys::xkeyOf(char(vk));
}

void typeKana(QWidget* w, const QList<int>& vks) { // -vk: with Shift
    for (int k : vks) {
        if (k < 0) keys::press(w, keys::ShiftL, Qt::ShiftModifier);
        keys::tap(w, xkeyOfVk(qAbs(k)), k < 0 ? Qt::ShiftModifier : Qt::NoModifier);
        if (k < 0) keys::release(w, keys::ShiftL, Qt::NoModifier);
    }
}

} // namespace

class TestJapaneseWindow : public QObject {
    Q_OBJECT
private slots:
    void romajiInTwoSpellings() {
        Fixture f;
        f.env.writeFile(QStringLiteral("j.txt"), kText);
        const QString folder = QDir::currentPath();
        for (const char* spelling :
             {"shashinwototta.ra-men,oishii!", "syasinnwotoltuta.ra-menn,oisii!"}) {
            f.env.platform.files.push_back(f.env.path(QStringLiteral("j.txt")));
            f.w->btnJapanese->click();
            QVERIFY(f.w->japanese().running());
            QCOMPARE(f.display(), QStringLiteral("しゃしんを"));
            QVERIFY(!f.w->btnJapanese->isEnabled());
            f.tick(3);
            for (const char* c = spelling; *c; ++c) typeChar(f.w.get(), *c);
            QVERIFY(!f.w->japanese().running()); // typed to its end, it stopped
            QCOMPARE(f.rec().runMisses, 0u);
            // The last phrase stays in the pane with nothing left, the bar full.
            QCOMPARE(f.w->Memo->toPlainText(), QStringLiteral("おいしい!　"));
            QCOMPARE(f.w->Bar1->value(), f.w->Bar1->maximum());
            QVERIFY(f.w->btnJapanese->isEnabled());
            QCOMPARE(f.display(), QString::asprintf("%.1fキー/秒 %.0fかな/分",
                                                    std::strlen(spelling) / 3.0, 19 * 20.0));
        }
        QCOMPARE(f.rec().typedTotal, quint32(29 + 31));
        QCOMPARE(f.env.platform.fileFilters.last(), QStringLiteral("日本語テキスト(*.txt)"));
        QCOMPARE(QDir::currentPath(), folder);
    }

    void runFiguresForTheHistory() {
        Fixture f;
        RunSummary run;
        f.w->japanese().runSink = [&run](const RunSummary& r) { run = r; };
        f.env.writeFile(QStringLiteral("j.txt"), kText);
        f.env.platform.files.push_back(f.env.path(QStringLiteral("j.txt")));
        f.w->btnJapanese->click();
        f.tick(3); // the learner settles in: the first key has no time of its own
        typeChar(f.w.get(), 'q');
        for (const char c : QByteArray("shashinwototta.ra-men,oishii!")) {
            f.env.platform.now += c == 'r' ? 2500 : 100; // nor has a key after a pause
            typeChar(f.w.get(), c);
        }
        QList<qint64> got{
            run.completed, run.keys, run.misses, qint64(run.confusions.size()), 0, 0, 0, 0};
        for (const auto& [vk, k] : run.perKey) {
            got[4] += k.expected;
            got[5] += k.missed;
            got[6] += k.timed;
            got[7] += k.msTotal;
        }
        QCOMPARE(got, (QList<qint64>{1, 29, 1, 1, 29, 1, 27, 2700}));
        // Every key in order, the wrong q first; even but for the pause, which is left out.
        QCOMPARE(run.keystrokes.size(), 30u);
        QCOMPARE(run.keystrokes[0], (Keystroke{run.keystrokes[0].ms, 'Q', false, false}));
        QCOMPARE(run.rhythm, std::optional<double>(100));
        QVERIFY2(f.display().endsWith(QStringLiteral("リズム100")), qPrintable(f.display()));
    }

    void kanaKeysWithLegends() {
        Fixture f;
        f.env.writeFile(QStringLiteral("j.txt"), kText);
        f.w->japanese().setKanaInput(true);
        f.env.platform.files.push_back(f.env.path(QStringLiteral("j.txt")));
        f.w->btnJapanese->click();
        TPanel* t = f.w->keyboard().table['T'].panel;
        TPanel* seven = f.w->keyboard().table['7'].panel;
        QCOMPARE(t->caption(), QStringLiteral("か"));
        QCOMPARE(seven->caption(), QStringLiteral("や"));
        keys::press(f.w.get(), keys::ShiftL, Qt::ShiftModifier);
        QCOMPARE(seven->caption(), QStringLiteral("ゃ"));
        QCOMPARE(t->caption(), QStringLiteral("か"));
        keys::release(f.w.get(), keys::ShiftL, Qt::NoModifier);

        typeKana(f.w.get(), {'D', -'7', 'D', 'Y', -'0'}); // しゃしんを
        typeKana(f.w.get(), {'W'});                       // a mistype: て for と
        QCOMPARE(f.rec().runMisses, 1u);
        typeKana(f.w.get(), {'S', -'Z', 'Q', -190}); // とった。
        QCOMPARE(f.w->Memo->toPlainText(), QStringLiteral("ラーメン、　ラーメン、"));
        typeKana(f.w.get(), {'O', 220, 191, 'Y', -188, '6', 'E', 'D', 'E'}); // ラーメン、おいしい
        QVERIFY(!f.w->japanese().running()); // ！ has no kana key: the run ended
        QCOMPARE(t->caption(), QStringLiteral("T"));
        QCOMPARE(seven->caption(), QStringLiteral("7"));
    }

    void longPhraseKeepsTheNextKeyInView() {
        Fixture f;
        f.env.writeFile(
            QStringLiteral("l.txt"),
            QStringLiteral("ちいさなまちのはずれにあるふるいきっさてんでまっていた\n").toUtf8());
        f.env.platform.files.push_back(f.env.path(QStringLiteral("l.txt")));
        f.w->btnJapanese->click();
        for (const char* c = "chiisanamachinohazureni"; *c; ++c) typeChar(f.w.get(), *c);
        TMemo* pane = f.w->Memo;
        const QString shown = pane->toPlainText();
        QCOMPARE(shown.sliced(pane->caret()).left(3), QStringLiteral("aru"));
        QVERIFY(shown.startsWith(QStringLiteral("あるふるい")));
        QCOMPARE(pane->horizontalScrollBar()->value(), 0);
        QVERIFY(pane->cursorRect().right() < pane->viewport()->width() - 20);
    }

    void guideStandsOutOnEveryKeyColour_data() {
        QTest::addColumn<QList<quint32>>("fingers"); // none: the keys keep their face
        QTest::newRow("plain keys") << QList<quint32>{};
        QTest::newRow("white fingers") << QList<quint32>(9, 0x00FFFFFF);
        QTest::newRow("bright fingers")
            << QList<quint32>{0x0000A5FF, 0x00FF40FF, 0x0000E000, 0x00FFC800, 0x0000FFFF,
                              0x0000A5FF, 0x00FF40FF, 0x0000E000, 0x00808080};
        QTest::newRow("pale fingers")
            << QList<quint32>{0x00C0C0FF, 0x00C0FFC0, 0x00FFC0C0, 0x00C0FFFF, 0x00FFC0FF,
                              0x00FFFFC0, 0x00E0E0E0, 0x00C0C0C0, 0x00A0A0A0};
    }
    void guideStandsOutOnEveryKeyColour() {
        QFETCH(QList<quint32>, fingers);
        Fixture f;
        for (int i = 0; i < fingers.size(); ++i) f.rec().fingerColors[std::size_t(i)] = fingers[i];
        if (!fingers.isEmpty()) f.w->btnKeybord->click();
        f.rec().guideOn = true;
        f.env.writeFile(QStringLiteral("j.txt"), kText);
        f.env.platform.files.push_back(f.env.path(QStringLiteral("j.txt")));
        f.w->btnJapanese->click();
        TPanel* guide = f.w->keyboard().table['S'].panel; // shashin...
        for (const KeyEntry& e : f.w->keyboard().table)
            if (e.panel && e.panel != guide)
                QVERIFY2(colorDistance(toQColor(guide->color()), toQColor(e.panel->color())) > 180,
                         qPrintable(e.panel->objectName()));
    }

    void nothingToType() {
        Fixture f;
        f.env.writeFile(QStringLiteral("s.txt"), "\xE2\x98\x86\n");
        f.env.platform.files.push_back(f.env.path(QStringLiteral("s.txt")));
        f.w->btnJapanese->click();
        QVERIFY(!f.w->japanese().running());
        QCOMPARE(f.env.platform.messages.last(), QStringLiteral("練習できる文字がありません。"));
    }
};

QTEST_MAIN(TestJapaneseWindow)
#include "tst_japanesewindow.moc"
