#pragma once
#include "SettledHide.h"

#include <QDialog>
#include <QList>

class HistoryReader;
class QPushButton;
class SettingsSection;

// The settings the settings page has no room for (its tab row is full too): a column of
// sections, each kept in the history. OK keeps what changed in every section; Cancel
// and Esc keep nothing.
class MoreSettingsDlg : public SettledHide<QDialog> {
    Q_OBJECT
public:
    explicit MoreSettingsDlg(QWidget* parent = nullptr);

    // Fills every section; null when there is no history: the sections show, locked.
    void setHistory(HistoryReader* history);
    void keep();

    // The section with that object name, or null.
    SettingsSection* section(const QString& name) const;

    QList<SettingsSection*> sections;
    QPushButton *OKBtn, *CancelBtn;

private:
    void addSection(SettingsSection* s);
    void placeButtons();

    HistoryReader* history_ = nullptr;
    int bottom_ = 4;
};
