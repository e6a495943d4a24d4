#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

// The history settings of the spoken mode: "1" on, else off; what is said as the run
// goes, "key" (the next key) or "word" (the next word).
inline const QString kSpeechOnSetting = QStringLiteral("speech.on");
inline const QString kSpeechFollowSetting = QStringLiteral("speech.follow");

struct SpeechChoice {
    bool on = false;
    bool words = false; // the next word rather than the next key
};
SpeechChoice speechChoice(const std::function<QString(const QString& key)>& setting);

// What a run says, each text cutting off the one before: the start, the next key or
// word, each miss with the key that was due, the drill's key, each Japanese phrase by
// its reading, and the end's figures. Off, nothing is said and each call returns at
// once. The words are in the program's language; Japanese phrases and kana in Japanese.
class RunSpeech {
    Q_DECLARE_TR_FUNCTIONS(RunSpeech)
public:
    // Where the choice comes from; unset, runs are silent.
    std::function<SpeechChoice()> choice;

    // The choice is read afresh; the start is said, after the lead when there is one.
    void begin(const QString& lead);
    bool on() const { return on_.on; }

    // The next key of a text run, or, following words, the word that begins there.
    void textAt(const char* text, int pos);
    void drillKey(char c);
    void drillMiss(char due);
    // A miss: the key that was due, by its character or by its spoken name.
    void missChar(char due);
    void miss(const QString& dueName, bool japanese = false);
    void phrase(const QString& reading);
    // The next key of a Japanese run, by its name (a letter, a kana); following words,
    // nothing: each phrase is said whole.
    void nextJapaneseKey(const QString& name);
    // The end's words, once a run; then more of the same end (the course's next key).
    void end(const QString& words);
    void addToEnd(const QString& more);

    // The words of the ends.
    static QString textEnd(double charsPerSecond, int misses);
    static QString japaneseEnd(double keysPerSecond, double kanaPerMinute, int misses);
    static QString newKey(const QString& key);
    // How a character of a text is heard: a letter, a digit, a sign by its name.
    static QString keyName(char c);
    // The program's language, as speech names it.
    static QString language();

private:
    void say(const QString& text, bool japanese = false);

    SpeechChoice on_;
    bool running_ = false;
    QString end_;
};
