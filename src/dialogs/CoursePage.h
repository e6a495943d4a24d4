#pragma once
#include "Course.h"
#include "HistoryTypes.h"

#include <QWidget>

class QSpinBox;

// The course's page: its two targets, a keyboard of the track's keys coloured by how
// each stands against them, and the count of unlocked keys over time.
class CoursePage : public QWidget {
    Q_OBJECT
public:
    explicit CoursePage(QWidget* parent = nullptr);
    void setHistory(HistoryReader* reader);
    // Reads the targets and the figures again.
    void fill();
    // Keeps changed targets in the history.
    void save();

    QSpinBox *spSpeed, *spAccuracy;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    HistoryReader* reader_ = nullptr;
    course::Track track_ = course::Track::Letters;
    int unlocked_ = 0;
    std::map<int, course::KeyStanding> standings_;
    QList<CourseStep> steps_;
};
