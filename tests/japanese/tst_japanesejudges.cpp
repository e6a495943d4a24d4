// The romaji and kana judges: every spelling of every kana, the syllabic n and the
// small tsu, youon typed whole or in parts, the guide following the learner, and the
// JIS kana arrangement, and what the text pane shows of a phrase.
#include "KanaJudge.h"
#include "KanaLayout.h"
#include "PaneLine.h"
#include "RomajiJudge.h"

#include <QTest>

namespace {

// How many letters the judge takes before refusing one; -1 when it finished.
int typeRomaji(const QString& reading, const QByteArray& letters) {
    RomajiJudge judge;
    judge.reset(reading);
    for (int i = 0; i < letters.size(); ++i)
        if (!judge.pressChar(letters[i])) return i;
    return judge.finished() ? -1 : int(letters.size());
}

} // namespace

class TestJapaneseJudges : public QObject {
    Q_OBJECT
private slots:
    void everySpellingOfEveryKana() {
        // Each kana and kana pair of the table, between two plain kana so that the
        // syllabic n and small tsu rules around it are exercised too.
        const QString kanaList = QStringLiteral(
            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろ"
            "わゐゑをがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽゔぁぃぅぇぉゃゅょゎっゕゖ"
            "ー");
        int checked = 0;
        for (QChar k : kanaList)
            for (const std::string& s : romajiSpellings(std::u16string(1, k.unicode()))) {
                QCOMPARE(typeRomaji(QString(k) + QStringLiteral("か"),
                                    QByteArray::fromStdString(s) + "ka"),
                         -1);
                ++checked;
            }
        for (QChar k : QStringLiteral("きぎしじちぢにひびぴみりふてでうゔつくいとどぐすず"))
            for (QChar small : QStringLiteral("ぁぃぅぇぉゃゅょ")) {
                const std::u16string pair{k.unicode(), small.unicode()};
                for (const std::string& s : romajiSpellings(pair)) {
                    QCOMPARE(typeRomaji(QString(k) + small, QByteArray::fromStdString(s)), -1);
                    ++checked;
                }
                // Youon decomposed: the first kana's spelling, then the small one's.
                const auto& first = romajiSpellings(std::u16string(1, k.unicode()));
                const auto& second = romajiSpellings(std::u16string(1, small.unicode()));
                QVERIFY(!first.empty() && !second.empty());
                QCOMPARE(typeRomaji(QString(k) + small,
                                    QByteArray::fromStdString(first.front() + second.back())),
                         -1);
            }
        QVERIFY(checked > 200);
    }

    void phrases_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<int>("refused"); // the first letter refused, -1: finished
        QTest::newRow("reading, not pronunciation")
            << "とうきょうは" << QByteArray("toukyouha") << -1;
        QTest::newRow("particle wo") << "ほんを" << QByteArray("honnwo") << -1;
        QTest::newRow("katakana and long vowel") << "ラーメン" << QByteArray("ra-menn") << -1;
        QTest::newRow("Kunrei") << "しんぶんしゃ" << QByteArray("sinbunsya") << -1;
        QTest::newRow("Nihon-shiki") << "ちぢみ" << QByteArray("tidimi") << -1;
        QTest::newRow("c spellings") << "しちゃ" << QByteArray("cicya") << -1;
        QTest::newRow("n before consonant") << "かんじ" << QByteArray("kanji") << -1;
        QTest::newRow("n before punctuation") << "ほん。" << QByteArray("hon.") << -1;
        QTest::newRow("n apostrophe") << "かんい" << QByteArray("kan'i") << -1;
        QTest::newRow("xn") << "かんい" << QByteArray("kaxni") << -1;
        QTest::newRow("single n before vowel") << "かんい" << QByteArray("kani") << 3;
        QTest::newRow("single n before na row") << "こんにちは" << QByteArray("konichiha") << 3;
        QTest::newRow("single n before ya row") << "こんや" << QByteArray("konya") << 3;
        QTest::newRow("single n at the end") << "ほん" << QByteArray("hon") << 3;
        QTest::newRow("small tsu doubled") << "きって" << QByteArray("kitte") << -1;
        QTest::newRow("small tsu before chi") << "まっちゃ" << QByteArray("maccha") << -1;
        QTest::newRow("small tsu before tya") << "まっちゃ" << QByteArray("mattya") << -1;
        QTest::newRow("small tsu ltsu") << "きって" << QByteArray("kiltsute") << -1;
        QTest::newRow("small tsu not before n") << "きっね" << QByteArray("kinne") << 2;
        QTest::newRow("small tsu at the end") << "あっ" << QByteArray("axtu") << -1;
        QTest::newRow("ki then small ya") << "きゃく" << QByteArray("kilyaku") << -1;
        QTest::newRow("vu") << "ヴァイオリン" << QByteArray("vaiorinn") << -1;
        QTest::newRow("full-width and ASCII") << "Ａ４の、「紙」" << QByteArray("A4no,[]") << -1;
        QTest::newRow("wrong vowel") << "か" << QByteArray("ki") << 1;
        QTest::newRow("tch") << "まっちゃ、まっち" << QByteArray("matcha,matchi") << -1;
        QTest::newRow("fw and hw")
            << "ふぁふぃふぇふぉふぁふぉ" << QByteArray("fwafwifwefwohwahwo") << -1;
        QTest::newRow("xyi and xye") << "ぃぇ" << QByteArray("xyixye") << -1;
    }
    void phrases() {
        QFETCH(QString, reading);
        QFETCH(QByteArray, letters);
        QFETCH(int, refused);
        QCOMPARE(typeRomaji(reading, letters), refused);
    }

    void guideFollowsTheLearner_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("remaining");
        QTest::newRow("usual spelling") << "しゃしん" << QByteArray() << "shashinn";
        QTest::newRow("after s") << "し" << QByteArray("s") << "hi";
        QTest::newRow("si chosen") << "しし" << QByteArray("si") << "shi";
        QTest::newRow("after t for cha") << "ちゃ" << QByteArray("t") << "ya";
        QTest::newRow("after c for cha") << "ちゃ" << QByteArray("c") << "ha";
        QTest::newRow("kanji typed kan") << "かんじ" << QByteArray("kan") << "ji";
        QTest::newRow("doubled") << "きって" << QByteArray("kit") << "te";
    }
    void guideFollowsTheLearner() {
        QFETCH(QString, reading);
        QFETCH(QByteArray, typed);
        QFETCH(QString, remaining);
        RomajiJudge judge;
        judge.reset(reading);
        for (char c : typed) QVERIFY(judge.pressChar(c));
        QCOMPARE(judge.remainingText(), remaining);
        QCOMPARE(judge.typedText(), QString::fromLatin1(typed));
        QCOMPARE(judge.guide(), jisKeyOfChar(remaining.at(0).toLatin1()));
    }

    void paneLine_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("remainingReading");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown"); // | where the caret stands
        QTest::newRow("fits whole") << "ねこ"
                                    << "こ"
                                    << "ko"
                                    << "ねこ　|ko";
        QTest::newRow("reading from the kana typed on") << "かいしゃのちかくでまって"
                                                        << "ちかくでまって"
                                                        << "chikakudematte"
                                                        << "ちかくでまって　|chikakudematte";
        QTest::newRow("reading cut for the keys") << "あたらしいしごとのはなしをきいた"
                                                  << "しごとのはなしをきいた"
                                                  << "shigotonohanashiwokiita"
                                                  << "しごとのはなし…　|shigotonohanashiwokiita";
        QTest::newRow("keys run past the edge")
            << "あいうえおかきくけこ"
            << "かきくけこ" << QString(40, u'a') << "かきくけこ　|" + QString(40, u'a');
        QTest::newRow("finished") << "ねこ"
                                  << ""
                                  << ""
                                  << "ねこ　|";
    }
    void paneLine() {
        QFETCH(QString, reading);
        QFETCH(QString, remainingReading);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        // A pane of 30 half-width columns.
        const auto fits = [](const QString& text) {
            int columns = 0;
            for (QChar c : text) columns += c.unicode() < 0x100 ? 1 : 2;
            return columns <= 30;
        };
        const PaneLine line = ::paneLine(reading, remainingReading, keys, fits);
        QCOMPARE(line.text.first(line.caret) + u'|' + line.text.sliced(line.caret), shown);
    }

    void romajiKeys() {
        RomajiJudge judge;
        judge.reset(QStringLiteral("か！"));
        QCOMPARE(judge.press(16, false), KeyVerdict::Ignored);
        QCOMPARE(judge.press('K', true), KeyVerdict::Mistype); // a capital is not k
        QCOMPARE(judge.press('K', false), KeyVerdict::Accepted);
        QCOMPARE(judge.press('A', false), KeyVerdict::Accepted);
        QCOMPARE(judge.guide(), (KeyStroke{'1', true}));
        QCOMPARE(judge.press('1', true), KeyVerdict::Accepted);
        QVERIFY(judge.finished());
        QCOMPARE(judge.units(), 2);
        judge.reset(QStringLiteral("\\"));
        QCOMPARE(judge.press(226, false), KeyVerdict::Accepted); // the ro key's backslash
    }

    void kanaKeys_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QList<int>>("keys"); // vk, or -vk for the key with Shift
        QTest::newRow("plain") << "ぬふあうえお" << QList<int>{'1', '2', '3', '4', '5', '6'};
        QTest::newRow("top row") << "たていすかんなにらせ"
                                 << QList<int>{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'};
        QTest::newRow("home row") << "ちとしはきくまのりれけむ"
                                  << QList<int>{'A', 'S', 'D', 'F', 'G', 'H',
                                                'J', 'K', 'L', 187, 186, 221};
        QTest::newRow("bottom row")
            << "つさそひこみもねるめろ"
            << QList<int>{'Z', 'X', 'C', 'V', 'B', 'N', 'M', 188, 190, 191, 226};
        QTest::newRow("number row rest")
            << "やゆよわほへー" << QList<int>{'7', '8', '9', '0', 189, 222, 220};
        QTest::newRow("small kana")
            << "ぁぃぅぇぉゃゅょっを"
            << QList<int>{-'3', -'E', -'4', -'5', -'6', -'7', -'8', -'9', -'Z', -'0'};
        QTest::newRow("voiced") << "がぞだぶゔ"
                                << QList<int>{'T', 192, 'C', 192, 'Q', 192, '2', 192, '4', 192};
        QTest::newRow("semi-voiced")
            << "ぱぴぷぺぽ" << QList<int>{'F', 219, 'V', 219, '2', 219, 222, 219, 189, 219};
        QTest::newRow("punctuation")
            << "「ね、」。・" << QList<int>{-219, 188, -188, -221, -190, -191};
        QTest::newRow("katakana; letters left out") << "ガA1ッ" << QList<int>{'T', 192, -'Z'};
    }
    void kanaKeys() {
        QFETCH(QString, reading);
        QFETCH(QList<int>, keys);
        KanaJudge judge;
        judge.reset(reading);
        for (int k : keys) {
            const KeyStroke key{qAbs(k), k < 0};
            QCOMPARE(judge.guide(), key);
            QCOMPARE(judge.press(key.vk, !key.shift), KeyVerdict::Mistype);
            QCOMPARE(judge.press(key.vk, key.shift), KeyVerdict::Accepted);
        }
        QVERIFY(judge.finished());
    }

    void everyKanaHasKeysAndLegends() {
        for (char16_t u = u'ぁ'; u <= u'ゔ'; ++u) {
            if (QStringView(u"ゐゑゎ").contains(QChar(u))) continue;
            const auto keys = kanalayout::keysOf(QChar(u));
            QVERIFY2(!keys.empty(), qPrintable(QString(QChar(u))));
            if (keys.size() == 1)
                QCOMPARE(kanalayout::legendOf(keys[0].vk, keys[0].shift), QChar(u));
        }
        KanaJudge judge;
        judge.reset(QStringLiteral("がく"));
        judge.press('T', false);
        QCOMPARE(judge.typedText(), QStringLiteral("か"));
        QCOMPARE(judge.remainingText(), QStringLiteral("゛く"));
    }
};

QTEST_APPLESS_MAIN(TestJapaneseJudges)
#include "tst_japanesejudges.moc"
