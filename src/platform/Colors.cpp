#include "Colors.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

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

namespace {
// Relative luminance of an sRGB colour, from its linearised channels.
double luminance(const QColor& c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) +
           0.0722 * channel(rgb.blue());
}
} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor legibleTextOn(TColor background) {
    const QColor face = toQColor(background);
    return contrastRatio(face, Qt::black) >= 4.5 ||
                   contrastRatio(face, Qt::black) >= contrastRatio(face, Qt::white)
               ? clBlack
               : clWhite;
}

TColor fromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}
