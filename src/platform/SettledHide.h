#pragma once

#include <functional>

class QWidget;

// Qt 6.4's Wayland client frees the compositor's answer to a window's last frame twice
// when that answer arrives while the window is being hidden, and the program aborts.
// This runs hide once no answer is outstanding: it holds the window's drawing back and
// waits (a frame at most, a short deadline when the compositor has stopped answering).
// Elsewhere it hides at once.
void hideSettled(QWidget* window, const std::function<void()>& hide);

// A window class whose hiding waits for its last frame; for the library's own dialogs.
template <class Window> class SettledHide : public Window {
public:
    using Window::Window;
    void setVisible(bool visible) override {
        if (visible || !this->isVisible()) return Window::setVisible(visible);
        hideSettled(this, [this] { Window::setVisible(false); });
    }
};
