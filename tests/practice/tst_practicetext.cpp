#include "PracticeText.h"
#include "RunTally.h"

#include <QRandomGenerator>
#include <QtTest>

// The preparation of practice texts from file bytes, and the rhythm of a run's keys,
// without any window.
class TstPracticeText : public QObject {
    Q_OBJECT

private slots:
    void pieces_data();
    void pieces();
    void stopsAfterTheLineThatPassesTheLimit();
    void lineReadsAre2047Bytes();
    void sanitiseAndCount_data();
    void sanitiseAndCount();
    void badFiles_data();
    void badFiles();
    void feedInChunksMatchesWholeFile();
    void panePositions_data();
    void panePositions();
    void rhythm_data();
    void rhythm();
};

namespace {
QByteArray letters(int n, char c = 'x') {
    return QByteArray(n, c);
}
QByteArray lines(const QList<QByteArray>& pieces) {
    QByteArray out;
    for (const auto& p : pieces) out += p + "\r\n";
    return out.left(out.size() - 1);
}
} // namespace

void TstPracticeText::pieces_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty line adds nothing") << QByteArray("\nab\n") << lines({"ab"});
    QTest::newRow("one blank adds an empty line") << QByteArray(" \nab\n") << lines({"", "ab"});
    QTest::newRow("35 bytes ending in a blank") << letters(34) + " \n" << lines({letters(34), ""});
    QTest::newRow("30 + blank + 9") << letters(30) + " " + letters(9, 'y') + "\n"
                                    << lines({letters(30), letters(9, 'y')});
    QTest::newRow("blank right after 34 counts")
        << letters(34) + " " + letters(10, 'y') << lines({letters(34), letters(10, 'y')});
    QTest::newRow("80 letters without a blank")
        << letters(80) << lines({letters(34), letters(34), letters(12)});
    QTest::newRow("two leading blanks keep one") << QByteArray("  ab\n") << lines({" ab"});
    QTest::newRow("highest blank wins")
        << QByteArray("aaaa bbbb ") + letters(30, 'c') << lines({"aaaa bbbb", letters(30, 'c')});
    QTest::newRow("no final line break loses nothing")
        << QByteArray("one\ntwo") << lines({"one", "two"});
    QTest::newRow("CR LF is a line feed") << QByteArray("one\r\ntwo\r\n") << lines({"one", "two"});
    QTest::newRow("a lone CR stays in the line") << QByteArray("one\rtwo\n") << lines({"one\rtwo"});
    QTest::newRow("a CR at the very end stays") << QByteArray("ab\r") << lines({"ab\r"});
}

void TstPracticeText::pieces() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QCOMPARE(preparePracticeText(file), text);
}

void TstPracticeText::stopsAfterTheLineThatPassesTheLimit() {
    QByteArray file;
    for (int i = 0; i < 40; ++i) file += letters(30, char('a' + i % 26)) + "\n";
    const QByteArray text = preparePracticeText(file);
    // 32 bytes a line: 33 lines make 1056 > 1024, so the 34th is not read.
    QCOMPARE(text.size(), 33 * 32 - 1);
    QVERIFY(text.endsWith(letters(30, char('a' + 32 % 26)) + "\r"));

    TextCollector c;
    QVERIFY(!c.feed(file));
    QVERIFY(c.full());
    QCOMPARE(c.pane().size(), 1056);
}

void TstPracticeText::lineReadsAre2047Bytes() {
    // A 2050-byte line arrives as a read of 2047 bytes, which alone passes the
    // limit: its pieces end in 7 bytes (2047 = 60 * 34 + 7), not 10.
    const QByteArray file = letters(2050, 'a') + "\nxy\n";
    TextCollector c;
    QVERIFY(!c.feed(file));
    c.finish();
    const QList<QByteArray> got = c.pane().split('\n');
    QCOMPARE(got.size(), 62); // 61 pieces and the empty rest after the last break
    QCOMPARE(got[60], letters(7, 'a') + "\r");
    QCOMPARE(c.pane().size(), 2047 + 61 * 2);
}

void TstPracticeText::sanitiseAndCount_data() {
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("words");
    QTest::newRow("tab splits words") << QByteArray("abc\tdef") << QByteArray("abc def") << 2;
    QTest::newRow("DEL and controls") << QByteArray("a\x7f"
                                                    "b\x01"
                                                    "c\x1b")
                                      << QByteArray("a b c ") << 3;
    QTest::newRow("CR LF stay") << QByteArray("ab\r\ncd\r") << QByteArray("ab\r\ncd\r") << 2;
    QTest::newRow("Shift-JIS trail byte in 0x40-0x7E stays")
        << QByteArray("\x83\x41\x82\xa0") << QByteArray(" A  ") << 1;
    QTest::newRow("UTF-8 bytes all go") << QByteArray("\xe3\x81\x82!") << QByteArray("   !") << 1;
    QTest::newRow("only blanks") << QByteArray("   ") << QByteArray("   ") << 0;
    QTest::newRow("tilde is printable") << QByteArray("~ ~") << QByteArray("~ ~") << 2;
}

void TstPracticeText::sanitiseAndCount() {
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QFETCH(int, words);
    QByteArray text = in;
    sanitisePracticeText(text.data(), int(text.size()));
    QCOMPARE(text, out);
    QCOMPARE(countWords(text.constData(), int(text.size())), words);
}

void TstPracticeText::badFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("only blank lines") << QByteArray("\n\n\r\n\n") << QByteArray();
    QTest::newRow("NUL cuts the read") << QByteArray("ab\0cd\nef\n", 9) << lines({"ab", "ef"});
    QTest::newRow("NUL first") << QByteArray("\0abc\n", 5) << QByteArray();
    QTest::newRow("CR only") << QByteArray("ab\rcd\r") << lines({"ab\rcd\r"});
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << lines({"a", "b", "c\rd"});
    QTest::newRow("one MiB without a blank") << letters(1 << 20) << QByteArray();
}

void TstPracticeText::badFiles() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    const QByteArray got = preparePracticeText(file);
    QVERIFY(got.size() < 4096);
    for (const char c : got) QVERIFY(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F));
    if (file.size() == (1 << 20)) {
        // Line reads of 2047 bytes, 34-byte pieces: stops after the first read.
        QCOMPARE(got.count("\r\n"), 61 - 1);
        QVERIFY(got.endsWith(letters(7) + "\r"));
    } else {
        QCOMPARE(got, text);
    }
}

void TstPracticeText::feedInChunksMatchesWholeFile() {
    // CR LF pairs split across reads of the file must read as one line feed.
    QRandomGenerator rng(7);
    for (int round = 0; round < 50; ++round) {
        QByteArray file;
        const int n = int(rng.bounded(3000));
        for (int i = 0; i < n; ++i) {
            static const char alphabet[] = "ab \r\n\r\n\t\0";
            file += alphabet[rng.bounded(int(sizeof alphabet - 1))];
        }
        TextCollector chunked;
        for (qsizetype at = 0; at < file.size();) {
            const qsizetype len = qMin<qsizetype>(1 + rng.bounded(5), file.size() - at);
            chunked.feed(QByteArrayView(file).sliced(at, len));
            at += len;
        }
        chunked.finish();
        QByteArray text = practiceTextOf(chunked.pane());
        sanitisePracticeText(text.data(), int(text.size()));
        QCOMPARE(text, preparePracticeText(file));
    }
}

void TstPracticeText::panePositions_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("bytePos");
    QTest::addColumn<int>("panePos");
    QTest::newRow("start") << QByteArray("ab\r\ncd\r") << 0 << 0;
    QTest::newRow("at the CR") << QByteArray("ab\r\ncd\r") << 2 << 2;
    QTest::newRow("after a line end") << QByteArray("ab\r\ncd\r") << 4 << 3;
    QTest::newRow("after two") << QByteArray("a\r\nb\r\nc\r") << 6 << 4;
    QTest::newRow("past the end") << QByteArray("ab\r\ncd\r") << 8 << 7;
    QTest::newRow("lone CR is one") << QByteArray("a\rb\r\nc\r") << 5 << 4;
}

void TstPracticeText::panePositions() {
    QFETCH(QByteArray, text);
    QFETCH(int, bytePos);
    QFETCH(int, panePos);
    QCOMPARE(panePosition(text.constData(), bytePos), panePos);
}

void TstPracticeText::rhythm_data() {
    // Times since the run began; "x" marks a wrong key. -1: no rhythm.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<double>("score");
    QTest::newRow("even") << "0 250 500 750" << 100.0;
    QTest::newRow("100 and 300: sigma half the mean") << "0 100 400" << 50.0;
    QTest::newRow("a pause left out") << "0 200 400 2401 2601" << 100.0;
    QTest::newRow("2 s still typing") << "0 2000 4000" << 100.0;
    QTest::newRow("wrong keys between right ones") << "0 x50 200 x390 400" << 100.0;
    QTest::newRow("wrong keys alone") << "x0 x100 x200 x300" << -1.0;
    QTest::newRow("one interval") << "0 300" << -1.0;
    QTest::newRow("two intervals, one a pause") << "0 300 2400" << -1.0;
    QTest::newRow("no time between keys") << "0 0 0" << -1.0;
    QTest::newRow("uneven past zero") << "0 1 2 3 1903" << 0.0;
}

void TstPracticeText::rhythm() {
    QFETCH(QString, keys);
    QFETCH(double, score);
    std::vector<Keystroke> strokes;
    for (const QString& k : keys.split(u' '))
        strokes.push_back(
            {(k.startsWith(u'x') ? k.mid(1) : k).toLongLong(), 65, false, !k.startsWith(u'x')});
    const std::optional<double> got = RunTally::rhythm(strokes);
    QCOMPARE(got.has_value(), score >= 0);
    if (got) QVERIFY2(qAbs(*got - score) < 0.01, qPrintable(QString::number(*got)));
}

QTEST_GUILESS_MAIN(TstPracticeText)
#include "tst_practicetext.moc"
