#pragma once
#include <QByteArray>
#include <QString>

// The single-byte code page view of a caption: ASCII and half-width katakana take
// one byte, every other character two. Only the lengths and the ASCII bytes matter
// to the program; other double-byte characters come out as a placeholder pair.
QByteArray captionBytes(const QString& s);
// A byte of a practice text as a caption character.
QString byteText(char c);
