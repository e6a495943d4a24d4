// Japanese text files: the three encodings, the e-text notation, phrases with their
// readings (with and without a dictionary), what is joined, repeated and left out,
// and how a run is cut from a file.
#include "ETextNotation.h"
#include "KanaText.h"
#include "RunPreparer.h"
#include "TextDecoding.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QTest>
#include <iconv.h>

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

// A file in memory that counts the bytes read from it.
struct CountingBuffer : QBuffer {
    qint64 bytesRead = 0;
    qint64 readData(char* data, qint64 n) override {
        const qint64 got = QBuffer::readData(data, n);
        bytesRead += qMax<qint64>(0, got);
        return got;
    }
};

QStringList readings(const PreparedRun& run) {
    QStringList out;
    for (const Phrase& p : run.phrases) out << p.written + u'=' + p.reading;
    return out;
}

QByteArray encode(const QString& text, const QByteArray& charset) {
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open(charset.constData(), "UTF-8");
    QByteArray out(utf8.size() * 2, Qt::Uninitialized);
    char* in = const_cast<char*>(utf8.constData());
    char* dst = out.data();
    std::size_t inLeft = std::size_t(utf8.size()), outLeft = std::size_t(out.size());
    iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.truncate(dst - out.data());
    return out;
}

// A dictionary of a few kanji: a run of kanji is one word, read only when it is listed
// whole; kana are particles and everything else punctuation.
class FakeDictionary : public ReadingSource {
public:
    bool available() override { return true; }
    std::vector<Morpheme> analyse(QStringView text) override {
        static const QHash<QString, QString> words{{"大", "ダイ"}, {"犬", "イヌ"}, {"来", "キ"}};
        std::vector<Morpheme> out;
        for (int i = 0; i < text.size();) {
            int end = i + 1;
            const bool kanji = kana::isKanji(text[i]);
            while (kanji && end < text.size() && kana::isKanji(text[end])) ++end;
            Morpheme m;
            m.surface = text.sliced(i, end - i).toString();
            m.reading = words.value(m.surface);
            m.pos1 = kanji ? "名詞" : kana::isHiragana(text[i]) ? "助詞" : "記号";
            m.start = i;
            m.end = end;
            out.push_back(m);
            i = end;
        }
        return out;
    }
};

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
        QCOMPARE(story.first(), QStringLiteral("一=いち")); // after the title block
        QCOMPARE(readings(prepare("1月1日と20年、\n", mecab_)),
                 (QStringList{"1月1日と=1がつ1にちと", "20年、=20ねん、"}));
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

    void detection_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        const QByteArray text = fixture("story-utf8.txt");
        QByteArray damaged = text;
        damaged[40] = '\xFF';
        damaged[400] = '\x80';
        QByteArray program("\x7F"
                           "ELF\x02\x01\x01");
        for (int i = 0; i < 400; ++i) program += QByteArray("\0\0\x10\x40\xD0\x61@pG@8\0", 12);
        QTest::newRow("UTF-8 with damaged bytes") << damaged << int(TextEncoding::Utf8);
        QTest::newRow("program") << program << int(TextEncoding::NotText);
        QTest::newRow("control bytes")
            << QByteArray(200, '\x03') + text << int(TextEncoding::NotText);
        QTest::newRow("empty") << QByteArray() << int(TextEncoding::Utf8);
    }
    void detection() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QCOMPARE(int(detectEncoding(bytes)), encoding);
        if (encoding == int(TextEncoding::NotText)) QVERIFY(prepare(bytes, mecab_).phrases.empty());
    }

    void longLinesKeepEveryCharacter_data() {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("head"); // puts a kana across the 64 KiB mark
        QTest::addColumn<int>("from");     // a column shortly before it
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << "ab" << 21'800;
        QTest::newRow("Shift-JIS") << QByteArray("CP932") << "a" << 32'700;
        QTest::newRow("EUC-JP") << QByteArray("EUC-JP") << "a" << 32'700;
    }
    void longLinesKeepEveryCharacter() {
        QFETCH(QByteArray, charset);
        QFETCH(QString, head);
        QFETCH(int, from);
        QString line = head;
        for (int i = 0; i < 40'000; ++i) line += QChar(char16_t(u'あ' + i % 80));
        QString typed;
        for (const Phrase& p : prepare(encode(line, charset), none_, {0, from}).phrases)
            typed += p.reading;
        QVERIFY(typed.size() > 300);
        QVERIFY(line.indexOf(typed, from) >= 0); // nothing lost at the piece boundary
    }

    void etextFrame() {
        const QByteArray text = "題名\n作者\n" + QByteArray(20, '-') + "\n記号の説明\n" +
                                QByteArray(20, '-') +
                                "\nほんぶん。\nおわり\n\n\n底本：ある本\n入力：だれか\n";
        QCOMPARE(readings(prepare(text, none_)),
                 (QStringList{"ほんぶん。=ほんぶん。", "おわり=おわり"}));
        CountingBuffer file; // a small file is read once: its encoding, frame and run alike
        file.setData(text);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(RunPreparer(none_).prepare(file, {}).phrases.size(), std::size_t(2));
        QCOMPARE(file.bytesRead, text.size());
    }

    void phrasesOfLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("phrases"); // written=reading, (n) for n phrases skipped
        QTest::newRow("iteration marks") << "たゞ、こゝろ、いろ〳〵、とき〴〵、スヾ"
                                         << "たゞ、=ただ、|こゝろ、=こころ、|いろ〳〵、=いろいろ、|"
                                            "とき〴〵、=ときどき、|スヾ=スズ";
        QTest::newRow("half-width katakana")
            << "ｶﾞｸｾｲ｡｢ﾊﾟﾝ､ｳﾞｨ･ｰ｣"
            << "ガクセイ。=ガクセイ。|「パン、=「パン、|ヴィ・ー」=ヴィ・ー」";
        QTest::newRow("kanji one by one") << "大犬が来た"
                                          << "大犬が=だいいぬが|来た=きた";
        QTest::newRow("kanji without reading") << "抱へ、犬が"
                                               << "抱へ、犬が=いぬが(1)";
        QTest::newRow("only unreadable") << "鬱"
                                         << "鬱=(1)";
        QTest::newRow("symbols lead the next phrase")
            << "「そうか。……わかった」★ほし→※"
            << "「そうか。=「そうか。|……わかった」★ほし→※=わかった」ほし";
        QTest::newRow("one-key fragments")
            << "( かっこ ) それは ね まって..."
            << "( かっこ )=(かっこ)|それは ね=それはね|まって...=まって...";
    }
    void phrasesOfLines() {
        QFETCH(QString, line);
        QFETCH(QString, phrases);
        FakeDictionary dictionary;
        QStringList got;
        for (const Phrase& p : phrasesOfLine(line, dictionary).phrases)
            got << p.written + u'=' + p.reading +
                       (p.skipped ? QStringLiteral("(%1)").arg(p.skipped) : QString());
        QCOMPARE(got.join(u'|'), phrases);
    }

    void hugeLinesFitThePrompt_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("rare kanji") << QString(5000, u'鬱');
        QTest::newRow("kana") << QString(3000, u'の');
        QTest::newRow("ASCII") << QString(3000, u'x');
    }
    void hugeLinesFitThePrompt() {
        QFETCH(QString, line);
        FakeDictionary dictionary;
        QString written;
        for (const Phrase& p : phrasesOfLine(line, dictionary).phrases) {
            written += p.written;
            const int columns =
                int(p.written.size() * (p.written.front().unicode() < 0x100 ? 1 : 2));
            QVERIFY2(columns <= 48 && p.reading.size() <= 40, qPrintable(p.written));
        }
        QCOMPARE(written, line);
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
