#include "TPanel.h"

#include "PanelAccessible.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>
#include <utility>

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    static const bool readable = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    (void)readable;
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::setCaption(const QString& c) {
    if (c == caption_) return;
    const QString old = std::exchange(caption_, c);
    fitCaption();
    update();
    // A screen reader hears of the change; without one this costs a flag test.
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent text(this, 0, old, caption_);
        QAccessible::updateAccessibility(&text);
        if (accessibleName().isEmpty()) {
            QAccessibleEvent name(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&name);
        }
    }
}

QString TPanel::readName() const {
    if (!accessibleName().isEmpty()) return accessibleName();
    if (label_.isEmpty() || caption_.isEmpty()) return label_.isEmpty() ? caption_ : label_;
    return QCoreApplication::translate("TPanel", "%1：%2").arg(label_, caption_);
}

void TPanel::setKeepLegible(bool on) {
    if (on == keepLegible_) return;
    keepLegible_ = on;
    update();
}

QColor TPanel::textColor() const {
    const QColor pen = toQColor(fontColor_);
    if (!keepLegible_ || contrastRatio(pen, toQColor(color_)) >= 4.5) return pen;
    return toQColor(legibleTextOn(color_));
}

void TPanel::setPressable(bool on) {
    pressable_ = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TPanel::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    if (pressable_ && (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter)) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(e);
}

void TPanel::focusInEvent(QFocusEvent* e) {
    update();
    QFrame::focusInEvent(e);
}

void TPanel::focusOutEvent(QFocusEvent* e) {
    update();
    QFrame::focusOutEvent(e);
}

void TPanel::setShrinkToFit(bool on) {
    if (on == shrinkToFit_) return;
    shrinkToFit_ = on;
    fitCaption();
    update();
}

QRect TPanel::inside(QRect r) const {
    if (borderStyle_ == bsSingle) r.adjust(1, 1, -1, -1);
    const int bevel = qMax(bevelWidth_, 0);
    const int ring =
        (outer_ != bvNone ? bevel : 0) + qMax(borderWidth_, 0) + (inner_ != bvNone ? bevel : 0);
    return r.adjusted(ring, ring, -ring, -ring);
}

void TPanel::fitCaption() {
    if (!shrinkToFit_ || caption_.isEmpty()) {
        fitted_.reset();
        return;
    }
    // Each caption is measured once per font and size: the prompts repeat key after
    // key, and a look-up costs far less than shaping the text again.
    auto it = fittedSizes_.constFind(caption_);
    if (it == fittedSizes_.cend()) {
        if (fittedSizes_.size() >= 256) fittedSizes_.clear();
        const qreal room = inside(rect()).width();
        const auto width = [this](const QFont& f) {
            const QFontMetricsF fm(f, this);
            return qMax(fm.horizontalAdvance(caption_), fm.boundingRect(caption_).width());
        };
        int size = 0; // the panel's own font fits
        QFont f = font();
        if (width(f) > room) {
            for (size = QFontInfo(f).pixelSize() - 1; size > 1; --size) {
                f.setPixelSize(size);
                if (width(f) <= room) break;
            }
        }
        it = fittedSizes_.insert(caption_, size);
    }
    if (*it == 0) {
        fitted_.reset();
    } else {
        fitted_ = font();
        fitted_->setPixelSize(*it);
    }
}

void TPanel::refit() {
    if (!shrinkToFit_) return;
    fittedSizes_.clear();
    fitCaption();
}

void TPanel::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) refit();
    QFrame::changeEvent(e);
}

void TPanel::resizeEvent(QResizeEvent* e) {
    refit();
    QFrame::resizeEvent(e);
}

void TPanel::setColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    update();
}

void TPanel::setBevelInner(TBevelCut b) {
    if (b == inner_) return;
    inner_ = b;
    refit();
    update();
}

void TPanel::setBevelOuter(TBevelCut b) {
    if (b == outer_) return;
    outer_ = b;
    refit();
    update();
}

void TPanel::setBevelWidth(int w) {
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    refit();
    update();
}

void TPanel::setBorderWidth(int w) {
    if (w == borderWidth_) return;
    borderWidth_ = w;
    refit();
    update();
}

void TPanel::setBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    refit();
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
    // Filled one-pixel strips rather than lines: a line is one device pixel thick and
    // would leave gaps at a scale above 100 %.
    for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
        p.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
        p.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
        p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}
} // namespace

void TPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    const QColor face = toQColor(color_);
    if (borderStyle_ == bsSingle) {
        const QColor line = palette().color(QPalette::WindowText);
        p.fillRect(r.left(), r.top(), r.width(), 1, line);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, line);
        p.fillRect(r.left(), r.top(), 1, r.height(), line);
        p.fillRect(r.right(), r.top(), 1, r.height(), line);
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
        p.setFont(fitted_ ? *fitted_ : font());
        p.setPen(textColor());
        p.drawText(r, int(alignment_) | Qt::TextSingleLine | Qt::TextDontClip, caption_);
    }
    if (pressable_ && hasFocus()) {
        // The focus as a two-pixel ring, seen on any colour the panel wears.
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
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
