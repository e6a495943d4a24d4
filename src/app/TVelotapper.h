#pragma once
#include "CourseExercise.h"
#include "Drill.h"
#include "GradeTest.h"
#include "HistoryStore.h"
#include "JapaneseExercise.h"
#include "OnScreenKeyboard.h"
#include "PaceRunner.h"
#include "PracticeRecord.h"
#include "SettledHide.h"
#include "TextExercise.h"
#include "WeakLesson.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class ClassSender;
class HistoryReader;
class QDialog;
class SoundDlg;
class QLabel;
class QProgressBar;
class QTimer;
class TMemo;
class TPanel;
class TSpeedButton;

// The main window: tool buttons, prompt and time panels, the text pane, the
// on-screen keyboard and the progress bar. It owns the record and all practice state.
class TVelotapper : public SettledHide<QWidget> {
    Q_OBJECT
public:
    // The text pane and the practice that goes through it are built by the constructor,
    // or with AfterShow by buildPane, which the program calls once it has asked for the
    // window to be shown: the pane lays out its text as it is made, which reads the font
    // configuration and opens faces, and the window's mapping need not wait for that.
    // Its first frame, drawn only once the event loop runs, has the pane either way.
    enum class Pane { Now, AfterShow };
    explicit TVelotapper(QWidget* parent = nullptr, Pane pane = Pane::Now);
    ~TVelotapper() override;
    void buildPane();

    // Builds a window it opens, parented to it; called the first time that window is
    // wanted, so start-up pays only for what the first paint shows.
    using DialogFactory = std::function<QDialog*(TVelotapper& window)>;
    void setAboutBox(DialogFactory make) { makeAboutBox_ = std::move(make); }
    void setPagesDlg(DialogFactory make) { makePagesDlg_ = std::move(make); }
    // The window, built on first use and kept; null without a factory.
    QDialog* aboutBox() { return built(aboutBox_, makeAboutBox_); }
    QDialog* pagesDlg() { return built(pagesDlg_, makePagesDlg_); }

    // The run history the adaptive practice reads; null when there is none.
    void setHistory(HistoryReader* history);

    // The lesson built on the weak keys. prepare builds it and keeps it for the next
    // start; false, after a message to parent, when there is nothing to practise yet.
    bool prepareWeakLesson(QWidget* parent);
    void startWeakLesson();

    PracticeRecord& record() { return record_; }
    OnScreenKeyboard& keyboard() { return keyboard_; }
    TextExercise& exercise() { return *exercise_; }
    // The run history; made on first use and opening its file only when read or written.
    HistoryStore& history();
    // Sends the runs to the class's server, when one is set.
    ClassSender& classSender();
    static constexpr int kClassSendAfterStartMs = 3000;
    JapaneseExercise& japanese() { return *japanese_; }
    CourseExercise& course() { return *course_; }
    PaceRunner& pace() { return *pace_; }
    GradeTest& gradeTest() { return *test_; }

    // Says in the prompt, once a session, how much of today's goal is left; nothing with
    // the goal off, without a history, or over a run's prompt. For after the first frame.
    void sayTodaysGoal();

    void enableTools();
    void disableTools();
    bool toolsEnabled() const;

    // Key exploration: each key pressed is named with its finger on the prompt line,
    // nothing is judged or counted, and Esc ends it.
    void startExploration();
    void endExploration();
    bool exploring() const { return exploring_; }
    // What exploration says of a key: its legend as the keyboard shows it now, and its
    // finger; empty for a key without a panel.
    QString exploredText(quint16 vk) const;
    // F12 during a run: what the stop button does (Esc in the drill, which has none).
    void stopKey();
    // F4: the file, and its run once it is loaded.
    void fileKey();

    void btnToolClick();
    void btnLessonClick();
    void btnExerciseClick();
    void btnFileClick();
    void btnJapaneseClick();
    void btnCourseClick();
    void btnSoundClick();
    void btnTestClick();
    void btnKeybordClick();
    void btnExitClick();
    // The spoken mode on or off (F8 outside a run), kept in the history and said.
    void toggleSpeech();
    void btnAboutClick();
    void btnStartClick();
    void btnStopClick();
    void Timer1Timer();

    TSpeedButton *btnTool, *btnLesson, *btnExercise, *btnFile, *btnKeybord, *btnExit, *btnAbout,
        *btnStart, *btnStop, *SpeedButton4, *SpeedButton5, *btnJapanese, *btnCourse, *btnSound,
        *btnTest;
    TPanel *Panel1, *Display, *LCD;
    TPanel *CtrlPB, *ShiftLeftPB, *ShiftRightPB, *LockPB, *pnSP;
    TMemo* Memo = nullptr;
    QProgressBar* Bar1;
    QLabel* notice = nullptr;
    QTimer* Timer1;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* keyboardFirst_ = nullptr; // the first key panel: the pane is stacked under it
    void createControls();
    void createKeyboard();
    void fillCourse();
    // Key events of the window and of the pane; returns the key the pane acts on.
    int keyDown(QKeyEvent* e);
    void keyUp(QKeyEvent* e);
    // Names for screen readers of the controls the design leaves without a caption.
    void nameControls();
    QDialog* built(QPointer<QDialog>& dialog, const DialogFactory& make);

    PracticeRecord record_;
    OnScreenKeyboard keyboard_;
    std::unique_ptr<TextExercise> exercise_;
    std::unique_ptr<Drill> drill_;
    std::unique_ptr<HistoryStore> store_;
    std::unique_ptr<ClassSender> class_; // after the store it sends from
    std::unique_ptr<JapaneseExercise> japanese_;
    std::unique_ptr<CourseExercise> course_;
    std::unique_ptr<PaceRunner> pace_;
    std::unique_ptr<GradeTest> test_;
    std::shared_ptr<RunSpeech> speech_;
    HistoryReader* history_ = nullptr;
    WeakLesson weakLesson_; // built, not yet run
    DialogFactory makeAboutBox_, makePagesDlg_;
    QPointer<QDialog> aboutBox_, pagesDlg_;
    bool exiting_ = false;
    bool goalSaid_ = false;
    bool exploring_ = false;
    SoundDlg* soundDlg_ = nullptr; // built on first use
};
