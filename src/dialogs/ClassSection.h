#pragma once
#include "SettingsSection.h"

class QLabel;
class QLineEdit;

// The class: the connection service a learner's runs go to, the one a teacher reads the
// class through, and one line saying how sending stands.
class ClassSection : public SettingsSection {
    Q_OBJECT
public:
    explicit ClassSection(QWidget* parent = nullptr);
    void fill(HistoryReader* history, const QString& locked) override;
    void save(HistoryReader* history) override;

    QLineEdit *service, *teacher;
    QLabel* status;

private:
    QString keptService_, keptTeacher_;
};
