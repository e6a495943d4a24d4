#include "PracticeText.h"

#include <cstring>

bool TextCollector::feed(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (full_) return false;
        // Text mode: a CR right before a LF is dropped, a lone CR is kept.
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') {
                pushByte('\n');
                continue;
            }
            pushByte('\r');
            if (full_) return false;
        }
        if (c == '\r')
            pendingCr_ = true;
        else
            pushByte(c);
    }
    return !full_;
}

void TextCollector::finish() {
    if (full_) return;
    if (pendingCr_) {
        pendingCr_ = false;
        pushByte('\r');
    }
    if (!full_ && !line_.isEmpty()) endLine();
}

void TextCollector::pushByte(char c) {
    line_.append(c);
    // A read ends at a line feed or when the line buffer is full.
    if (c == '\n' || line_.size() == kLineBuffer - 1) endLine();
}

void TextCollector::endLine() {
    // A NUL ends the string a read delivers; what follows it in the read is lost.
    int length = int(std::strlen(line_.constData()));
    if (length > 0 && line_[length - 1] == '\n') --length;
    breakLine(line_.constData(), length);
    line_.clear();
    if (pane_.size() > kStopLength) full_ = true;
}

void TextCollector::breakLine(const char* line, int length) {
    int p = 0;
    while (p < length) {
        // One blank at the start of every piece is skipped: the one it was broken at.
        if (line[p] == ' ') ++p;
        if (length > p + kPieceWidth) {
            int n = kPieceWidth;
            for (int i = kPieceWidth; i >= 1; --i) {
                if (line[p + i] == ' ') {
                    n = i;
                    break;
                }
            }
            pane_.append(line + p, n).append("\r\n");
            p += n;
        } else {
            pane_.append(line + p, length - p).append("\r\n");
            break;
        }
    }
}

QByteArray practiceTextOf(const QByteArray& pane) {
    if (pane.isEmpty()) return {};
    return pane.left(pane.size() - 1);
}

void sanitisePracticeText(char* text, int length) {
    for (int i = 0; i < length; ++i) {
        // Signed: bytes from 0x80 up are below the blank too.
        const auto c = static_cast<signed char>(text[i]);
        if (c != '\r' && c != '\n' && (c < 0x20 || c == 0x7F)) text[i] = ' ';
    }
}

int countWords(const char* text, int length) {
    int words = 0;
    bool inWord = false;
    for (int i = 0; i < length; ++i) {
        const bool wordByte = static_cast<signed char>(text[i]) > 0x20;
        if (wordByte && !inWord) ++words;
        inWord = wordByte;
    }
    return words;
}

QByteArray preparePracticeText(QByteArrayView file) {
    TextCollector collector;
    collector.feed(file);
    collector.finish();
    QByteArray text = practiceTextOf(collector.pane());
    sanitisePracticeText(text.data(), int(text.size()));
    return text;
}

int panePosition(const char* text, int bytePos) {
    int pos = bytePos;
    for (int i = 1; i < bytePos && text[i] != '\0'; ++i)
        if (text[i] == '\n' && text[i - 1] == '\r') --pos;
    return pos;
}
