// Japanese text files: the three encodings, the e-text notation, phrases with their
// readings (with and without a dictionary) and how a run is cut from a file.
#include "ETextNotation.h"
#include "RunPreparer.h"
#include "TextDecoding.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

namespace {

QByteArray fixture(const char* name) {
    QFile f(QStringLiteral(JAPANESE_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

PreparedRun prepare(const QByteArray& bytes, ReadingSource& reader, TextPosition from = {}) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return RunPreparer(reader).prepare(buffer, from);
}

QStringList readings(const PreparedRun& run) {
    QStringList out;
    for (const Phrase& p : run.phrases) out << p.written + u'=' + p.reading;
    return out;
}

} // namespace

class TestJapaneseText : public QObject {
    Q_OBJECT
    MecabReader mecab_;
    MecabReader none_{"libvelotapper-no-such-library.so"};

private slots:
    void encodings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("encoding");
        QTest::newRow("UTF-8") << QByteArray("story-utf8.txt") << int(TextEncoding::Utf8);
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("story-utf8bom.txt") << int(TextEncoding::Utf8);
        QTest::newRow("Shift-JIS") << QByteArray("story-sjis.txt") << int(TextEncoding::ShiftJis);
        QTest::newRow("EUC-JP") << QByteArray("story-eucjp.txt") << int(TextEncoding::EucJp);
    }
    void encodings() {
        QFETCH(QByteArray, file);
        QFETCH(int, encoding);
        const QByteArray bytes = fixture(file.constData());
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(int(detectEncoding(bytes)), encoding);
        TextDecoder decoder(detectEncoding(bytes));
        QCOMPARE(decoder.decode(bytes), QString::fromUtf8(fixture("story-utf8.txt")));

        // Without a dictionary only what needs none is left: ruby and kana phrases.
        const PreparedRun run = prepare(bytes, none_);
        QVERIFY(run.dictionaryMissing);
        QCOMPARE(readings(run),
                 (QStringList{"坂=さか", "木の扉=きのとびら", "ねこがいた。=ねこがいた。"}));
    }

    void invalidBytesAreSkipped_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << int(TextEncoding::Utf8) << QByteArray("\xE3\x81\x82\xFF\xE3\x81")
                               << QStringLiteral("あ");
        QTest::newRow("Shift-JIS")
            << int(TextEncoding::ShiftJis) << QByteArray("\x82\xA0\xFF\x82\xA2\x82")
            << QStringLiteral("あい");
        QTest::newRow("EUC-JP") << int(TextEncoding::EucJp)
                                << QByteArray("\xA4\xA2\x80\xA4\xA4\xA4") << QStringLiteral("あい");
    }
    void invalidBytesAreSkipped() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(TextDecoder(TextEncoding(encoding)).decode(bytes), text);
    }

    void notation_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("pieces");
        QTest::newRow("kanji run") << "町の図書館《としょかん》へ"
                                   << "町の|図書館(としょかん)@2-12|へ";
        QTest::newRow("bar") << "古い｜木の扉《きのとびら》を"
                             << "古い|木の扉(きのとびら)@3-13|を";
        QTest::newRow("note dropped") << "見て［＃「見て」に傍点］いる"
                                      << "見て|いる";
        QTest::newRow("nested note") << "あ［＃注［＃内］］い"
                                     << "あ|い";
        QTest::newRow("open note kept") << "あ［＃い"
                                        << "あ［＃い";
        QTest::newRow("open ruby kept") << "空《そら"
                                        << "空《そら";
        QTest::newRow("katakana base") << "ガラス《がらす》"
                                       << "ガラス(がらす)@0-8";
    }
    void notation() {
        QFETCH(QString, line);
        QFETCH(QString, pieces);
        QStringList got;
        for (const NotationPiece& p : parseNotation(line)) {
            if (p.ruby.isEmpty())
                got << p.text;
            else
                got << QStringLiteral("%1(%2)@%3-%4")
                           .arg(p.text, p.ruby)
                           .arg(p.rawStart)
                           .arg(p.rawEnd);
        }
        QCOMPARE(got.join(u'|'), pieces);
    }

    void readingsFromTheDictionary() {
        if (!mecab_.available()) QSKIP("no MeCab dictionary installed");
        const PreparedRun run =
            prepare(QStringLiteral("東京は日本の首都を見た。\n").toUtf8(), mecab_);
        QCOMPARE(readings(run), (QStringList{"東京は=とうきょうは", "日本の=にっぽんの",
                                             "首都を=しゅとを", "見た。=みた。"}));
        QVERIFY(!run.dictionaryMissing);

        const QStringList story = readings(prepare(fixture("story-sjis.txt"), mecab_));
        QCOMPARE(story.first(), QStringLiteral("坂の上の=さかのうえの"));
        QVERIFY(story.contains(QStringLiteral("木の扉を=きのとびらを")));
        for (const QString& p : story) QVERIFY2(!p.contains(u'ル'), qPrintable(p));
    }

    void runsAreCutAndWrap() {
        QByteArray text;
        for (int i = 0; i < 45; ++i) text += "あいうえお。\n\n";
        PreparedRun run = prepare(text, none_);
        QCOMPARE(run.lines, 30);
        QCOMPARE(run.next, (TextPosition{30 * 20 - 1, 0})); // the blank line after the 30th
        run = prepare(text, none_, run.next);
        QCOMPARE(run.lines, 15);
        QCOMPARE(run.next, TextPosition{});

        // A long line is cut after 600 characters and taken up where it was left.
        const QByteArray line = QStringLiteral("かきくけこ、").repeated(150).toUtf8();
        run = prepare(line, none_);
        QCOMPARE(run.kana, 600);
        QCOMPARE(run.next, (TextPosition{0, 600}));
        run = prepare(line, none_, run.next);
        QCOMPARE(run.kana, 300);
        QCOMPARE(run.phrases.front().start, 600);
        QCOMPARE(TextPosition::fromString(TextPosition{12, 34}.toString()), (TextPosition{12, 34}));
    }

    void nothingToType() {
        QVERIFY(prepare("\xE2\x98\x86\xE2\x98\x86\n\n", none_).phrases.empty());
        QVERIFY(prepare(QByteArray(), none_).phrases.empty());
        // A remembered position past the end (the file shrank) starts from the top.
        QCOMPARE(prepare("\xE3\x81\x82\n", none_, {999, 3}).phrases.size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestJapaneseText)
#include "tst_japanesetext.moc"
