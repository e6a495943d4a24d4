#pragma once

// A keymap as on-screen keyboards, remote desktops and key-injection tools bring
// along: key codes from 9 upwards, handed out in the order the tool needs them, here
// for the symbols a, yen and underscore. Plain text, so the X test can load it with
// xkbcomp and the Wayland client with libxkbcommon.
namespace tool {

inline constexpr const char* kKeymap = R"(xkb_keymap {
    xkb_keycodes "tool" {
        minimum = 8;
        maximum = 255;
        <K9> = 9;
        <K10> = 10;
        <K11> = 11;
    };
    xkb_types "tool" { include "complete" };
    xkb_compatibility "tool" { include "complete" };
    xkb_symbols "tool" {
        key <K9> { [ a ] };
        key <K10> { [ yen ] };
        key <K11> { [ underscore ] };
    };
};
)";

} // namespace tool
