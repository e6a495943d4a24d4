#include "ZoomFile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int keptZoom() {
    std::FILE* f = std::fopen(kZoomFileName, "rb");
    if (!f) return 100;
    char text[8] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    const int v = std::atoi(text);
    return v == 150 || v == 200 ? v : 100;
}

bool keepZoom(int percent) {
    // At 100 % there is no file: the start then reads nothing.
    if (percent != 150 && percent != 200)
        return ::unlink(kZoomFileName) == 0 || ::access(kZoomFileName, F_OK) != 0;
    std::FILE* f = std::fopen(kZoomFileName, "wb");
    if (!f) return false;
    const bool ok = std::fprintf(f, "%d\n", percent) > 0;
    return std::fclose(f) == 0 && ok;
}

void applyKeptZoom() {
    if (std::getenv("QT_SCALE_FACTOR")) return;
    const int zoom = keptZoom();
    if (zoom != 100) ::setenv("QT_SCALE_FACTOR", zoom == 150 ? "1.5" : "2", 1);
}
