#pragma once
#include <QByteArrayView>
#include <QString>

enum class TextEncoding { Utf8, ShiftJis, EucJp, NotText };

// The encoding of Japanese text from a sample of it: a byte-order mark, else whichever
// of UTF-8, Shift-JIS and EUC-JP reads the sample with the fewest faults and the most
// Japanese characters, so a few damaged bytes do not change it. NotText for a sample
// no encoding reads as text (a program, an image: NULs, control bytes, faults).
TextEncoding detectEncoding(QByteArrayView sample);
// How many bytes of a piece cut from a line end on a whole character in encoding.
qsizetype wholeCharacters(QByteArrayView bytes, TextEncoding encoding);

// Decodes pieces of text in one encoding; bytes that are not text are skipped.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    QString decode(QByteArrayView bytes);
    TextEncoding encoding() const { return encoding_; }

private:
    TextEncoding encoding_;
    void* iconv_ = nullptr;
};
