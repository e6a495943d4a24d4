#include "JapaneseExercise.h"

#include "KanaJudge.h"
#include "KanaLayout.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "RecordFile.h"
#include "RomajiJudge.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TextExercise.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>

namespace {

const char* const kFileFilter = QT_TRANSLATE_NOOP("JapaneseExercise", "日本語テキスト(*.txt)");
const char* const kNoDictionary = QT_TRANSLATE_NOOP(
    "JapaneseExercise", "日本語の辞書が見つかりません。かなの文だけで練習します。");
const char* const kNothingToType =
    QT_TRANSLATE_NOOP("JapaneseExercise", "練習できる文字がありません。");

QString text(const char* source) {
    return QCoreApplication::translate("JapaneseExercise", source);
}
constexpr TColor kGuideColor = clWhite; // as the drill lights its keys

QDateTime calendarNow() {
    return QDateTime::fromSecsSinceEpoch(Platform::get().calendarSeconds(), Qt::UTC);
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
    exercise_.showStartPrompts();

    keys_ = 0;
    kanaDone_ = 0;
    elapsedSeconds = 0;
    record_.runMisses = 0;
    summary_ = RunSummary{};
    summary_.mode = QStringLiteral("japanese");
    summary_.source = QFileInfo(fileName).fileName();
    summary_.startedAt = calendarNow();
    lastKeyMs_ = platform.clockMs();
    c_.timer->start();
    c_.btnStart->setEnabled(false);
    c_.btnStop->setEnabled(true);
    running_ = true;
    keyboard_.practiceRunning = true;
    keyboard_.keyboardColoured = false;
    if (kanaInput_)
        keyboard_.setLegends([](int vk, bool shift) {
            const QChar c = kanalayout::legendOf(vk, shift);
            return c.isNull() ? QString() : QString(c);
        });
    c_.bar->setMinimum(0);
    c_.bar->setMaximum(units);
    c_.bar->setValue(0);
    showPhrase();
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
    showProgress();
    return true;
}

void JapaneseExercise::showProgress() {
    const Phrase& p = run_.phrases[phrase_];
    // What is typed drops off the front, so the pane shows progress in kana input too.
    const QString head = p.reading + QStringLiteral("　");
    c_.memo->setPlainText(head + judge_->remainingText());
    c_.memo->setCaret(int(head.size()));
    lightGuide();
}

void JapaneseExercise::lightGuide() {
    clearGuide();
    if (!record_.guideOn) return;
    const KeyStroke next = judge_->guide();
    guidePanel_ = next.vk ? keyboard_.table[std::size_t(next.vk) & 0xFF].panel : nullptr;
    if (!guidePanel_) return;
    guideSaved_ = guidePanel_->color();
    guidePanel_->setColor(kGuideColor);
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
        summary_.perKey[expected.vk].missed += 1;
        summary_.confusions[{expected.vk, int(key)}] += 1;
        return JudgeOutcome::Mistype;
    }
    ++keys_;
    record_.keyStats[key & 0xFF].tries += 1;
    const qint64 now = Platform::get().clockMs();
    RunKeyFigures& figures = summary_.perKey[int(key)];
    figures.expected += 1;
    figures.msTotal += now - lastKeyMs_;
    lastKeyMs_ = now;

    if (judge_->finished()) {
        kanaDone_ += judge_->units();
        ++phrase_;
        if (!showPhrase()) {
            summary_.completed = true;
            btnStopClick();
            return JudgeOutcome::Finished;
        }
    } else {
        showProgress();
    }
    return JudgeOutcome::Accepted;
}

void JapaneseExercise::Timer1Timer() {
    ++elapsedSeconds;
    if (!running_) return;
    c_.lcd->setCaption(QString::asprintf("%02d:%02d", elapsedSeconds / 60, elapsedSeconds % 60));
    c_.bar->setValue(kanaDone_);
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

    const QString position = stopPosition().toString();
    if (savePosition)
        savePosition(file_, position);
    else
        positions_.insert(file_, position);

    double kanaPerMinute = 0;
    if (elapsedSeconds != 0 && keys_ != 0) {
        // The same bookkeeping as a text run: keys per second.
        record_.addRunSpeed(keys_, elapsedSeconds);
        saveRecord(record_, c_.window);
        kanaPerMinute = kanaDone_ * 60.0 / elapsedSeconds;
    }
    c_.display->setCaption(
        QCoreApplication::translate("JapaneseExercise", "%1キー/秒 %2かな/分")
            .arg(QString::asprintf("%.1f", static_cast<double>(record_.currentRate)),
                 QString::asprintf("%.0f", kanaPerMinute)));
    c_.btnStop->setEnabled(false);

    if (runSink) {
        summary_.endedAt = calendarNow();
        summary_.seconds = elapsedSeconds;
        summary_.keys = keys_;
        summary_.misses = record_.runMisses;
        summary_.speed = static_cast<double>(record_.currentRate);
        runSink(summary_);
    }
}
