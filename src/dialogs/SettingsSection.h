#pragma once
#include <QGroupBox>

class HistoryReader;

// One group of the settings beyond the settings page, kept in the history's settings.
// Each opening fills it from what is kept; OK saves only what changed.
class SettingsSection : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    // locked: why the history takes no writes now (empty when it does); a locked
    // section shows what is kept and takes no changes. history may be null.
    virtual void fill(HistoryReader* history, const QString& locked) = 0;
    virtual void save(HistoryReader* history) = 0;
};
