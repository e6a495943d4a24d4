#include "ExposeRepaint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

class ExposeRepaint : public QObject {
public:
    explicit ExposeRepaint(QWidget* window) : QObject(window), widget_(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        // The platform window exists from the first show; a new one may follow a hide.
        if (o == widget_ && e->type() == QEvent::Show && widget_->windowHandle() != window_) {
            window_ = widget_->windowHandle();
            if (window_) window_->installEventFilter(this);
        } else if (o == window_ && e->type() == QEvent::Expose && window_->isExposed()) {
            widget_->update();
            for (QWidget* child : widget_->findChildren<QWidget*>()) child->update();
        }
        return false;
    }

private:
    QWidget* widget_;
    QPointer<QWindow> window_;
};

} // namespace

void repaintWholeOnExpose(QWidget* window) {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) new ExposeRepaint(window);
}
