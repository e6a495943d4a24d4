#pragma once
#include <sys/types.h>

struct xcb_connection_t;

// Watches an X display for top-level windows being mapped, so a start is timed to the
// moment its window is on the screen, from outside the process.
class MapWatch {
public:
    MapWatch();
    ~MapWatch();
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool ok() const;
    // Blocks until a top-level window of process pid is mapped and returns that moment
    // (monotonicNs), or -1 at the deadline (ms from now).
    long long waitForMap(pid_t pid, int deadlineMs);

private:
    pid_t windowPid(unsigned window);
    xcb_connection_t* c_ = nullptr;
    unsigned root_ = 0;
    unsigned pidAtom_ = 0;
};
