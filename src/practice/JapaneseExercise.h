#pragma once
#include "OnScreenKeyboard.h"
#include "PhraseJudge.h"
#include "PracticeControls.h"
#include "RunPreparer.h"
#include "RunTally.h"

#include <QHash>
#include <QString>
#include <memory>

// The history setting that switches Japanese runs to the JIS kana keys ("1").
inline const QString kKanaInputSetting = QStringLiteral("japanese.kana");

struct PracticeRecord;
class TextExercise;
class TPanel;

// A timed run over a Japanese text typed phrase by phrase, in romaji or with the JIS
// kana keys. It shows the phrase as written in the prompt panel and its reading with
// the keys still to type in the text pane.
class JapaneseExercise {
public:
    JapaneseExercise(PracticeRecord& record, OnScreenKeyboard& keyboard, TextExercise& exercise,
                     const PracticeControls& controls);
    ~JapaneseExercise();

    void btnJapaneseClick();
    // Prepares a run from the file, shows the start prompts and starts it; false when
    // there is nothing to run (a message box said why).
    bool start(const QString& fileName);
    // Runs phrases made in the program (the course's kana lessons), named by the lead
    // prompt before the start prompts; false when they hold nothing to type.
    bool startPhrases(std::vector<Phrase> phrases, const QString& mode, const QString& source,
                      const QString& lead);
    JudgeOutcome judgeKey(quint16 key, bool shift, quint16& paneKey);
    void btnStopClick();
    void Timer1Timer();

    bool running() const { return running_; }
    void setKanaInput(bool kana) { kanaInput_ = kana; }
    bool kanaInput() const { return kanaInput_; }

    // Where the next run on a file starts ("byte:column"); unset, positions last for
    // the session only.
    std::function<QString(const QString& file)> loadPosition;
    std::function<void(const QString& file, const QString& position)> savePosition;
    // Receives each finished run; unset, runs are not recorded beyond the record.
    RunSink runSink;
    // Where readings come from; MeCab by default, loaded at the first kanji.
    void setReadingSource(std::unique_ptr<ReadingSource> source);

    int keysTyped() const { return keys_; }
    int kanaTyped() const { return kanaDone_; }
    // The kana typed, the part of the phrase being typed on included.
    int kanaTypedNow() const;
    ReadingSource& readingSource() { return *reader_; }
    int elapsedSeconds = 0;

private:
    bool begin(const QString& mode, const QString& source, const QString& lead);
    bool showPhrase(); // the next phrase with something to type; false at the end
    void showProgress();
    void showPane(const QString& reading, const QString& remainingReading, const QString& keys);
    void lightGuide();
    void clearGuide();
    TextPosition stopPosition() const;
    // A key as speech names it: its kana in kana input, else its character.
    QString keyName(const KeyStroke& key) const;

    PracticeRecord& record_;
    OnScreenKeyboard& keyboard_;
    TextExercise& exercise_;
    PracticeControls c_;
    std::unique_ptr<ReadingSource> reader_;
    std::unique_ptr<PhraseJudge> judge_;
    bool kanaInput_ = false;
    bool running_ = false;
    bool dictionaryNoticeShown_ = false;
    QString file_;
    QString mode_;
    PreparedRun run_;
    std::size_t phrase_ = 0;
    int keys_ = 0;
    int kanaDone_ = 0;
    TPanel* guidePanel_ = nullptr;
    quint32 guideSaved_ = 0;
    quint32 guideColor_ = 0;
    QHash<QString, QString> positions_;
    RunTally tally_;
};
