#include "TSpeedButton.h"

#include <QIcon>

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TSpeedButton::setGlyph(const QPixmap& twoStates) {
    const int h = twoStates.height();
    QIcon icon;
    if (twoStates.width() >= 2 * h) {
        icon.addPixmap(twoStates.copy(0, 0, h, h), QIcon::Normal);
        icon.addPixmap(twoStates.copy(h, 0, h, h), QIcon::Disabled);
        setIconSize(QSize(h, h) / twoStates.devicePixelRatio());
    } else {
        icon.addPixmap(twoStates, QIcon::Normal);
        setIconSize(twoStates.size() / twoStates.devicePixelRatio());
    }
    setIcon(icon);
}

void TSpeedButton::setGlyph(Glyph g) {
    setIconSize(QSize(16, 16));
    setIcon(makeGlyphIcon(g));
}
