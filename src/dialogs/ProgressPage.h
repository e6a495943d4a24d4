#pragma once
#include <QRect>
#include <QWidget>
#include <array>
#include <vector>

class ClassPanel;
class CoursePanel;
class GradesPanel;
class GoalCalendar;
class HistoryReader;
class ProgressChart;
class QPushButton;
class TPanel;

// The progress page: the chart of recent runs, the weakest keys with what was typed
// instead, the slowest keys, and the export and delete buttons; or, with the course
// button down, the course's keys and steps in their place. It reads the history
// each time it is shown, so a dialog opened on another page never queries it.
class ProgressPage : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPage(QWidget* parent = nullptr);

    // Null: no history; the page shows empty and its buttons are off.
    void setHistory(HistoryReader* reader);
    void refresh();
    void exportClick();
    void deleteClick();

    // Runs drawn one by one; beyond this the chart shows days.
    static constexpr int kRunsShown = 50;
    // The span of runs the key lists cover.
    static constexpr int kKeyRuns = 20;
    // Presses a key needs before its time can head the slow keys.
    static constexpr int kSlowPressesNeeded = 5;

    ProgressChart* chart;
    std::array<TPanel*, 5> weakKeys{};
    std::array<TPanel*, 5> slowKeys{};
    QPushButton *exportBtn, *deleteBtn, *weakBtn, *courseBtn;
    TPanel* detail;
    CoursePanel* course;
    GradesPanel* gradesView;
    GoalCalendar* calendar; // the days practised, a view
    QPushButton* calendarBtn;
    ClassPanel* classPanel; // a teacher's: shown with a teacher's service set
    QPushButton* classBtn;

    // A view beside the course's: a checkable button in the row under export and delete
    // whose panel covers the chart while it is down; one view is down at a time.
    QPushButton* addView(const char* name, const QString& caption, const QString& hint,
                         QWidget* panel);
    // Shows or hides a view's button (a view that does not apply here); the others share
    // the row.
    void setViewShown(QPushButton* button, bool shown);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillKeyLists();
    void showSummary(const QString& hover);
    void showView(QPushButton* button, QWidget* panel, bool on);
    void placeViews();

    struct View {
        QPushButton* button;
        QWidget* panel;
    };
    std::vector<View> views_;

    HistoryReader* reader_ = nullptr;
    QString summary_;
};

// The caption of a virtual-key code as its key is labelled on a JIS keyboard.
QString keyCaption(int vk);
