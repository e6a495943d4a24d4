#pragma once
#include "SettingsSection.h"

class QCheckBox;
class QSpinBox;

// The daily goal: minutes of practice a day, or none (the check box off, kept as 0).
class GoalSection : public SettingsSection {
    Q_OBJECT
public:
    explicit GoalSection(QWidget* parent = nullptr);
    void fill(HistoryReader* history, const QString& locked) override;
    void save(HistoryReader* history) override;

    QCheckBox* cbGoal;
    QSpinBox* spGoalMinutes;
};
