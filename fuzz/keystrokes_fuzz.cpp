// Any bytes as a run's keystroke record: it is either refused or read as keys in time
// order within a day, which encode again to a record that reads back the same, and
// whose rhythm lies within 0..100.
#include "Keystrokes.h"
#include "RunTally.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "keystrokes_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto keys =
        keystrokes::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!keys) return 0;
    qint64 before = 0;
    for (const Keystroke& k : *keys) {
        check(k.ms >= before && k.ms <= keystrokes::kMaxMs, "a key out of time order");
        check(k.vk >= 0 && k.vk <= 255, "a key code out of range");
        before = k.ms;
    }
    // At most a key for every two bytes after the format byte.
    check(keys->size() <= size / 2, "more keys than the record holds");
    const QByteArray again = keystrokes::encode(*keys);
    check(again.size() <= qsizetype(size), "encoded longer than read");
    check(keystrokes::decode(again) == keys, "a record read does not read back the same");
    if (const auto r = RunTally::rhythm(*keys)) check(*r >= 0 && *r <= 100, "rhythm out of range");
    return 0;
}
