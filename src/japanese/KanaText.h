#pragma once
#include <QString>

// Character classes and foldings of Japanese text as the judges see it.
namespace kana {

bool isHiragana(QChar c);
bool isKatakana(QChar c); // including the long-vowel mark
bool isKanji(QChar c);    // ideographs and the iteration marks that need a reading
// Katakana to hiragana; everything else unchanged.
QChar toHiragana(QChar c);
QString toHiragana(QStringView s);
// Full-width ASCII to ASCII, the wave dash to '~'; everything else unchanged.
QChar foldWidth(QChar c);
// Japanese punctuation an input method types with an ASCII key, or 0.
char punctuationAscii(QChar c);
// Whether a character (after folding) is typed at all: kana, the long-vowel mark,
// the punctuation above and printable ASCII other than the space.
bool isTypeable(QChar c);
// The typeable characters of s, folded; kana keep their script.
QString typeablePart(QStringView s);
// Whether s needs a dictionary for its reading (it holds a kanji).
bool needsReading(QStringView s);

} // namespace kana
