#pragma once
#include <QStringView>
#include <string>
#include <vector>

// One way to type the kana at a position: how many kana it covers and its letters.
struct RomajiOption {
    int kana = 0;
    std::string letters;
};

// Every spelling common input methods accept for the hiragana at position i of text
// (one kana, or a kana with the small kana after it), the usual spelling first. A
// single-kana youon part (ki, then xya) is listed by its own kana. The syllabic n and
// the small tsu depend on what follows; they are handled here too.
std::vector<RomajiOption> romajiOptionsAt(std::u16string_view text, std::size_t i);
// The spellings of one kana or kana pair alone, as the table lists them; empty when it
// has none.
const std::vector<std::string>& romajiSpellings(std::u16string_view kana);
