#include "SettledHide.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Qt's own wait for a frame answer before it counts the window as covered.
constexpr int kDeadlineMs = 100;

// The window's update request comes only once its last frame is answered. Until the
// hide, the widget draws nothing, so no new frame (and answer) can start meanwhile.
class FrameSettler : public QObject {
public:
    FrameSettler(QWidget* widget, QWindow* window) : widget_(widget), window_(window) {
        widget_->installEventFilter(this);
        window_->installEventFilter(this);
    }
    ~FrameSettler() override {
        window_->removeEventFilter(this);
        widget_->removeEventFilter(this);
        // The drawing held back is asked for again, so the window draws when shown anew.
        if (heldBack_)
            QCoreApplication::postEvent(widget_, new QEvent(QEvent::UpdateRequest),
                                        Qt::LowEventPriority);
    }

    void wait() {
        QTimer::singleShot(kDeadlineMs, &loop_, &QEventLoop::quit);
        window_->requestUpdate();
        loop_.exec(QEventLoop::ExcludeUserInputEvents);
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::UpdateRequest) return false;
        if (o == window_)
            loop_.quit();
        else
            heldBack_ = true;
        return true;
    }

private:
    QWidget* widget_;
    QWindow* window_;
    QEventLoop loop_;
    bool heldBack_ = false;
};

} // namespace

void hideSettled(QWidget* window, const std::function<void()>& hide) {
    QWindow* handle = window->windowHandle();
    if (QGuiApplication::platformName() != QLatin1String("wayland") || !handle ||
        !handle->isExposed()) {
        hide();
        return;
    }
    FrameSettler settler(window, handle);
    settler.wait();
    hide();
}
