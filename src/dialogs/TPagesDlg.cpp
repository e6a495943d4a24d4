#include "TPagesDlg.h"

TPagesDlg::TPagesDlg(PracticeRecord& record, QWidget* parent) : QDialog(parent), record_(record) {
    setWindowTitle(QStringLiteral("各種設定・表示"));
    onShow();
}

void TPagesDlg::onShow() {}

void TPagesDlg::showEvent(QShowEvent* e) {
    onShow();
    QDialog::showEvent(e);
}
