#pragma once
#include "Glyphs.h"

#include <QPixmap>
#include <QToolButton>

// A flat tool button with a two-state glyph: one 32 x 16 picture whose left half is
// the normal image and right half the disabled image. Its hint is its tooltip.
class TSpeedButton : public QToolButton {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    void setGlyph(const QPixmap& twoStates);
    // A 16 x 16 glyph drawn at whatever scale the button is painted with.
    void setGlyph(Glyph g);
    QString hint() const { return toolTip(); }
    // The hint is also the name a screen reader gives the button.
    void setHint(const QString& h) {
        setToolTip(h);
        setAccessibleName(h);
    }
};
