#pragma once
#include "SettledHide.h"

#include <QDialog>

class HistoryReader;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// The settings of the sounds: the key click, the miss and the end sound, their volume
// and the metronome, all kept in the history. A dialog of its own beside the settings
// dialog, whose tab row has no room left. Each opening shows what is kept, and OK keeps
// what changed.
class SoundDlg : public SettledHide<QDialog> {
    Q_OBJECT
public:
    explicit SoundDlg(QWidget* parent = nullptr);

    // Null when there is none: the page then shows the defaults, locked.
    void setHistory(HistoryReader* history);
    void fill();
    void keep();

    QWidget* settings; // all but the OK button
    QCheckBox *cbClickSound, *cbMissSound, *cbEndSound, *cbMetronome;
    QSlider* slVolume;
    QLabel* lbVolume;
    QSpinBox* spMetronome;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showVolume();

    HistoryReader* history_ = nullptr;
};
