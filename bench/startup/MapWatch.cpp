#include "MapWatch.h"

#include "Clock.h"

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <xcb/xcb.h>

MapWatch::MapWatch() {
    int screen = 0;
    c_ = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c_)) return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < screen; ++i) xcb_screen_next(&it);
    root_ = it.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, std::strlen(name), name), nullptr);
    if (atom) pidAtom_ = atom->atom;
    std::free(atom);
    xcb_flush(c_);
}

MapWatch::~MapWatch() {
    xcb_disconnect(c_);
}

bool MapWatch::ok() const {
    return !xcb_connection_has_error(c_) && pidAtom_ != 0;
}

pid_t MapWatch::windowPid(unsigned window) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = -1;
    if (r && xcb_get_property_value_length(r) == 4)
        pid = pid_t(*static_cast<uint32_t*>(xcb_get_property_value(r)));
    std::free(r);
    return pid;
}

long long MapWatch::waitForMap(pid_t pid, int deadlineMs) {
    const long long deadline = monotonicNs() + deadlineMs * 1'000'000LL;
    pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
    for (;;) {
        // Events already read off the socket first: poll sees only what is still in it.
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
            const long long at = monotonicNs();
            const bool map = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
            const bool top = map && m->event == root_ && !m->override_redirect;
            const unsigned window = top ? m->window : 0;
            std::free(e);
            if (top && windowPid(window) == pid) return at;
        }
        if (xcb_connection_has_error(c_)) return -1;
        const long long left = deadline - monotonicNs();
        if (left <= 0) return -1;
        poll(&fd, 1, int(left / 1'000'000) + 1);
    }
}
