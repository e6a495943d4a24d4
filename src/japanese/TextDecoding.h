#pragma once
#include <QByteArrayView>
#include <QString>

enum class TextEncoding { Utf8, ShiftJis, EucJp };

// The encoding of Japanese text from a sample of it (a byte-order mark, valid UTF-8,
// else whichever of Shift-JIS and EUC-JP reads the sample with fewer faults).
TextEncoding detectEncoding(QByteArrayView sample);

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
