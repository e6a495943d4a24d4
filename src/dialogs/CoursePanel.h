#pragma once
#include "Course.h"
#include "HistoryTypes.h"

#include <QWidget>

// The course at a glance: a keyboard of the track's keys coloured by how each stands
// against the targets, and the count of unlocked keys over time.
class CoursePanel : public QWidget {
    Q_OBJECT
public:
    explicit CoursePanel(QWidget* parent = nullptr);
    void setHistory(HistoryReader* reader);
    // Reads the track, its steps and the keys' figures again; a shown panel does so
    // itself, so one never looked at never queries the history.
    void fill();
    // The targets the keys are coloured against; the settings page may change them
    // before they are kept.
    void setTargets(const course::Targets& goal);

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    HistoryReader* reader_ = nullptr;
    course::Targets goal_;
    course::Track track_ = course::Track::Letters;
    int unlocked_ = 0;
    std::map<int, course::KeyStanding> standings_;
    QList<CourseStep> steps_;
};
