#include "TPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::setCaption(const QString& c) {
    if (c == caption_) return;
    caption_ = c;
    update();
}

void TPanel::setColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    update();
}

void TPanel::setBevelInner(TBevelCut b) {
    if (b == inner_) return;
    inner_ = b;
    update();
}

void TPanel::setBevelOuter(TBevelCut b) {
    if (b == outer_) return;
    outer_ = b;
    update();
}

void TPanel::setBevelWidth(int w) {
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    update();
}

void TPanel::setBorderWidth(int w) {
    if (w == borderWidth_) return;
    borderWidth_ = w;
    update();
}

void TPanel::setBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    update();
}

void TPanel::setFontColor(TColor c) {
    if (c == fontColor_) return;
    fontColor_ = c;
    update();
}

void TPanel::setAlignment(Qt::Alignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    update();
}

namespace {
// One bevel ring of the given width, shrinking r to what lies inside it.
void drawBevel(QPainter& p, QRect& r, TBevelCut cut, int width, const QPalette& pal) {
    if (cut == bvNone || width <= 0) return;
    const QColor topLeft = cut == bvRaised ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
    const QColor bottomRight =
        cut == bvRaised ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
    for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}
} // namespace

void TPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    const QColor face = toQColor(color_);
    if (borderStyle_ == bsSingle) {
        p.setPen(palette().color(QPalette::WindowText));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    drawBevel(p, r, outer_, bevelWidth_, palette());
    if (borderWidth_ > 0) {
        p.fillRect(r, face);
        r.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    }
    drawBevel(p, r, inner_, bevelWidth_, palette());
    p.fillRect(r, face);
    if (!caption_.isEmpty()) {
        p.setFont(font());
        p.setPen(toQColor(fontColor_));
        p.drawText(r, int(alignment_) | Qt::TextSingleLine | Qt::TextDontClip, caption_);
    }
}

void TPanel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QFrame::mouseReleaseEvent(e);
}

void TPanel::mouseMoveEvent(QMouseEvent* e) {
    // Taken here so a move over a panel never reaches the widget beneath it.
    e->accept();
    emit mouseMoved();
}
