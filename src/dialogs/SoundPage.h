#pragma once
#include <QWidget>

class HistoryReader;
class QCheckBox;
class QDialog;
class QLabel;
class QSlider;
class QSpinBox;

// The settings page of the sounds: the key click, the miss and the end sound, their
// volume and the metronome, all kept in the history. It fills itself each time its
// dialog opens and keeps what changed when the dialog is accepted.
class SoundPage : public QWidget {
    Q_OBJECT
public:
    explicit SoundPage(QDialog* dialog);

    // Null when there is none: the page then shows the defaults, locked.
    void setHistory(HistoryReader* history);
    void fill();
    void keep();

    QCheckBox *cbClickSound, *cbMissSound, *cbEndSound, *cbMetronome;
    QSlider* slVolume;
    QLabel* lbVolume;
    QSpinBox* spMetronome;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void showVolume();

    HistoryReader* history_ = nullptr;
};
