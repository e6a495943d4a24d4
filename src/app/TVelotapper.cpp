#include "TVelotapper.h"

#include "ClassSender.h"
#include "DesignTable.h"
#include "ExposeRepaint.h"
#include "FunctionKeys.h"
#include "Glyphs.h"
#include "GoalDays.h"
#include "GradesPanel.h"
#include "HistoryFigures.h"
#include "HistoryTypes.h"
#include "KeyCapLook.h"
#include "KeyTranslate.h"
#include "PaceChoice.h"
#include "Platform.h"
#include "RecordFile.h"
#include "SoundDlg.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TitleStrip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <utility>

namespace {

TSpeedButton* makeButton(QWidget* parent, const char* name, int left, int top, Glyph glyph,
                         const QString& hint) {
    auto* b = new TSpeedButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, top, 25, 25);
    b->setGlyph(glyph); // drawn afresh at the scale of whatever screen shows it
    b->setHint(hint);
    return b;
}

} // namespace

TVelotapper::TVelotapper(QWidget* parent, Pane pane) : SettledHide(parent), keyboard_(record_) {
    // 1. The window and its controls from the design (the pane and the words that name
    // the program in buildPane).
    createControls();
    // 3. The record, or the defaults.
    loadRecord(record_, this);
    // 4-6. The key table from the key panels, with the keyboard released.
    keyboard_.pressedKey = nullptr;
    keyboard_.keyboardColoured = false;
    keyboard_.practiceRunning = false;
    keyboard_.capsShown = false;
    keyboard_.build(this);
    nameControls();
    if (pane == Pane::Now) buildPane();
    // What waits for the class's server from earlier sessions goes once the window is up.
    classSender();
    QTimer::singleShot(kClassSendAfterStartMs, this, [this] { classSender().kick(); });
}

void TVelotapper::buildPane() {
    if (Memo) return;
    Memo = new TMemo(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setGeometry(4, 60, 361, 33);
    Memo->setFont(designFont(kTerminal, 23));
    Memo->setAccessibleName(tr("練習の文章"));
    Memo->onKeyDown = [this](QKeyEvent* e) { return keyDown(e); };
    Memo->onKeyUp = [this](QKeyEvent* e) { keyUp(e); };
    // Stacked where the design has it: above the tool bar, under the keys.
    Memo->stackUnder(keyboardFirst_);
    notice = makeLabel(this, "Label1", QRect(260, 228, 107, 12),
                       QStringLiteral("© 2026 Velotapper"), clBlue);
    if (isVisible()) {
        Memo->show();
        notice->show();
    }

    keyboard_.setPanels({CtrlPB, ShiftLeftPB, ShiftRightPB, LockPB, pnSP, Memo});
    PracticeControls pc;
    pc.window = this;
    pc.display = Display;
    pc.lcd = LCD;
    pc.memo = Memo;
    pc.bar = Bar1;
    pc.timer = Timer1;
    pc.btnStart = btnStart;
    pc.btnStop = btnStop;
    pc.enableTools = [this] { enableTools(); };
    pc.disableTools = [this] { disableTools(); };
    // The copyright line is the one place a run leaves free: the pace's figure takes it.
    pace_ = std::make_unique<PaceRunner>(Memo, notice);
    pc.pace = pace_.get();
    pc.onRun = [this](const RunSummary& finished) {
        // A graded test's run takes its score before the history has it.
        std::optional<RunSummary> scored;
        if (test_ && finished.mode == QStringLiteral("test")) {
            scored = finished;
            test_->finishRun(*scored);
        }
        const RunSummary& run = scored ? *scored : finished;
        classSender().beforeRun();
        const bool kept = history().append(run);
        if (course_) course_->runFinished(run, kept);
        if (!pace_->verdict().isEmpty()) Display->setCaption(Display->caption() + pace_->verdict());
        // Said after the run's own words, without stopping the learner.
        if (history().lastRunWaits())
            Display->setCaption(Display->caption() + tr("（履歴へは後で記録）"));
        // In the background; the next run does not wait for it.
        classSender().kick();
    };
    // Read as each run begins: the start reads no history.
    pc.sounds->choice = [this] {
        if (!history_) return SoundChoice{};
        return soundChoice([this](const QString& key) { return history_->setting(key); });
    };
    pc.speech->choice = [this] {
        if (!history_) return SpeechChoice{};
        return speechChoice([this](const QString& key) { return history_->setting(key); });
    };
    speech_ = pc.speech;
    exercise_ = std::make_unique<TextExercise>(record_, keyboard_, pc);
    drill_ = std::make_unique<Drill>(record_, keyboard_, *exercise_, pc);
    japanese_ = std::make_unique<JapaneseExercise>(record_, keyboard_, *exercise_, pc);
    japanese_->runSink = pc.onRun;
    course_ = std::make_unique<CourseExercise>(keyboard_, *exercise_, *japanese_, pc);
    test_ = std::make_unique<GradeTest>(record_, *exercise_, *japanese_, pc);
    keyboard_.judgeKey = [this](quint16 key, bool shift, quint16& paneKey) {
        if (japanese_->running()) return japanese_->judgeKey(key, shift, paneKey);
        return exercise_->judgeKey(key, shift, paneKey);
    };
    // 2. The pane starts empty, and so does the practice text.
    Memo->setPlainText(QString());
    Memo->setCaret(0);
}

TVelotapper::~TVelotapper() = default;

HistoryStore& TVelotapper::history() {
    if (!store_) store_ = std::make_unique<HistoryStore>();
    return *store_;
}

ClassSender& TVelotapper::classSender() {
    if (!class_)
        class_ = std::make_unique<ClassSender>(
            history(), [this](const QString& key) { return history().setting(key); });
    return *class_;
}

void TVelotapper::createControls() {
    setObjectName(QStringLiteral("Velotapper"));
    setWindowTitle(QStringLiteral("Velotapper"));
    // A small fixed window without minimise, maximise or close buttons: the exit
    // button is the way out, so the record is saved.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(370, 240);
    move(198, 106);
    repaintWholeOnExpose(this);
    ownTitleBarOnWayland(this);
    setFont(designFont(kPGothic, 12));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    PanelLook plain;
    Panel1 = makePanel(this, "Panel1", QRect(0, 0, 370, 61), QString(), plain);
    btnTool = makeButton(Panel1, "btnTool", 4, 4, Glyph::Tool, tr("練習の設定を行います。"));
    btnLesson = makeButton(Panel1, "btnLesson", 32, 4, Glyph::Lesson,
                           tr("フォームポジションの練習を行います。"));
    btnExercise = makeButton(Panel1, "btnExercise", 60, 4, Glyph::Exercise,
                             tr("テキストによるタイピング練習"));
    btnFile = makeButton(Panel1, "btnFile", 88, 4, Glyph::File, tr("テキストファイル読込み"));
    btnJapanese = makeButton(Panel1, "btnJapanese", 116, 4, Glyph::Japanese,
                             tr("日本語の文章で練習します。"));
    btnCourse = makeButton(Panel1, "btnCourse", 144, 4, Glyph::Course,
                           tr("キーを一つずつ増やすコースで練習します。"));
    btnSound =
        makeButton(Panel1, "btnSound", 172, 4, Glyph::Sound, tr("音とメトロノームを設定します。"));
    btnTest = makeButton(Panel1, "btnTest", 196, 4, Glyph::Test, tr("段級テストを受けます。"));
    btnKeybord =
        makeButton(Panel1, "btnKeybord", 220, 4, Glyph::Keyboard, tr("キーボードの色を変えます。"));
    btnExit = makeButton(Panel1, "btnExit", 248, 4, Glyph::Exit, tr("終了します"));
    btnAbout = makeButton(Panel1, "btnAbout", 276, 4, Glyph::About, tr("プログラムの説明をします"));
    btnStart = makeButton(Panel1, "btnStart", 308, 4, Glyph::Start, tr("練習を開始します"));
    btnStop = makeButton(Panel1, "btnStop", 336, 4, Glyph::Stop, tr("練習を中断します"));
    btnStop->setEnabled(false);
    SpeedButton4 = makeButton(this, "SpeedButton4", 4, 4, Glyph::Start, tr("スタートボタン"));
    SpeedButton5 = makeButton(this, "SpeedButton5", 8, 8, Glyph::Start, tr("スタートボタン"));
    SpeedButton4->lower(); // underneath the tool bar: never seen, never clicked
    SpeedButton5->lower();

    PanelLook display;
    display.inner = bvLowered;
    display.outer = bvLowered;
    display.borderWidth = 1;
    display.color = 0x0080FFFF;
    display.fontFamily = kTerminal;
    display.fontHeight = 19;
    Display = makePanel(Panel1, "Display", QRect(4, 28, 297, 29), QString(), display);
    PanelLook lcd;
    lcd.inner = bvLowered;
    lcd.outer = bvLowered;
    lcd.color = 0x00FFFF80;
    lcd.fontColor = clRed;
    lcd.fontFamily = kPGothic;
    LCD = makePanel(Panel1, "LCD", QRect(308, 28, 53, 29), QString(), lcd);
    // Prompts and times that run wider than these two panels shrink instead of clipping.
    Display->setShrinkToFit(true);
    LCD->setShrinkToFit(true);

    createKeyboard();

    Bar1 = new QProgressBar(this);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Bar1->setGeometry(260, 216, 110, 12);
    Bar1->setRange(0, 100);
    Bar1->setValue(0);
    Bar1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TVelotapper::Timer1Timer);

    connect(btnTool, &QToolButton::clicked, this, &TVelotapper::btnToolClick);
    connect(btnLesson, &QToolButton::clicked, this, &TVelotapper::btnLessonClick);
    connect(btnExercise, &QToolButton::clicked, this, &TVelotapper::btnExerciseClick);
    connect(btnFile, &QToolButton::clicked, this, &TVelotapper::btnFileClick);
    connect(btnJapanese, &QToolButton::clicked, this, &TVelotapper::btnJapaneseClick);
    connect(btnCourse, &QToolButton::clicked, this, &TVelotapper::btnCourseClick);
    connect(btnSound, &QToolButton::clicked, this, &TVelotapper::btnSoundClick);
    connect(btnTest, &QToolButton::clicked, this, &TVelotapper::btnTestClick);
    connect(btnKeybord, &QToolButton::clicked, this, &TVelotapper::btnKeybordClick);
    connect(btnExit, &QToolButton::clicked, this, &TVelotapper::btnExitClick);
    connect(btnAbout, &QToolButton::clicked, this, &TVelotapper::btnAboutClick);
    for (auto* b : {btnStart, SpeedButton4, SpeedButton5})
        connect(b, &QToolButton::clicked, this, &TVelotapper::btnStartClick);
    connect(btnStop, &QToolButton::clicked, this, &TVelotapper::btnStopClick);
}

void TVelotapper::createKeyboard() {
    PanelLook named; // Esc, BS, Enter, Shift, Ctrl
    named.outer = bvRaised;
    named.bevelWidth = 3;
    named.fontFamily = kPGothic;
    named.fontHeight = 12;
    PanelLook flat = named; // Tab and Lock
    flat.outer = bvNone;
    flat.border = bsSingle;

    auto charKey = [&](const char* name, const QString& caption, int left, int top) {
        const PanelLook look = keyCapLook(caption[0].toLatin1());
        const int w = caption == " " ? 73 : 25;
        const int h = caption == " " ? 25 : 29;
        return makePanel(this, name, QRect(left, top, w, h), caption, look);
    };
    auto run = [&](int first, const char* captions, int left, int top) {
        for (int i = 0; captions[i]; ++i)
            charKey(QByteArray("Panel" + QByteArray::number(first + i)).constData(),
                    QString(QChar(captions[i])), left + 24 * i, top);
    };

    // Number row.
    keyboardFirst_ = makePanel(this, "Panel51", QRect(8, 96, 25, 29), QStringLiteral("Esc"), named);
    charKey("K1", QStringLiteral("1"), 32, 96);
    run(2, "234567890", 56, 96);
    charKey("Panel11", QStringLiteral("-"), 272, 96);
    charKey("Panel12", QStringLiteral("^"), 296, 96);
    charKey("Panel13", QStringLiteral("\\"), 320, 96);
    makePanel(this, "Panel55", QRect(344, 96, 25, 29), QStringLiteral("BS"), named);
    // Q row.
    makePanel(this, "Panel52", QRect(8, 124, 33, 29), QStringLiteral("Tab"), flat);
    run(14, "QWERTYUIOP", 40, 124);
    charKey("Panel24", QStringLiteral("@"), 280, 124);
    charKey("Panel25", QStringLiteral("["), 304, 124);
    makePanel(this, "Panel57", QRect(336, 124, 33, 57), QStringLiteral("Enter"), named);
    // A row.
    LockPB = makePanel(this, "LockPB", QRect(8, 152, 41, 29), QStringLiteral("Lock"), flat);
    run(26, "ASDFGHJKL", 48, 152);
    charKey("Panel35", QStringLiteral(";"), 264, 152);
    charKey("Panel36", QStringLiteral(":"), 288, 152);
    charKey("Panel37", QStringLiteral("]"), 312, 152);
    // Z row.
    ShiftLeftPB =
        makePanel(this, "ShiftLeftPB", QRect(8, 180, 53, 29), QStringLiteral("Shift"), named);
    run(38, "ZXCVBNM", 60, 180);
    charKey("Panel45", QStringLiteral(","), 228, 180);
    charKey("Panel46", QStringLiteral("."), 252, 180);
    charKey("Panel47", QStringLiteral("/"), 276, 180);
    charKey("Panel48", QStringLiteral("_"), 300, 180);
    ShiftRightPB =
        makePanel(this, "ShiftRightPB", QRect(324, 180, 45, 29), QStringLiteral("Shift"), named);
    // Bottom row.
    CtrlPB = makePanel(this, "CtrlPB", QRect(8, 208, 41, 29), QStringLiteral("Ctrl"), named);
    pnSP = charKey("pnSP", QStringLiteral(" "), 144, 208);
}

void TVelotapper::enableTools() {
    for (auto* b : {btnTool, btnLesson, btnExercise, btnFile, btnJapanese, btnCourse, btnSound,
                    btnTest, btnKeybord, btnExit, btnStart})
        b->setEnabled(true);
    if (course_) course_->runEnded();
    if (test_) test_->runEnded();
}

void TVelotapper::disableTools() {
    for (auto* b : {btnTool, btnLesson, btnExercise, btnFile, btnJapanese, btnCourse, btnSound,
                    btnTest, btnKeybord, btnExit, btnStart})
        b->setEnabled(false);
}

bool TVelotapper::toolsEnabled() const {
    return btnExit->isEnabled();
}

QDialog* TVelotapper::built(QPointer<QDialog>& dialog, const DialogFactory& make) {
    if (!dialog && make) dialog = make(*this);
    return dialog;
}

void TVelotapper::btnToolClick() {
    if (QDialog* d = pagesDlg()) Platform::get().execDialog(d);
    // The dialog's weak-key button closes it and leaves the lesson to run here.
    if (!weakLesson_.text.isEmpty()) startWeakLesson();
}

void TVelotapper::setHistory(HistoryReader* history) {
    history_ = history;
    drill_->weakKeysWanted = [this] {
        return history_ && history_->setting(kWeakKeysSetting) == QStringLiteral("1");
    };
    drill_->recentKeyFigures = [this] {
        return history_ ? keyFigureMap(history_->keyFigures(20)) : KeyFigureMap();
    };
    fillCourse();
    test_->chosenWay = [this] {
        const bool kana = history_ && history_->setting(kKanaInputSetting) == QStringLiteral("1");
        const QList<HistoryRun> last = history_ ? history_->lastRuns(1) : QList<HistoryRun>();
        return last.isEmpty() ? grades::Way::Letters
                              : wayAfterRun(last.back().mode, last.back().source, kana);
    };
    test_->results = [this](grades::Way way) { return testResultsOf(history_, way); };
    pace_->ghostFor = [this](const QString& mode, const QString& source, QByteArrayView text) {
        return paceGhostOf(history_, mode, source, text);
    };
    // Each Japanese file goes on where its last run stopped, across sessions.
    if (history_) {
        japanese_->loadPosition = [this](const QString& file) {
            return history_->setting(QStringLiteral("japanese.position:") + file);
        };
        japanese_->savePosition = [this](const QString& file, const QString& position) {
            history_->setSetting(QStringLiteral("japanese.position:") + file, position);
        };
    }
}

void TVelotapper::sayTodaysGoal() {
    if (std::exchange(goalSaid_, true) || !history_) return;
    if (!toolsEnabled() || !Display->caption().isEmpty()) return;
    const int minutes = goal::minutesOf(history_->setting(goal::kMinutesSetting));
    if (minutes <= 0) return;
    const QDate today = goal::localToday();
    const double done = history_->dailySeconds(today, today).value(today);
    // A history that could not be read does not know what was done today.
    if (history_->cannotRead().isEmpty()) Display->setCaption(goal::todayPrompt(done, minutes));
}

void TVelotapper::fillCourse() {
    course_->kanaWanted = [this] {
        return history_ && history_->setting(kKanaInputSetting) == QStringLiteral("1");
    };
    course_->targets = [this] { return courseTargets(history_); };
    course_->loadUnlocked = [this](course::Track track) {
        return history_ ? mostUnlocked(history_->courseSteps(course::trackName(track))) : 0;
    };
    course_->saveUnlocked = [this](course::Track track, int unlocked) {
        return history_ && history_->addCourseStep(course::trackName(track), unlocked);
    };
    course_->recentRuns = [this](course::Track track) { return courseRunFigures(history_, track); };
}

bool TVelotapper::prepareWeakLesson(QWidget* parent) {
    Platform& platform = Platform::get();
    const QList<HistoryKey> keys =
        history_ && history_->runCount() > 0 ? history_->keyFigures(20) : QList<HistoryKey>();
    QList<int> shiftLeftOut;
    for (const HistoryKey& k : keys)
        if (k.topTyped == k.vk && k.topShift == 1) shiftLeftOut << k.vk;
    const QList<int> ranking = rankShift(weakestKeys(keyFigureMap(keys), 256), shiftLeftOut);
    if (ranking.isEmpty()) {
        platform.messageBox(parent, tr("まだ練習の記録がありません。"));
        return false;
    }
    // The learner's own lesson files first, then the copies the package ships.
    const QStringList folders = {QDir::currentPath(),
                                 QApplication::applicationDirPath() +
                                     QStringLiteral("/../share/velotapper/lessons")};
    // Each lesson its own draw of words, not the same one at every start of the program.
    platform.seedRandom(quint32(platform.calendarMs()));
    weakLesson_ = weakKeyLesson(lessonWords(readLessonTexts(folders)), ranking,
                                [&platform] { return platform.random(); });
    if (weakLesson_.text.isEmpty()) {
        platform.messageBox(parent, tr("苦手キーで練習できるレッスンの言葉が見つかりません。"));
        return false;
    }
    return true;
}

void TVelotapper::startWeakLesson() {
    if (weakLesson_.text.isEmpty() && !prepareWeakLesson(this)) return;
    const WeakLesson lesson = std::exchange(weakLesson_, WeakLesson{});
    const QString note = weakKeyNote(lesson.keys);
    exercise_->startMadeText(lesson.text, QStringLiteral("weak"), note, note);
}

void TVelotapper::btnLessonClick() {
    drill_->btnLessonClick();
}
void TVelotapper::btnExerciseClick() {
    exercise_->btnExerciseClick();
}
void TVelotapper::btnFileClick() {
    (void)exercise_->btnFileClick();
}
void TVelotapper::btnJapaneseClick() {
    if (history_)
        japanese_->setKanaInput(history_->setting(kKanaInputSetting) == QStringLiteral("1"));
    japanese_->btnJapaneseClick();
}

void TVelotapper::btnSoundClick() {
    if (!soundDlg_) soundDlg_ = new SoundDlg(this);
    soundDlg_->setHistory(history_);
    Platform::get().execDialog(soundDlg_);
}

void TVelotapper::btnTestClick() {
    test_->btnTestClick();
}

void TVelotapper::btnCourseClick() {
    course_->btnCourseClick();
}
void TVelotapper::btnKeybordClick() {
    keyboard_.btnKeybordClick();
}
void TVelotapper::btnStartClick() {
    exercise_->btnStartClick();
}
void TVelotapper::btnStopClick() {
    if (japanese_->running())
        japanese_->btnStopClick();
    else
        exercise_->btnStopClick();
}
void TVelotapper::Timer1Timer() {
    if (japanese_->running())
        japanese_->Timer1Timer();
    else
        exercise_->Timer1Timer();
    if (test_->running()) test_->tick();
}

void TVelotapper::toggleSpeech() {
    if (!history_ || !history_->cannotWrite().isEmpty()) return;
    const bool on = history_->setting(kSpeechOnSetting) != QStringLiteral("1");
    history_->setSetting(kSpeechOnSetting, on ? QStringLiteral("1") : QStringLiteral("0"));
    // The last words of the spoken mode tell that it is off.
    Platform::get().say(on ? tr("音声をオンにしました。") : tr("音声をオフにしました。"),
                        RunSpeech::language());
}

void TVelotapper::btnExitClick() {
    saveRecord(record_, this);
    Timer1->stop();
    // What waits for a history another program holds gets a last moment here; it is
    // kept beside the history for the next start either way.
    if (store_) store_->finish(HistoryStore::kExitWaitMs);
    exiting_ = true;
    close();
}

void TVelotapper::btnAboutClick() {
    if (QDialog* d = aboutBox()) Platform::get().execDialog(d);
}

int TVelotapper::keyDown(QKeyEvent* e) {
    const TranslatedKey k = translateKeyEvent(*e);
    if (runFunctionKey(*this, k)) return 0;
    quint16 key = k.code;
    keyboard_.MemoKeyDown(key, k.shift, k.ctrl);
    if (const QString said = exploring_ ? exploredText(k.code) : QString(); !said.isEmpty())
        Display->setCaption(said);
    return key;
}

void TVelotapper::keyUp(QKeyEvent* e) {
    // X sends a release before every repeated press; a held key must look held.
    if (e->isAutoRepeat()) return;
    const TranslatedKey k = translateKeyEvent(*e);
    keyboard_.MemoKeyUp(k.code, k.shift, k.ctrl);
}

bool TVelotapper::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::ShortcutOverride:
        e->accept();
        return true;
    case QEvent::KeyPress:
        buildPane(); // a key before the program built it still finds the pane
        // Outside a run F8 turns the spoken mode on or off; in a run it is judged.
        if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_F8 && toolsEnabled()) {
            toggleSpeech();
            return true;
        }
        if (keyDown(static_cast<QKeyEvent*>(e)) == 40) Memo->followCaret();
        return true;
    case QEvent::KeyRelease:
        keyUp(static_cast<QKeyEvent*>(e));
        return true;
    default:
        return QWidget::event(e);
    }
}

void TVelotapper::closeEvent(QCloseEvent* e) {
    if (exiting_) {
        e->accept();
        return;
    }
    if (exploring_) endExploration(); // nothing to finish there
    // A close from the desktop (Alt+F4, session end) is the exit button: save first.
    // While a run or a drill is in progress the exit button is disabled, and so is this.
    if (!toolsEnabled()) {
        e->ignore();
        return;
    }
    btnExitClick();
    e->accept();
}
