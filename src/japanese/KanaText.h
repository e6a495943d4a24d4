#pragma once
#include <QString>
#include <utility>

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
// The voicing marks ゛ and ゜ as the code chart sets them out, for hiragana and
// katakana alike: a voiced kana follows its base (か が), a semi-voiced one, of the は
// row only, follows the voiced one (は ば ぱ); ゔ is う voiced.
enum class Voicing { None, Voiced, SemiVoiced };
// The kana c with the mark; c itself when it takes none (a kana voiced already too).
QChar withVoicing(QChar c, Voicing mark);
// The kana c is made from and its mark: ぱ gives は and SemiVoiced, any other
// character itself and None.
std::pair<QChar, Voicing> splitVoicing(QChar c);
// Half-width katakana and punctuation to their full-width forms, a following ﾞ or ﾟ
// joined into the voiced kana.
QString foldHalfWidthKana(QStringView s);
// The kana iteration marks ゝゞヽヾ and the two-kana 〳〵 〴〵.
bool isIterationMark(QChar c);
// The kana the iteration marks of reading stand for: ゝヽ the kana before, ゞヾ it
// voiced, 〳〵 the two before (〴〵 with the first voiced). before is the reading that
// came earlier on the line, and takes the result after it.
QString expandIterationMarks(QStringView reading, QString& before);
// Whether s needs a dictionary for its reading (it holds a kanji).
bool needsReading(QStringView s);

} // namespace kana
