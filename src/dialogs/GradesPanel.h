#pragma once
#include "Grades.h"
#include "HistoryTypes.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The way's results in the history, oldest first.
QList<TestResult> testResultsOf(HistoryReader* history, grades::Way way);

// The grade ladder of one way at a time (a switch picks it): each grade with its text
// kind, minutes, pass speed and accuracy, whether it is earned and its best score; over
// it, what the next grade needs. A passed grade selected can be saved as a certificate.
class GradesPanel : public QWidget {
    Q_OBJECT
public:
    explicit GradesPanel(QWidget* parent = nullptr);
    void setHistory(HistoryReader* reader);
    // Reads the way's results again; a shown panel does so itself.
    void fill();
    void setWay(grades::Way way);
    grades::Way way() const { return way_; }
    // Saves the selected grade's certificate: the name asked once, then a file.
    void certificateClick();

    QComboBox* wayBox;
    QLabel* next;
    QTableWidget* table;
    QPushButton* certificateBtn;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void selectionChanged();
    // The passed result with the highest net at the selected grade, none when none.
    std::optional<HistoryTest> bestPassed() const;

    HistoryReader* reader_ = nullptr;
    grades::Way way_ = grades::Way::Letters;
    QList<HistoryTest> tests_;
};
