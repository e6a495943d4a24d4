#pragma once

// The display zoom (100, 150 or 200 percent) lives in the history's settings, which are
// read long after Qt has fixed its scale. A small file beside the record mirrors it, so
// the start reads one tiny file before the application object exists, and at 100 %
// finds none.
inline constexpr const char* kZoomFileName = "Velotap.zoom";

// The kept zoom in the working folder; 100 when none or out of reason.
int keptZoom();
// Keeps the zoom for the next start; false when the file could not be written.
bool keepZoom(int percent);
// Before the application object exists: sets Qt's scale factor from the kept zoom,
// unless the desktop set one already.
void applyKeptZoom();
