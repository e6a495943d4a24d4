#pragma once
#include "Phrases.h"

#include "TextDecoding.h"

#include <QIODevice>
#include <memory>
#include <vector>

// Where a run starts in a file: the byte where a line starts and a column in it.
struct TextPosition {
    qint64 byte = 0;
    int column = 0;
    bool operator==(const TextPosition&) const = default;
    QString toString() const;
    static TextPosition fromString(const QString& s);
};

struct PreparedRun {
    std::vector<Phrase> phrases;
    TextPosition next; // where the run after this one starts
    int kana = 0;      // characters to type in the run's readings
    int lines = 0;
    bool dictionaryMissing = false; // text was left out for want of a dictionary
    int skipped = 0;                // phrases shown but not typed: a kanji with no reading
};

// Reads one run's worth of a Japanese text file: up to 30 lines or 600 characters to
// type, whichever comes first, from a position; a file read to its end starts again
// from the top. Only the bytes the run needs are read, and a file of up to kSampleBytes
// only once. An e-text's title block and notation explanation at the top and its
// closing credits are left out.
class RunPreparer {
public:
    static constexpr int kMaxLines = 30;
    static constexpr int kMaxKana = 600;
    static constexpr qint64 kMaxLineBytes = 64 * 1024;
    static constexpr qint64 kSampleBytes = 64 * 1024;

    explicit RunPreparer(ReadingSource& reader) : reader_(reader) {}
    PreparedRun prepare(QIODevice& file, TextPosition start);

private:
    PreparedRun readFrom(QIODevice& file, TextPosition start, qint64 skipFrom, qint64 skipTo);
    qint64 creditsStart(QIODevice& file);
    ReadingSource& reader_;
    qint64 end_ = 0; // where the text to practise ends
    std::unique_ptr<TextDecoder> decoder_;
};
