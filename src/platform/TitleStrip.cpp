#include "TitleStrip.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

namespace {

class TitleStrip : public QWidget {
public:
    explicit TitleStrip(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("TitleStrip"));
        // Every window takes a close; the main window's acts as its exit button.
        close_ = new QToolButton(this);
        close_->setObjectName(QStringLiteral("TitleClose"));
        close_->setAutoRaise(true);
        close_->setFocusPolicy(Qt::NoFocus);
        close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
        connect(close_, &QToolButton::clicked, window, &QWidget::close);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const bool active = window()->isActiveWindow();
        p.fillRect(rect(), palette().color(QPalette::Window).darker(active ? 115 : 105));
        p.setPen(
            palette().color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        const int right = close_->x();
        const QRect text = rect().adjusted(8, 0, right - width() - 4, 0);
        p.drawText(
            text, Qt::AlignVCenter | Qt::AlignLeft,
            QFontMetrics(f).elidedText(window()->windowTitle(), Qt::ElideRight, text.width()));
    }
    void resizeEvent(QResizeEvent*) override {
        close_->setGeometry(width() - height(), 0, height(), height());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }

private:
    QToolButton* close_;
};

class TitleSwap : public QObject {
public:
    explicit TitleSwap(QWidget* window) : QObject(window), widget_(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == widget_) {
            if (e->type() == QEvent::Show && widget_->windowHandle() != window_) {
                window_ = widget_->windowHandle();
                if (window_) window_->installEventFilter(this);
            } else if (strip_ && (e->type() == QEvent::WindowTitleChange ||
                                  e->type() == QEvent::ActivationChange)) {
                strip_->update();
            } else if (strip_ && e->type() == QEvent::Resize) {
                strip_->resize(widget_->width(), strip_->height());
            }
        } else if (o == window_ && e->type() == QEvent::Expose && !swapping_ &&
                   window_->isExposed() && window_->frameMargins().top() > 0 && fixedSize()) {
            // Changed once the expose is through, not inside it.
            swapping_ = true;
            QMetaObject::invokeMethod(this, &TitleSwap::swap, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool fixedSize() const { return widget_->minimumSize() == widget_->maximumSize(); }

    // Qt takes its bar away when the window turns frameless; the contents move down by
    // the height of the strip that takes its place, and the window grows by as much.
    void swap() {
        strip_ = new TitleStrip(widget_);
        const int h = widget_->fontMetrics().height() + 10;
        if (QLayout* l = widget_->layout()) {
            QMargins m = l->contentsMargins();
            m.setTop(m.top() + h);
            l->setContentsMargins(m);
        } else {
            for (QObject* c : widget_->children()) {
                auto* w = qobject_cast<QWidget*>(c);
                if (w && w != strip_ && !w->isWindow()) w->move(w->x(), w->y() + h);
            }
        }
        widget_->setFixedSize(widget_->width(), widget_->height() + h);
        strip_->setGeometry(0, 0, widget_->width(), h);
        strip_->show();
        widget_->overrideWindowFlags(widget_->windowFlags() | Qt::FramelessWindowHint);
        window_->setFlags(widget_->windowFlags());
    }

    QWidget* widget_;
    QPointer<QWindow> window_;
    TitleStrip* strip_ = nullptr;
    bool swapping_ = false;
};

} // namespace

void ownTitleBarOnWayland(QWidget* window) {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) new TitleSwap(window);
}
