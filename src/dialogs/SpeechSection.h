#pragma once
#include "SettingsSection.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// The spoken mode: on or off, the next key or the next word, and a line saying why
// nothing can be heard when that is so.
class SpeechSection : public SettingsSection {
    Q_OBJECT
public:
    explicit SpeechSection(QWidget* parent = nullptr);
    void fill(HistoryReader* history, const QString& locked) override;
    void save(HistoryReader* history) override;
    // The status line afresh from the platform.
    void showStatus();

    QCheckBox* cbSpeech;
    QRadioButton *rbFollowKey, *rbFollowWord;
    QLabel* lbSpeechStatus;
};
