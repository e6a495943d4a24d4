#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

// One key of a run as it was pressed: when (since the run began), which key, with or
// without Shift, and whether it was the key due.
struct Keystroke {
    qint64 ms = 0; // since the run began; never less than the key before
    int vk = 0;    // virtual-key code, 0..255
    bool shift = false;
    bool right = false;
    bool operator==(const Keystroke&) const = default;
};

// The keystrokes of a run in a few bytes a key, as the history keeps them:
//   byte 0: format (1)
//   then per key: an unsigned LEB128 varint of (gap << 2 | shift << 1 | right), where
//   gap is the ms since the key before (since the run began for the first), and one
//   byte, the virtual-key code.
namespace keystrokes {
inline constexpr char kFormat = 1;
// The longest run a record may tell: a day.
inline constexpr qint64 kMaxMs = 24LL * 60 * 60 * 1000;

QByteArray encode(const std::vector<Keystroke>& keys);
// Nothing for a record that is damaged, cut short, of another format, or longer than a day.
std::optional<std::vector<Keystroke>> decode(QByteArrayView data);
} // namespace keystrokes
