#pragma once
#include "ClassService.h"

#include <QWidget>

class ProgressChart;
class QLabel;
class QPushButton;
class QTableWidget;

// The teacher's view of the class: one row a learner as the class's server sums them up,
// sortable by any column; the chosen learner's last runs in the chart under it; the
// table as CSV. It reads the server when it is shown, and again when asked.
class ClassPanel : public QWidget {
    Q_OBJECT
public:
    explicit ClassPanel(QWidget* parent = nullptr);

    // The teacher's service; empty: nothing to read.
    void setService(const QString& service) { service_ = service; }
    void load();
    void exportClick();
    // The table as CSV text, in the order it is shown.
    QString csv() const;

    QTableWidget* table;
    ProgressChart* chart;
    QLabel* status;
    QPushButton* exportBtn;
    // How long the last load took, reading and filling.
    qint64 lastLoadMs = 0;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void chooseRow();

    QString service_;
    QList<ClassLearner> learners_;
};
