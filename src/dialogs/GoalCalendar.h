#pragma once
#include "GoalDays.h"

#include <QDate>
#include <QMap>
#include <QWidget>

class HistoryReader;
class QLabel;

// The last year of practice, one cell a day in a column a week (Sunday on top), shaded
// by the minutes practised, the days that met the daily goal framed, with the current
// and longest streak in words below. Resting the mouse on a cell tells its day.
class GoalCalendar : public QWidget {
    Q_OBJECT
public:
    explicit GoalCalendar(QWidget* parent = nullptr);
    void setHistory(HistoryReader* reader);
    // Reads the goal and the days again; a shown calendar does so itself, so one never
    // looked at never queries the history.
    void fill();

    static constexpr int kWeeks = 53;
    // The day shown at pos; invalid off the cells.
    QDate dayAt(const QPoint& pos) const;
    QRect cellRect(const QDate& day) const;
    QDate firstDay() const { return first_; }
    QDate today() const { return today_; }
    // 0 for a day without practice, up to 4 for the most.
    static int shade(double seconds);
    bool metGoal(const QDate& day) const;
    // What the detail line says of a day.
    QString describe(const QDate& day) const;
    const goal::Streaks& streaks() const { return streaks_; }

    QLabel *lbCurrent, *lbLongest, *lbToday;

signals:
    // Text for the page's detail line; empty when the mouse left the cells.
    void hovered(const QString& text);

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    double secondsOn(const QDate& day) const { return days_.value(day, 0.0); }

    HistoryReader* reader_ = nullptr;
    QMap<QDate, double> days_;
    int goal_ = goal::kDefaultMinutes;
    QDate today_, first_;
    goal::Streaks streaks_;
    QDate hovered_;
};
