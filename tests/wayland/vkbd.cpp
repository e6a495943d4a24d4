// A virtual keyboard for the real-display test on Wayland. It uploads a keymap (the
// jp106/jp one libxkbcommon builds, or with --tool-keymap the keymap of ToolKeymap.h),
// then reads "keydown N" or "keyup N" a line from stdin, N an X keycode (evdev + 8),
// sends the key as a keyboard does (evdev code, then the modifiers it changed) and
// answers "ok" once the compositor has taken it. It prints "ready" when it can type.
#include "ToolKeymap.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The client side of the virtual-keyboard protocol (zwp_virtual_keyboard_v1),
// written out here: requests only, no events.
extern const wl_interface keyboardInterface;
const wl_interface* createTypes[] = {&wl_seat_interface, &keyboardInterface};
const wl_interface* noTypes[] = {nullptr, nullptr, nullptr, nullptr};
const wl_message managerRequests[] = {{"create_virtual_keyboard", "on", createTypes}};
const wl_message keyboardRequests[] = {{"keymap", "uhu", noTypes},
                                       {"key", "uuu", noTypes},
                                       {"modifiers", "uuuu", noTypes},
                                       {"destroy", "", noTypes}};
const wl_interface keyboardInterface = {"zwp_virtual_keyboard_v1", 1, 4,
                                        keyboardRequests,          0, nullptr};
const wl_interface managerInterface = {
    "zwp_virtual_keyboard_manager_v1", 1, 1, managerRequests, 0, nullptr};
enum : uint32_t { kCreate = 0, kKeymap = 0, kKey = 1, kModifiers = 2, kDestroy = 3 };
constexpr uint32_t kKeymapFormatXkbV1 = 1;

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* g = static_cast<Globals*>(data);
    if (!g->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!g->manager && std::strcmp(interface, managerInterface.name) == 0)
        g->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &managerInterface, 1));
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

int fail(const char* why) {
    std::fprintf(stderr, "vkbd: %s\n", why);
    return 2;
}

uint32_t nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return uint32_t(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// The keymap text in a sealed-off file, as the protocol hands it over; the size
// counts the terminating NUL.
int keymapFile(const char* text, uint32_t* size) {
    *size = uint32_t(std::strlen(text) + 1);
    const int fd = memfd_create("vkbd-keymap", MFD_CLOEXEC);
    if (fd < 0) return -1;
    for (uint32_t done = 0; done < *size;) {
        const ssize_t n = write(fd, text + done, *size - done);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        done += uint32_t(n);
    }
    return fd;
}

} // namespace

int main(int argc, char** argv) {
    const bool toolKeymap = argc > 1 && std::strcmp(argv[1], "--tool-keymap") == 0;
    xkb_context* ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!ctx) return fail("no xkb context");
    xkb_keymap* keymap = nullptr;
    if (toolKeymap) {
        keymap = xkb_keymap_new_from_string(ctx, tool::kKeymap, XKB_KEYMAP_FORMAT_TEXT_V1,
                                            XKB_KEYMAP_COMPILE_NO_FLAGS);
    } else {
        const xkb_rule_names names = {"evdev", "jp106", "jp", "", ""};
        keymap = xkb_keymap_new_from_names(ctx, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    if (!keymap) return fail("the keymap does not compile");
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    uint32_t size = 0;
    const int fd = text ? keymapFile(text, &size) : -1;
    std::free(text);
    if (fd < 0) return fail("cannot write the keymap file");
    xkb_state* state = xkb_state_new(keymap);

    wl_display* display = wl_display_connect(nullptr);
    if (!display) return fail("cannot connect to the Wayland display");
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &g);
    if (wl_display_roundtrip(display) < 0) return fail("the display went away");
    if (!g.seat || !g.manager) return fail("the compositor offers no seat or no virtual keyboard");

    auto* kb =
        wl_proxy_marshal_flags(g.manager, kCreate, &keyboardInterface, 1, 0, g.seat, nullptr);
    wl_proxy_marshal_flags(kb, kKeymap, nullptr, 1, 0, kKeymapFormatXkbV1, fd, size);
    close(fd);
    if (wl_display_roundtrip(display) < 0) return fail("the compositor refused the keyboard");
    std::puts("ready");
    std::fflush(stdout);

    uint32_t mods[4] = {};
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        char action[16] = {};
        unsigned xkey = 0;
        if (std::sscanf(line, "%15s %u", action, &xkey) != 2 || xkey < 8 || xkey > 255)
            return fail("want keydown N or keyup N, N an X keycode");
        const bool down = std::strcmp(action, "keydown") == 0;
        if (!down && std::strcmp(action, "keyup") != 0) return fail("unknown action");
        wl_proxy_marshal_flags(kb, kKey, nullptr, 1, 0, nowMs(), uint32_t(xkey - 8),
                               uint32_t(down ? 1 : 0));
        xkb_state_update_key(state, xkey, down ? XKB_KEY_DOWN : XKB_KEY_UP);
        const uint32_t now[4] = {xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
                                 xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
                                 xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
                                 xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE)};
        if (std::memcmp(now, mods, sizeof mods) != 0) {
            std::memcpy(mods, now, sizeof mods);
            wl_proxy_marshal_flags(kb, kModifiers, nullptr, 1, 0, mods[0], mods[1], mods[2],
                                   mods[3]);
        }
        if (wl_display_roundtrip(display) < 0) return fail("the display went away");
        std::puts("ok");
        std::fflush(stdout);
    }
    wl_proxy_marshal_flags(kb, kDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_destroy(g.manager);
    wl_seat_destroy(g.seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    xkb_state_unref(state);
    xkb_keymap_unref(keymap);
    xkb_context_unref(ctx);
    return 0;
}
