#pragma once
#include <QDialog>

struct PracticeRecord;

// The settings and records dialog: settings, records, mistype map, finger colours.
// Created once; every showing refills its pages from the record.
class TPagesDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPagesDlg(PracticeRecord& record, QWidget* parent = nullptr);

    void onShow();

protected:
    void showEvent(QShowEvent* e) override;

private:
    PracticeRecord& record_;
};
