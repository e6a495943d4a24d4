#include "Colors.h"

#include <QApplication>
#include <QPalette>

QColor toQColor(TColor c) {
    if (isSystemColor(c)) {
        const QPalette pal = QApplication::palette();
        switch (c & 0xFFu) {
        case 5:
            return pal.color(QPalette::Base); // clWindow
        case 8:
            return pal.color(QPalette::WindowText); // clWindowText
        case 15:
            return pal.color(QPalette::Button); // clBtnFace
        case 16:
            return pal.color(QPalette::Dark); // clBtnShadow
        case 18:
            return pal.color(QPalette::ButtonText); // clBtnText
        case 20:
            return pal.color(QPalette::Light); // clBtnHighlight
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}
