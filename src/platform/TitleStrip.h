#pragma once

class QWidget;

// On Wayland desktops that leave the title bar to the program, Qt draws one that offers
// maximise and minimise even to a fixed-size window, where they do nothing but grey the
// title. For a fixed-size window this puts a bar of its own in that place once the
// window first shows: the title, dragging it moves the window, and a close button.
// Elsewhere the window keeps the desktop's bar.
void ownTitleBarOnWayland(QWidget* window);
