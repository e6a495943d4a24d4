#pragma once
#include "SettledHide.h"

#include <QDialog>

class QPushButton;
class TPanel;
class TSpeedButton;

// The version box: name, version and a word on what the program is for.
class TAboutBox : public SettledHide<QDialog> {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    TPanel* Panel1;
    TSpeedButton* SpeedButton1;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* e) override;
};
