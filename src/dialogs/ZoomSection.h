#pragma once
#include "SettingsSection.h"

class QLabel;
class QRadioButton;

// The display zoom, 100, 150 or 200 percent, taken at the next start.
inline const QString kZoomSetting = QStringLiteral("view.zoom");

class ZoomSection : public SettingsSection {
    Q_OBJECT
public:
    explicit ZoomSection(QWidget* parent = nullptr);
    void fill(HistoryReader* history, const QString& locked) override;
    void save(HistoryReader* history) override;
    // The chosen zoom in percent.
    int zoom() const;

    QRadioButton *rbZoom100, *rbZoom150, *rbZoom200;
    QLabel* lbZoomNote;
};
