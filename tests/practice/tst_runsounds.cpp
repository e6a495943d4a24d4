#include "DrillDriver.h"
#include "FakeHistory.h"
#include "Fixture.h"
#include "RunSounds.h"
#include "RunSpeech.h"
#include "TypingKeys.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<Sound>)

// The sounds of a run: what the settings choose, the metronome's beats, and which sound
// each kind of run makes at its keys and its end.
class TstRunSounds : public QObject {
    Q_OBJECT

private slots:
    void keptChoice_data();
    void keptChoice();
    void beats_data();
    void beats();
    void runs_data();
    void runs();
    void spoken_data();
    void spoken();
};

void TstRunSounds::keptChoice_data() {
    QTest::addColumn<QStringList>("kept"); // click, miss, end, volume, beats
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("nothing kept: silent")
        << QStringList{"", "", "", "", ""} << QList<int>{0, 0, 0, 60, 0};
    QTest::newRow("all on") << QStringList{"1", "1", "1", "0", "30"} << QList<int>{1, 1, 1, 0, 30};
    QTest::newRow("only 1 is on") << QStringList{"true", "2", " 1", "100", "400"}
                                  << QList<int>{0, 0, 0, 100, 400};
    QTest::newRow("out of reason")
        << QStringList{"0", "1", "0", "101", "29"} << QList<int>{0, 1, 0, 60, 0};
    QTest::newRow("no numbers") << QStringList{"", "", "", "loud", "-1"}
                                << QList<int>{0, 0, 0, 60, 0};
}

void TstRunSounds::keptChoice() {
    QFETCH(QStringList, kept);
    QFETCH(QList<int>, expected);
    const QStringList keys = {kSoundClickSetting, kSoundMissSetting, kSoundEndSetting,
                              kSoundVolumeSetting, kMetronomeSetting};
    const SoundChoice c =
        soundChoice([&](const QString& key) { return kept.value(int(keys.indexOf(key))); });
    QCOMPARE((QList<int>{c.click, c.miss, c.end, c.volume, c.beatsPerMinute}), expected);
    QCOMPARE(c.any(), expected[0] || expected[1] || expected[2] || expected[4]);
}

void TstRunSounds::beats_data() {
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("bpm");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<qint64>("at");
    QTest::newRow("after the start's beat") << 0LL << 60 << 0LL << 1LL << 1000LL;
    QTest::newRow("on time") << 1000LL << 60 << 1LL << 2LL << 2000LL;
    QTest::newRow("a timer a little early beats once") << 998LL << 60 << 1LL << 2LL << 2000LL;
    QTest::newRow("late: the beats past are left out") << 5500LL << 60 << 1LL << 6LL << 6000LL;
    QTest::newRow("uneven beats round up") << 0LL << 70 << 0LL << 1LL << 858LL;
    QTest::newRow("seventh beat at 70") << 5143LL << 70 << 6LL << 7LL << 6000LL;
    QTest::newRow("an hour at 400 has not drifted")
        << 3599999LL << 400 << 23999LL << 24000LL << 3600000LL;
}

void TstRunSounds::beats() {
    QFETCH(qint64, elapsed);
    QFETCH(int, bpm);
    QFETCH(qint64, last);
    const Beat b = nextBeat(elapsed, bpm, last);
    QTEST(b.number, "number");
    QTEST(b.atMs, "at");
    QVERIFY(b.atMs > elapsed);
}

void TstRunSounds::runs_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("on"); // of c(lick), m(iss), e(nd), t(he metronome)
    QTest::addColumn<std::vector<Sound>>("expected");
    using enum Sound;
    QTest::newRow("text, silent") << "text"
                                  << "" << std::vector<Sound>{};
    QTest::newRow("text, all") << "text"
                               << "cme" << std::vector<Sound>{Click, Miss, Click, Click, End};
    QTest::newRow("text, misses") << "text"
                                  << "m" << std::vector<Sound>{Miss};
    QTest::newRow("text, the metronome") << "text"
                                         << "t" << std::vector<Sound>{Tick};
    QTest::newRow("drill, silent") << "drill"
                                   << "" << std::vector<Sound>{};
    QTest::newRow("drill, all") << "drill"
                                << "cme" << std::vector<Sound>{Miss, Click, Click, End};
}

void TstRunSounds::runs() {
    QFETCH(QString, kind);
    QFETCH(QString, on);
    QFETCH(std::vector<Sound>, expected);
    Fixture f;
    FakeHistory history;
    for (const auto& [letter, key] :
         {std::pair{'c', kSoundClickSetting}, {'m', kSoundMissSetting}, {'e', kSoundEndSetting}})
        history.settings[key] = on.contains(QLatin1Char(letter)) ? "1" : "0";
    history.settings[kSoundVolumeSetting] = "35";
    if (on.contains(u't')) history.settings[kMetronomeSetting] = "30";
    f.w->setHistory(&history);
    if (kind == "text") {
        f.load("ab\n");
        f.start();
        QVERIFY(!f.w->btnSound->isEnabled()); // no settings changed during a run
        typeChar(f.w->Memo, 'a');
        typeChar(f.w->Memo, 'x');
        typeChar(f.w->Memo, 'b');
        keys::tap(f.w->Memo, keys::Enter);
        QVERIFY(!f.ex().practiceRunning());
    } else {
        DrillDriver d(f);
        d.script = [&](int index, int step, char c) {
            if (index == 2)
                d.hold(keys::Esc);
            else if (index == 0 && step == 0)
                d.answer(c == 'Q' ? 'P' : 'Q');
            else
                d.answer(c);
        };
        f.w->btnLesson->click();
    }
    QCOMPARE(f.env.platform.sounds, expected);
    // Sounds are readied only for a run that wants them: the module is never loaded else.
    QCOMPARE(f.env.platform.soundVolume, on.isEmpty() ? -1 : 35);
    f.w->btnSound->click();
    QCOMPARE(f.env.platform.dialogsRun, 1);
}

// What each kind of run says, in order, with speech on; off, nothing at all.
void TstRunSounds::spoken_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("follow");
    QTest::addColumn<QStringList>("expected"); // %1: the prompted keys of a drill
    const QString start = "ja:練習を始めます。ホームポジションに指を置いてください。";
    QTest::newRow("off") << "text"
                         << "" << QStringList{};
    QTest::newRow("text, keys")
        << "text"
        << "key" << QStringList{start,        "ja:A",        "ja:B",
                                "ja:ミス、B", "ja:スペース", "ja:大文字のC",
                                "ja:D",       "ja:エンター", "ja:終了。毎秒7.0文字、ミス1回。"};
    QTest::newRow("text, words") << "text"
                                 << "word"
                                 << QStringList{start, "ja:ab", "ja:ミス、スペース", "ja:Cd",
                                                "ja:終了。毎秒7.0文字、ミス1回。"};
    QTest::newRow("drill") << "drill"
                           << "key"
                           << QStringList{start,   "ja:%1", "ja:ミス、%1",
                                          "ja:%2", "ja:%3", "ja:終了。毎秒1.2文字、ミス1回。"};
    QTest::newRow("japanese, keys")
        << "japanese"
        << "key" << QStringList{start,  "ja:にほん", "ja:I",
                                "ja:H", "ja:O",      "ja:ミス、O",
                                "ja:N", "ja:N",      "ja:終了。毎秒0.0キー、毎分0かな、ミス1回。"};
    QTest::newRow("F8 on and off")
        << "f8"
        << "" << QStringList{"ja:音声をオンにしました。", "ja:音声をオフにしました。"};
}

void TstRunSounds::spoken() {
    QFETCH(QString, kind);
    QFETCH(QString, follow);
    QFETCH(QStringList, expected);
    Fixture f;
    FakeHistory history;
    history.settings[kSpeechOnSetting] = follow.isEmpty() ? "0" : "1";
    history.settings[kSpeechFollowSetting] = follow;
    f.w->setHistory(&history);
    auto type = [&](const char* text) {
        for (const char* c = text; *c; ++c) {
            f.env.platform.now += 250;
            if (*c == '\n')
                keys::tap(f.w->Memo, keys::Enter);
            else
                typeChar(f.w->Memo, *c);
        }
    };
    if (kind == "text") {
        f.load("ab Cd\n");
        f.start();
        type(follow == "word" ? "abx Cd" : "axb Cd");
        f.tick(1);
        type("\n");
    } else if (kind == "drill") {
        DrillDriver d(f);
        d.script = [&](int index, int step, char c) {
            if (index == 2)
                d.hold(keys::Esc);
            else if (index == 0 && step == 0)
                d.answer(c == 'Q' ? 'P' : 'Q');
            else
                d.answer(c);
        };
        f.w->btnLesson->click();
        // The drill's letters are keys: said as letters, never as capitals.
        for (QString& e : expected)
            for (int i = 0; i < 3; ++i)
                e.replace(QStringLiteral("%%1").arg(i + 1), QChar(d.prompts[i]));
    } else if (kind == "japanese") {
        Phrase p;
        p.written = "日本";
        p.reading = "にほん";
        QVERIFY(f.w->japanese().startPhrases({p}, "japanese", "t", {}));
        type("nihxonn");
        f.w->btnStopClick(); // the run is over: nothing more is said
    } else {
        for (int i = 0; i < 2; ++i) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier, 74, 0, 0);
            QCoreApplication::sendEvent(f.w.get(), &e);
            QCOMPARE(history.settings[kSpeechOnSetting], i == 0 ? "1" : "0");
        }
    }
    QCOMPARE(f.env.platform.said, expected);
}

QTEST_MAIN(TstRunSounds)
#include "tst_runsounds.moc"
