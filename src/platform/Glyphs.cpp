#include "Glyphs.h"

#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawShape(QPainter& p, Glyph g, const QColor& ink, const QColor& fill) {
    p.setPen(QPen(ink, 1.0));
    p.setBrush(fill);
    switch (g) {
    case Glyph::Tool: { // a spanner-like gear
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2.0));
        p.drawEllipse(QPointF(8, 8), 4, 4);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(8, 8);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -5), QPointF(0, -7));
            p.restore();
        }
        break;
    }
    case Glyph::Lesson: // the home row: four keys with the F and J bumps
        for (int i = 0; i < 4; ++i) p.drawRect(QRectF(1.5 + i * 3.5, 5.5, 3, 5));
        p.setBrush(ink);
        p.drawRect(QRectF(4.5, 12, 4, 1.5));
        p.drawRect(QRectF(8, 12, 4, 1.5));
        break;
    case Glyph::Exercise: // a page of text
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(4.5, 4.5 + i * 2.5), QPointF(11.5, 4.5 + i * 2.5));
        break;
    case Glyph::File: { // an open folder
        QPainterPath path;
        path.moveTo(1.5, 4.5);
        path.lineTo(6, 4.5);
        path.lineTo(7.5, 6);
        path.lineTo(14.5, 6);
        path.lineTo(14.5, 13.5);
        path.lineTo(1.5, 13.5);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case Glyph::Keyboard: // a keyboard with coloured keys
        p.drawRect(QRectF(0.5, 4.5, 15, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(fill == Qt::white ? QColor(255, 96, 96) : fill);
        p.drawRect(QRectF(2, 6, 3, 2));
        p.setBrush(fill == Qt::white ? QColor(96, 192, 255) : fill);
        p.drawRect(QRectF(6.5, 6, 3, 2));
        p.setBrush(fill == Qt::white ? QColor(96, 208, 96) : fill);
        p.drawRect(QRectF(11, 6, 3, 2));
        p.setBrush(ink);
        p.drawRect(QRectF(4, 9.5, 8, 1.5));
        break;
    case Glyph::Exit: // a door with an arrow leaving it
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(7, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 5.5), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 10.5), QPointF(14.5, 8));
        break;
    case Glyph::About: { // a question mark in a circle
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        QFont f;
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Glyph::Start: {
        QPolygonF tri;
        tri << QPointF(4, 2) << QPointF(13, 8) << QPointF(4, 14);
        p.drawPolygon(tri);
        break;
    }
    case Glyph::Stop:
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case Glyph::Japanese: { // the kana あ on a page
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("あ"));
        break;
    }
    case Glyph::Course: { // steps rising to the right, one key at a time
        QPainterPath path;
        path.moveTo(1.5, 14.5);
        for (int i = 0; i < 4; ++i) {
            path.lineTo(1.5 + 3.25 * i, 11.5 - 3 * i);
            path.lineTo(4.75 + 3.25 * i, 11.5 - 3 * i);
        }
        path.lineTo(14.5, 2.5);
        path.lineTo(14.5, 14.5);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case Glyph::Sound: { // a loudspeaker and two waves
        QPainterPath cone;
        cone.moveTo(1.5, 6.5);
        cone.lineTo(4.5, 6.5);
        cone.lineTo(8.5, 2.5);
        cone.lineTo(8.5, 13.5);
        cone.lineTo(4.5, 9.5);
        cone.lineTo(1.5, 9.5);
        cone.closeSubpath();
        p.drawPath(cone);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
        p.drawArc(QRectF(6, 2, 9, 12), -60 * 16, 120 * 16);
        break;
    }
    case Glyph::Test: { // a medal on its ribbon: a grade earned
        QPolygonF ribbon;
        ribbon << QPointF(4.5, 0.5) << QPointF(7, 6) << QPointF(9, 6) << QPointF(11.5, 0.5);
        p.drawPolygon(ribbon);
        p.drawEllipse(QPointF(8, 10.5), 4.5, 4.5);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 10.5), 2, 2);
        break;
    }
    }
}

QColor fillOf(Glyph g) {
    switch (g) {
    case Glyph::Start:
        return QColor(0, 160, 0);
    case Glyph::Stop:
        return QColor(208, 0, 0);
    case Glyph::File:
        return QColor(240, 208, 96);
    case Glyph::About:
        return QColor(160, 208, 255);
    case Glyph::Course:
        return QColor(255, 224, 128);
    case Glyph::Sound:
        return QColor(128, 128, 128);
    case Glyph::Test:
        return QColor(240, 192, 64);
    default:
        return Qt::white;
    }
}

class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(Glyph g) : glyph_(g) {}
    QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

    void paint(QPainter* p, const QRect& r, QIcon::Mode mode, QIcon::State state) override {
        const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = scaledPixmap((QSizeF(r.size()) * dpr).toSize(), mode, state, dpr);
        pm.setDevicePixelRatio(dpr);
        p->drawPixmap(r.topLeft(), pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // size is in device pixels: the glyph is drawn to fill it, not stretched to it.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
        const bool disabled = mode == QIcon::Disabled;
        if (size == cachedSize_ && disabled == cachedDisabled_ && !cached_.isNull()) return cached_;
        const QPixmap both = makeGlyph(glyph_, size.height() / 16.0);
        const int h = both.height();
        cached_ = both.copy(disabled ? h : 0, 0, h, h);
        cached_.setDevicePixelRatio(1.0);
        cachedSize_ = size;
        cachedDisabled_ = disabled;
        return cached_;
    }

private:
    Glyph glyph_;
    QPixmap cached_;
    QSize cachedSize_;
    bool cachedDisabled_ = false;
};

} // namespace

QIcon makeGlyphIcon(Glyph g) {
    return QIcon(new GlyphEngine(g));
}

QPixmap makeGlyph(Glyph g, qreal dpr) {
    QPixmap pm(QSize(32, 16) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawShape(p, g, Qt::black, fillOf(g));
    p.translate(17, 1); // the disabled image: a white emboss under grey ink
    drawShape(p, g, Qt::white, Qt::transparent);
    p.translate(-1, -1);
    drawShape(p, g, QColor(128, 128, 128), Qt::transparent);
    return pm;
}

QPixmap makeAboutPicture(qreal dpr) {
    QPixmap pm(QSize(44, 37) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(224, 224, 224));
    p.drawRoundedRect(QRectF(1.5, 12.5, 41, 23), 3, 3);
    const QColor keys[] = {QColor(255, 128, 128), QColor(255, 208, 96), QColor(128, 224, 128),
                           QColor(128, 192, 255)};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 8; ++col) {
            p.setBrush(keys[(col / 2) % 4]);
            p.drawRect(QRectF(4 + col * 4.6 + row, 15 + row * 5.5, 3.6, 4));
        }
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12, 31, 18, 3));
    p.setBrush(QColor(255, 255, 128));
    p.drawRect(QRectF(6.5, 1.5, 31, 9));
    QFont f;
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(6.5, 1.5, 31, 9), Qt::AlignCenter, QStringLiteral("ASDF"));
    return pm;
}
