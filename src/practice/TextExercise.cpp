#include "TextExercise.h"

#include "PaceRunner.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "PracticeText.h"
#include "RecordFile.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TextBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>
#include <cstring>

namespace {

const char* const kNoText =
    QT_TRANSLATE_NOOP("TextExercise", "テキストをファイルから読んで下さい.");
const char* const kHomePrompt =
    QT_TRANSLATE_NOOP("TextExercise", "フォームポジションにして下さい。");
const char* const kKeyPrompt = QT_TRANSLATE_NOOP("TextExercise", "表示するキーを押して下さい");
const char* const kFileFilter = QT_TRANSLATE_NOOP("TextExercise", "テキストファイル(*.txt)");
const char* const kFirstKey = QT_TRANSLATE_NOOP("TextExercise", "次のキーは:[%1]です。");
const char* const kNextKey = QT_TRANSLATE_NOOP("TextExercise", "次のキーは [%1]です。");

QString text(const char* source) {
    return QCoreApplication::translate("TextExercise", source);
}

// A prompt naming one character byte; a NUL ends the prompt before it, as in a C string.
QString withChar(const char* prompt, char c) {
    const QString p = text(prompt);
    return c == '\0' ? p.left(p.indexOf(u"%1")) : p.arg(byteText(c));
}

} // namespace

TextExercise::TextExercise(PracticeRecord& record, OnScreenKeyboard& keyboard,
                           const PracticeControls& controls)
    : record_(record), keyboard_(keyboard), c_(controls) {}

int TextExercise::textLength() const {
    return int(std::strlen(practiceText_));
}

int TextExercise::loadPracticeText(const QString& fileName) {
    // Only a regular file: a device or a pipe named *.txt could be read forever.
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) return 1;

    c_.memo->setPlainText(QString());
    // Read only as far as the text needs: the file may be huge.
    TextCollector collector;
    char chunk[16384];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got <= 0 || !collector.feed(QByteArrayView(chunk, got))) break;
    }
    collector.finish();
    file.close();
    takeCollected(collector);
    textSource_ = QFileInfo(fileName).fileName();
    return 0;
}

void TextExercise::loadPracticeBytes(const QByteArray& bytes) {
    c_.memo->setPlainText(QString());
    TextCollector collector;
    collector.feed(bytes);
    collector.finish();
    takeCollected(collector);
}

void TextExercise::takeCollected(const TextCollector& collector) {
    const QByteArray text = practiceTextOf(collector.pane());
    if (!text.isEmpty()) {
        const qsizetype n = qMin<qsizetype>(text.size(), kTextSize - 1);
        std::memcpy(practiceText_, text.constData(), std::size_t(n));
        practiceText_[n] = '\0';
    }
    c_.memo->setPlainText(QString());

    record_.textLength = textLength();
    sanitisePracticeText(practiceText_, record_.textLength);
    record_.wordCount = countWords(practiceText_, record_.textLength);
    record_.runMisses = 0;
    record_.currentRate = 0.0f;
}

int TextExercise::keyOfChar(char c) const {
    if (c == '\r' || c == '\n') return vkReturn;
    if (c == ' ') return vkSpace;
    for (bool shifted : {false, true})
        for (std::size_t vk = 0; vk < keyboard_.table.size(); ++vk) {
            const KeyEntry& e = keyboard_.table[vk];
            if (e.panel && (shifted ? e.shiftedChar : e.baseChar) == c) return int(vk);
        }
    return keyCodeOfChar(c);
}

bool TextExercise::btnFileClick() {
    const QString path = Platform::get().openFile(c_.window, text(kFileFilter), true);
    if (path.isEmpty() || loadPracticeText(path) != 0) return false;
    runMode_ = QStringLiteral("text");
    return true;
}

void TextExercise::showStartPrompts(const QString& note, const QString& lead) {
    c_.memo->setPlainText(QString());
    c_.lcd->setCaption(QString());
    c_.speech->begin(lead);
    Platform& platform = Platform::get();
    qint64 t0 = platform.clockMs();
    const QString home = text(kHomePrompt);
    const QString key = note.isEmpty() ? text(kKeyPrompt) : note;
    for (const QString* prompt : {&lead, &home, &key}) {
        if (prompt->isEmpty()) continue;
        c_.display->setCaption(*prompt);
        // Sleep in the event loop, answering events, until the two seconds are up.
        qint64 t = platform.clockMs();
        while ((t - t0) * 0.001 < 2.0) {
            platform.waitEvents(t0 + 2000);
            t = platform.clockMs();
        }
        t0 = platform.clockMs();
    }
}

void TextExercise::btnStartClick() {
    start(QString());
}

void TextExercise::start(const QString& note, const QString& lead) {
    if (practiceText_[0] == '\0') {
        Platform::get().messageBox(c_.window, text(kNoText));
        return;
    }
    c_.disableTools();
    showStartPrompts(note, lead);

    elapsedSeconds = 0;
    c_.timer->start();
    c_.btnStart->setEnabled(false);
    c_.btnStop->setEnabled(true);
    keyboard_.practiceRunning = true;

    c_.display->setCaption(withChar(kFirstKey, practiceText_[0]));
    c_.speech->textAt(practiceText_, 0);
    cursorPos = 0;
    c_.memo->setCaret(0);
    c_.memo->setPlainText(QString::fromLatin1(practiceText_));
    c_.memo->setCaret(0);
    keyboard_.keyboardColoured = false;

    const int length = textLength();
    c_.bar->setMaximum(length);
    c_.bar->setMinimum(0);
    c_.bar->setValue(0);
    tally_.begin(record_, runMode_, textSource_);
    c_.sounds->begin();
    if (c_.pace)
        c_.pace->begin(
            runMode_, textSource_, QByteArrayView(practiceText_, length),
            [this] { return cursorPos; },
            [this](int at) { return panePosition(practiceText_, at); });
}

void TextExercise::Timer1Timer() {
    ++elapsedSeconds;
    if (!keyboard_.practiceRunning) return;
    c_.lcd->setCaption(QString::asprintf("%02d:%02d", elapsedSeconds / 60, elapsedSeconds % 60));
    c_.bar->setValue(cursorPos);
}

JudgeOutcome TextExercise::judgeKey(quint16 key, bool shift, quint16& paneKey) {
    const char expected = practiceText_[cursorPos];
    if (expected == '\r' && (key == vkReturn || key == vkSpace)) {
        // A line end takes Enter or Space and passes the CR LF pair at once.
        cursorPos += 2;
        // The record counts both characters of the pair as typed.
        tally_.accept(vkReturn, key, shift, 2);
        c_.sounds->key(true);
        c_.memo->setCaret(panePosition(practiceText_, cursorPos));
        paneKey = vkDown;
    } else {
        const KeyEntry& entry = keyboard_.table[key & 0xFF];
        const char typed = shift ? entry.shiftedChar : entry.baseChar;
        if (typed != expected) {
            record_.missTotal += 1;
            record_.keyStats[key & 0xFF].misses += 1;
            record_.runMisses += 1;
            const int due = keyOfChar(expected);
            const KeyEntry& dueEntry = keyboard_.table[std::size_t(due) & 0xFF];
            const bool shiftDue = dueEntry.shiftedChar == expected && dueEntry.baseChar != expected;
            tally_.miss(due, key & 0xFF, shift, shiftSlip(shift, shiftDue));
            c_.sounds->key(false);
            c_.speech->missChar(expected);
            return JudgeOutcome::Mistype;
        }
        tally_.accept(keyOfChar(expected), key, shift);
        c_.sounds->key(true);
        cursorPos += 1;
        record_.keyStats[key & 0xFF].tries += 1;
        c_.memo->setCaret(panePosition(practiceText_, cursorPos));
    }

    if (cursorPos > textLength() && textRunsOut && goOnWith(textRunsOut())) {
        // The run goes on over the next text, as from its start.
    } else if (cursorPos > textLength()) {
        btnStopClick();
        return JudgeOutcome::Finished;
    }
    const char next = practiceText_[cursorPos];
    if (next == '\r')
        c_.display->setCaption(
            QCoreApplication::translate("TextExercise", "次のキーは [改行||空白]です。"));
    else
        c_.display->setCaption(withChar(kNextKey, next));
    record_.keyStats[static_cast<unsigned char>(next)].tries += 1;
    c_.speech->textAt(practiceText_, cursorPos);
    return JudgeOutcome::Accepted;
}

void TextExercise::btnStopClick() {
    c_.enableTools();
    c_.timer->stop();
    keyboard_.practiceRunning = false;
    c_.sounds->end();
    if (c_.pace) c_.pace->end(cursorPos > textLength());

    // A graded test counts its characters but leaves the practice speeds alone.
    const bool test = runMode_ == QStringLiteral("test");
    if (elapsedSeconds != 0 && cursorPos != 0) {
        if (test)
            record_.typedTotal += cursorPos;
        else
            record_.addRunSpeed(cursorPos, elapsedSeconds);
        saveRecord(record_, c_.window);
    }
    c_.display->setCaption(
        QCoreApplication::translate("TextExercise", "スピードは %1文字/秒 です")
            .arg(QString::asprintf("%.1f", static_cast<double>(record_.currentRate))));
    c_.speech->end(RunSpeech::textEnd(double(record_.currentRate), record_.runMisses));
    c_.btnStop->setEnabled(false);
    // Last, so what the run leads to (the course's verdict) may take the prompt line.
    RunSummary run;
    if (elapsedSeconds != 0 && cursorPos != 0 &&
        tally_.finish(record_, elapsedSeconds,
                      test ? double(cursorPos) / elapsedSeconds : double(record_.currentRate),
                      cursorPos > textLength(), run)) {
        c_.display->setCaption(c_.display->caption() + RunTally::rhythmNote(run.rhythm));
        if (c_.onRun) c_.onRun(run);
    }
}

void TextExercise::startLesson(const QString& fileName) {
    if (loadPracticeText(fileName) == 0) {
        runMode_ = QStringLiteral("lesson");
        btnStartClick();
        return;
    }
    Platform::get().messageBox(
        c_.window,
        QCoreApplication::translate("TextExercise", "テキストが見つかりません\n%1を作成して下さい")
            .arg(fileName));
}

void TextExercise::btnExerciseClick() {
    switch (record_.level) {
    case 0:
        startLesson(QStringLiteral("Lesson1.txt"));
        break;
    case 1:
        startLesson(QStringLiteral("Lesson2.txt"));
        break;
    case 2:
        startLesson(QStringLiteral("Lesson3.txt"));
        break;
    default:
        break; // only a damaged record holds another level
    }
}

bool TextExercise::goOnWith(const QByteArray& bytes) {
    const QByteArray text = preparePracticeText(bytes);
    if (text.isEmpty()) return false;
    const qsizetype n = qMin<qsizetype>(text.size(), kTextSize - 1);
    std::memcpy(practiceText_, text.constData(), std::size_t(n));
    practiceText_[n] = '\0';
    record_.textLength = textLength();
    record_.wordCount = countWords(practiceText_, record_.textLength);
    cursorPos = 0;
    c_.memo->setPlainText(QString::fromLatin1(practiceText_));
    c_.memo->setCaret(0);
    c_.bar->setMaximum(textLength());
    c_.bar->setValue(0);
    return true;
}

bool TextExercise::startMadeText(const QByteArray& bytes, const QString& mode,
                                 const QString& source, const QString& note, const QString& lead) {
    // A text that prepares to nothing would leave the previous text to run.
    if (preparePracticeText(bytes).isEmpty()) return false;
    loadPracticeBytes(bytes);
    runMode_ = mode;
    textSource_ = source;
    start(note, lead);
    return true;
}
