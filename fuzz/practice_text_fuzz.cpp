// Any bytes as a practice text file: the prepared text fits its buffer, holds only
// typeable bytes and line breaks, ends with a CR, has no piece over 34 bytes, and does
// not depend on how the file was cut into reads.
#include "PracticeText.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "practice_text_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray text = preparePracticeText(file);

    check(text.size() < 4096, "the text outgrows its buffer");
    if (text.isEmpty()) return 0;
    check(text.endsWith('\r') && !text.endsWith("\r\n"), "the text does not end with a lone CR");
    for (const char c : text)
        check(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F), "an untypeable byte is left");
    for (const QByteArray& piece : text.split('\n')) {
        check(piece.endsWith('\r'), "a line feed without its CR");
        check(piece.size() - 1 <= TextCollector::kPieceWidth, "a piece longer than 34 bytes");
    }
    const int words = countWords(text.constData(), int(text.size()));
    check(words >= 0 && words <= text.size() / 2 + 1, "impossible word count");

    // The same file read in two parts, split where its first byte says.
    const qsizetype cut = size ? qsizetype(data[0]) * qsizetype(size) / 256 : 0;
    TextCollector parts;
    parts.feed(file.first(cut));
    parts.feed(file.sliced(cut));
    parts.finish();
    QByteArray again = practiceTextOf(parts.pane());
    sanitisePracticeText(again.data(), int(again.size()));
    check(again == text, "the text depends on how the file was read");
    return 0;
}
