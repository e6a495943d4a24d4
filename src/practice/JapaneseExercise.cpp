#include "JapaneseExercise.h"

#include "GuideColor.h"
#include "JisKeys.h"
#include "KanaJudge.h"
#include "KanaLayout.h"
#include "PaceRunner.h"
#include "PaneLine.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "RecordFile.h"
#include "RomajiJudge.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TextExercise.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

namespace {

const char* const kFileFilter = QT_TRANSLATE_NOOP("JapaneseExercise", "日本語テキスト(*.txt)");
const char* const kNoDictionary = QT_TRANSLATE_NOOP(
    "JapaneseExercise", "日本語の辞書が見つかりません。かなの文だけで練習します。");
const char* const kNothingToType =
    QT_TRANSLATE_NOOP("JapaneseExercise", "練習できる文字がありません。");

QString text(const char* source) {
    return QCoreApplication::translate("JapaneseExercise", source);
}

} // namespace

JapaneseExercise::JapaneseExercise(PracticeRecord& record, OnScreenKeyboard& keyboard,
                                   TextExercise& exercise, const PracticeControls& controls)
    : record_(record), keyboard_(keyboard), exercise_(exercise), c_(controls),
      reader_(std::make_unique<MecabReader>()) {}

JapaneseExercise::~JapaneseExercise() = default;

void JapaneseExercise::setReadingSource(std::unique_ptr<ReadingSource> source) {
    reader_ = std::move(source);
}

void JapaneseExercise::btnJapaneseClick() {
    // The text exercise's files stay where they were: this dialog keeps the folder.
    const QString path = Platform::get().openFile(c_.window, text(kFileFilter), false);
    if (!path.isEmpty()) start(path);
}

bool JapaneseExercise::start(const QString& fileName) {
    Platform& platform = Platform::get();
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        platform.messageBox(c_.window, QCoreApplication::translate("JapaneseExercise",
                                                                   "テキストが見つかりません\n%1")
                                           .arg(fileName));
        return false;
    }
    file_ = QFileInfo(fileName).absoluteFilePath();
    const QString saved = loadPosition ? loadPosition(file_) : positions_.value(file_);
    run_ = RunPreparer(*reader_).prepare(file, TextPosition::fromString(saved));
    file.close();
    if (run_.dictionaryMissing && !dictionaryNoticeShown_) {
        dictionaryNoticeShown_ = true;
        platform.messageBox(c_.window, text(kNoDictionary));
    }
    return begin(QStringLiteral("japanese"), QFileInfo(fileName).fileName(), QString());
}

bool JapaneseExercise::startPhrases(std::vector<Phrase> phrases, const QString& mode,
                                    const QString& source, const QString& lead) {
    file_.clear(); // a text made in the program has no place to go on from
    run_ = PreparedRun{};
    run_.phrases = std::move(phrases);
    return begin(mode, source, lead);
}

bool JapaneseExercise::begin(const QString& mode, const QString& source, const QString& lead) {
    Platform& platform = Platform::get();
    if (kanaInput_)
        judge_ = std::make_unique<KanaJudge>();
    else
        judge_ = std::make_unique<RomajiJudge>();
    phrase_ = 0;
    int units = 0;
    for (const Phrase& p : run_.phrases) {
        judge_->reset(p.reading);
        units += judge_->units();
    }
    if (units == 0) {
        platform.messageBox(c_.window, text(kNothingToType));
        return false;
    }

    c_.disableTools();
    exercise_.showStartPrompts(QString(), lead);

    mode_ = mode;
    keys_ = 0;
    kanaDone_ = 0;
    elapsedSeconds = 0;
    record_.runMisses = 0;
    tally_.begin(record_, mode, source);
    c_.sounds->begin();
    c_.timer->start();
    c_.btnStart->setEnabled(false);
    c_.btnStop->setEnabled(true);
    running_ = true;
    keyboard_.practiceRunning = true;
    keyboard_.keyboardColoured = false;
    // The keys may wear finger colours: the guide takes a colour none of them has.
    std::vector<TColor> keyColors;
    for (const KeyEntry& e : keyboard_.table)
        if (e.panel) keyColors.push_back(e.panel->color());
    guideColor_ = standoutGuideColor(keyColors);
    if (kanaInput_)
        keyboard_.setLegends([](int vk, bool shift) {
            const QChar c = kanalayout::legendOf(vk, shift);
            return c.isNull() ? QString() : QString(c);
        });
    c_.bar->setMinimum(0);
    c_.bar->setMaximum(units);
    c_.bar->setValue(0);
    showPhrase();
    if (c_.pace)
        // Keys are the pace's steps here; ahead, it stands on the key it has reached,
        // behind, on the gap before the keys still to type.
        c_.pace->begin(
            mode, source, {}, [this] { return keys_; },
            [this](int at) {
                const int caret = c_.memo->caret();
                return at >= keys_ ? caret + (at - keys_) : qMax(0, caret - 1);
            });
    return true;
}

bool JapaneseExercise::showPhrase() {
    clearGuide();
    for (; phrase_ < run_.phrases.size(); ++phrase_) {
        judge_->reset(run_.phrases[phrase_].reading);
        if (!judge_->finished()) break;
    }
    if (phrase_ >= run_.phrases.size()) return false;
    c_.display->setCaption(run_.phrases[phrase_].written);
    c_.speech->phrase(run_.phrases[phrase_].reading);
    showProgress();
    return true;
}

void JapaneseExercise::showProgress() {
    // What is typed drops off the front, so the pane shows progress in kana input too.
    showPane(run_.phrases[phrase_].reading, judge_->remainingReading(), judge_->remainingText());
    lightGuide();
}

void JapaneseExercise::showPane(const QString& reading, const QString& remainingReading,
                                const QString& keys) {
    const QFontMetricsF metrics(c_.memo->font());
    const qreal room = c_.memo->viewport()->width() - 2 * c_.memo->document()->documentMargin() -
                       c_.memo->cursorWidth() - 1;
    const PaneLine line = paneLine(reading, remainingReading, keys, [&](const QString& text) {
        return metrics.horizontalAdvance(text) <= room;
    });
    c_.memo->setPlainText(line.text);
    c_.memo->setCaret(line.caret);
}

void JapaneseExercise::lightGuide() {
    clearGuide();
    if (!record_.guideOn) return;
    const KeyStroke next = judge_->guide();
    guidePanel_ = next.vk ? keyboard_.table[std::size_t(next.vk) & 0xFF].panel : nullptr;
    if (!guidePanel_) return;
    guideSaved_ = guidePanel_->color();
    guidePanel_->setColor(guideColor_);
}

void JapaneseExercise::clearGuide() {
    if (guidePanel_) guidePanel_->setColor(guideSaved_);
    guidePanel_ = nullptr;
}

JudgeOutcome JapaneseExercise::judgeKey(quint16 key, bool shift, quint16&) {
    const KeyStroke expected = judge_->guide();
    const KeyVerdict verdict = judge_->press(key, shift);
    if (verdict != KeyVerdict::Accepted) {
        if (verdict == KeyVerdict::Ignored) return JudgeOutcome::Mistype;
        record_.missTotal += 1;
        record_.keyStats[key & 0xFF].misses += 1;
        record_.runMisses += 1;
        tally_.miss(expected.vk, int(key), shift, shiftSlip(shift, expected.shift));
        c_.sounds->key(false);
        if (c_.speech->on()) c_.speech->miss(keyName(expected), true);
        return JudgeOutcome::Mistype;
    }
    ++keys_;
    record_.keyStats[key & 0xFF].tries += 1;
    tally_.accept(int(key), int(key), shift);
    c_.sounds->key(true);

    if (judge_->finished()) {
        kanaDone_ += judge_->units();
        c_.bar->setValue(kanaDone_);
        const QString finished = run_.phrases[phrase_].reading;
        ++phrase_;
        if (!showPhrase()) {
            // The last phrase stays in the pane, typed to its end.
            showPane(finished, {}, {});
            c_.bar->setValue(c_.bar->maximum());
            btnStopClick();
            return JudgeOutcome::Finished;
        }
    } else {
        showProgress();
        if (c_.speech->on()) c_.speech->nextJapaneseKey(keyName(judge_->guide()));
    }
    return JudgeOutcome::Accepted;
}

QString JapaneseExercise::keyName(const KeyStroke& key) const {
    if (kanaInput_) return QString(kanalayout::legendOf(key.vk, key.shift));
    return RunSpeech::keyName(jisCharOfKey(key.vk, key.shift));
}

void JapaneseExercise::Timer1Timer() {
    ++elapsedSeconds;
    if (!running_) return;
    c_.lcd->setCaption(QString::asprintf("%02d:%02d", elapsedSeconds / 60, elapsedSeconds % 60));
    c_.bar->setValue(kanaDone_);
}

int JapaneseExercise::kanaTypedNow() const {
    if (!judge_ || phrase_ >= run_.phrases.size()) return kanaDone_;
    const int units = judge_->units();
    const int left = int(judge_->remainingReading().size());
    return kanaDone_ + std::clamp(int(run_.phrases[phrase_].reading.size()) - left, 0, units);
}

TextPosition JapaneseExercise::stopPosition() const {
    if (phrase_ >= run_.phrases.size()) return run_.next;
    const Phrase& p = run_.phrases[phrase_];
    return {p.line, p.start};
}

void JapaneseExercise::btnStopClick() {
    if (!running_) return;
    running_ = false;
    clearGuide();
    if (kanaInput_) keyboard_.setLegends({});
    c_.enableTools();
    c_.timer->stop();
    keyboard_.practiceRunning = false;
    c_.sounds->end();
    if (c_.pace) c_.pace->end(phrase_ >= run_.phrases.size());

    const QString position = stopPosition().toString();
    if (file_.isEmpty())
        ;
    else if (savePosition)
        savePosition(file_, position);
    else
        positions_.insert(file_, position);

    double kanaPerMinute = 0;
    if (elapsedSeconds != 0 && keys_ != 0) {
        // The same bookkeeping as a text run: keys per second. A graded test counts
        // its keys but leaves the practice speeds alone.
        if (mode_ == QStringLiteral("test"))
            record_.typedTotal += keys_;
        else
            record_.addRunSpeed(keys_, elapsedSeconds);
        saveRecord(record_, c_.window);
        kanaPerMinute = kanaDone_ * 60.0 / elapsedSeconds;
    }
    QString prompt = QCoreApplication::translate("JapaneseExercise", "%1キー/秒 %2かな/分")
                         .arg(QString::asprintf("%.1f", static_cast<double>(record_.currentRate)),
                              QString::asprintf("%.0f", kanaPerMinute));
    if (run_.skipped > 0)
        prompt += u' ' + QCoreApplication::translate("JapaneseExercise", "読めずに飛ばした句%1")
                             .arg(run_.skipped);
    c_.display->setCaption(prompt);
    c_.speech->end(
        RunSpeech::japaneseEnd(double(record_.currentRate), kanaPerMinute, record_.runMisses));
    c_.btnStop->setEnabled(false);

    RunSummary run;
    const double speed = mode_ == QStringLiteral("test") && elapsedSeconds != 0
                             ? double(keys_) / elapsedSeconds
                             : static_cast<double>(record_.currentRate);
    if (tally_.finish(record_, elapsedSeconds, speed, phrase_ >= run_.phrases.size(), run)) {
        c_.display->setCaption(c_.display->caption() + RunTally::rhythmNote(run.rhythm));
        // A run under a second adds no speed to the record, yet its keys were typed.
        run.keys = keys_;
        if (runSink) runSink(run);
    }
}
