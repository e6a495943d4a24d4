#pragma once

class QWidget;

// Repaints a window and every control in it each time the window is shown on screen,
// on Wayland only. Where Qt draws the title bar itself its buffer is cleared when the
// title bar arrives, and controls that paint every pixel of their own (the panels, the
// text pane) would otherwise stay see-through until they change.
void repaintWholeOnExpose(QWidget* window);
