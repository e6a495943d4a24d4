#include "Keystrokes.h"

namespace keystrokes {

QByteArray encode(const std::vector<Keystroke>& keys) {
    QByteArray out;
    out.reserve(1 + int(keys.size()) * 3);
    out.append(kFormat);
    qint64 before = 0;
    for (const Keystroke& k : keys) {
        const quint64 gap = quint64(qMax<qint64>(0, k.ms - before));
        before = qMax(before, k.ms);
        quint64 v = gap << 2 | quint64(k.shift) << 1 | quint64(k.right);
        do {
            const char byte = char(v & 0x7F);
            v >>= 7;
            out.append(v ? char(byte | 0x80) : byte);
        } while (v);
        out.append(char(k.vk & 0xFF));
    }
    return out;
}

std::optional<std::vector<Keystroke>> decode(QByteArrayView data) {
    if (data.isEmpty() || data[0] != kFormat) return std::nullopt;
    std::vector<Keystroke> keys;
    qint64 ms = 0;
    qsizetype i = 1;
    while (i < data.size()) {
        quint64 v = 0;
        int shift = 0;
        for (;;) {
            // A gap past a day needs at most six bytes; more is damage.
            if (i >= data.size() || shift > 35) return std::nullopt;
            const auto byte = quint8(data[i++]);
            v |= quint64(byte & 0x7F) << shift;
            shift += 7;
            if (!(byte & 0x80)) break;
        }
        if (i >= data.size()) return std::nullopt; // the key's code is missing
        ms += qint64(v >> 2);
        if (ms > kMaxMs) return std::nullopt;
        keys.push_back({ms, quint8(data[i++]), bool(v & 2), bool(v & 1)});
    }
    return keys;
}

} // namespace keystrokes
