#pragma once
#include <QByteArray>
#include <QByteArrayView>

// Turns the bytes of a text file into a practice text, without any window: the file
// is read as lines of at most 2047 bytes (CR LF read as one line feed), each line is
// broken into pieces of at most 34 bytes at blanks, and reading stops once the pieces
// take more than 1024 bytes.
class TextCollector {
public:
    static constexpr int kLineBuffer = 2048;
    static constexpr int kPieceWidth = 34;
    static constexpr int kStopLength = 1024;

    // Feeds the next bytes of the file; false once the text is long enough and the
    // rest of the file need not be read.
    bool feed(QByteArrayView bytes);
    // The end of the file: a last line without a line break still counts.
    void finish();
    bool full() const { return full_; }
    // The pieces, each followed by CR LF, as the text pane holds them.
    const QByteArray& pane() const { return pane_; }

private:
    void pushByte(char c);
    void endLine();
    void breakLine(const char* line, int length);

    QByteArray pane_;
    QByteArray line_;
    bool pendingCr_ = false;
    bool full_ = false;
};

// The pane's text without its final line feed; empty when the pane is empty.
QByteArray practiceTextOf(const QByteArray& pane);
// Every byte that no key types becomes a blank; CR and LF stay.
void sanitisePracticeText(char* text, int length);
// Runs of bytes above the blank.
int countWords(const char* text, int length);
// The whole preparation of a file's bytes: the sanitised practice text, or empty.
QByteArray preparePracticeText(QByteArrayView file);
// The caret position in the text pane of a byte position of the practice text: the
// pane holds a CR LF pair as one line break.
int panePosition(const char* text, int bytePos);
