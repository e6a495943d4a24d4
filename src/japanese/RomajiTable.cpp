#include "RomajiTable.h"

#include <map>

namespace {

struct Row {
    const char16_t* kana;
    const char* spellings; // space-separated, the usual one first
};

constexpr Row kRows[] = {
    {u"あ", "a"},
    {u"い", "i yi"},
    {u"う", "u wu whu"},
    {u"え", "e"},
    {u"お", "o"},
    {u"か", "ka ca"},
    {u"き", "ki"},
    {u"く", "ku cu qu"},
    {u"け", "ke"},
    {u"こ", "ko co"},
    {u"さ", "sa"},
    {u"し", "shi si ci"},
    {u"す", "su"},
    {u"せ", "se ce"},
    {u"そ", "so"},
    {u"た", "ta"},
    {u"ち", "chi ti"},
    {u"つ", "tsu tu"},
    {u"て", "te"},
    {u"と", "to"},
    {u"な", "na"},
    {u"に", "ni"},
    {u"ぬ", "nu"},
    {u"ね", "ne"},
    {u"の", "no"},
    {u"は", "ha"},
    {u"ひ", "hi"},
    {u"ふ", "fu hu"},
    {u"へ", "he"},
    {u"ほ", "ho"},
    {u"ま", "ma"},
    {u"み", "mi"},
    {u"む", "mu"},
    {u"め", "me"},
    {u"も", "mo"},
    {u"や", "ya"},
    {u"ゆ", "yu"},
    {u"よ", "yo"},
    {u"ら", "ra"},
    {u"り", "ri"},
    {u"る", "ru"},
    {u"れ", "re"},
    {u"ろ", "ro"},
    {u"わ", "wa"},
    {u"ゐ", "wyi"},
    {u"ゑ", "wye"},
    {u"を", "wo"},
    {u"が", "ga"},
    {u"ぎ", "gi"},
    {u"ぐ", "gu"},
    {u"げ", "ge"},
    {u"ご", "go"},
    {u"ざ", "za"},
    {u"じ", "ji zi"},
    {u"ず", "zu"},
    {u"ぜ", "ze"},
    {u"ぞ", "zo"},
    {u"だ", "da"},
    {u"ぢ", "di"},
    {u"づ", "du"},
    {u"で", "de"},
    {u"ど", "do"},
    {u"ば", "ba"},
    {u"び", "bi"},
    {u"ぶ", "bu"},
    {u"べ", "be"},
    {u"ぼ", "bo"},
    {u"ぱ", "pa"},
    {u"ぴ", "pi"},
    {u"ぷ", "pu"},
    {u"ぺ", "pe"},
    {u"ぽ", "po"},
    {u"ゔ", "vu"},
    {u"ぁ", "xa la"},
    {u"ぃ", "xi li xyi lyi"},
    {u"ぅ", "xu lu"},
    {u"ぇ", "xe le xye lye"},
    {u"ぉ", "xo lo"},
    {u"ゃ", "xya lya"},
    {u"ゅ", "xyu lyu"},
    {u"ょ", "xyo lyo"},
    {u"ゎ", "xwa lwa"},
    {u"っ", "xtu ltu xtsu ltsu"},
    {u"ゕ", "xka lka"},
    {u"ゖ", "xke lke"},
    {u"ー", "-"},
    // A kana with a small kana after it.
    {u"きゃ", "kya"},
    {u"きぃ", "kyi"},
    {u"きゅ", "kyu"},
    {u"きぇ", "kye"},
    {u"きょ", "kyo"},
    {u"ぎゃ", "gya"},
    {u"ぎぃ", "gyi"},
    {u"ぎゅ", "gyu"},
    {u"ぎぇ", "gye"},
    {u"ぎょ", "gyo"},
    {u"しゃ", "sha sya"},
    {u"しぃ", "syi"},
    {u"しゅ", "shu syu"},
    {u"しぇ", "she sye"},
    {u"しょ", "sho syo"},
    {u"じゃ", "ja zya jya"},
    {u"じぃ", "zyi jyi"},
    {u"じゅ", "ju zyu jyu"},
    {u"じぇ", "je zye jye"},
    {u"じょ", "jo zyo jyo"},
    {u"ちゃ", "cha tya cya"},
    {u"ちぃ", "tyi cyi"},
    {u"ちゅ", "chu tyu cyu"},
    {u"ちぇ", "che tye cye"},
    {u"ちょ", "cho tyo cyo"},
    {u"ぢゃ", "dya"},
    {u"ぢぃ", "dyi"},
    {u"ぢゅ", "dyu"},
    {u"ぢぇ", "dye"},
    {u"ぢょ", "dyo"},
    {u"にゃ", "nya"},
    {u"にぃ", "nyi"},
    {u"にゅ", "nyu"},
    {u"にぇ", "nye"},
    {u"にょ", "nyo"},
    {u"ひゃ", "hya"},
    {u"ひぃ", "hyi"},
    {u"ひゅ", "hyu"},
    {u"ひぇ", "hye"},
    {u"ひょ", "hyo"},
    {u"びゃ", "bya"},
    {u"びぃ", "byi"},
    {u"びゅ", "byu"},
    {u"びぇ", "bye"},
    {u"びょ", "byo"},
    {u"ぴゃ", "pya"},
    {u"ぴぃ", "pyi"},
    {u"ぴゅ", "pyu"},
    {u"ぴぇ", "pye"},
    {u"ぴょ", "pyo"},
    {u"みゃ", "mya"},
    {u"みぃ", "myi"},
    {u"みゅ", "myu"},
    {u"みぇ", "mye"},
    {u"みょ", "myo"},
    {u"りゃ", "rya"},
    {u"りぃ", "ryi"},
    {u"りゅ", "ryu"},
    {u"りぇ", "rye"},
    {u"りょ", "ryo"},
    {u"ふぁ", "fa fwa hwa"},
    {u"ふぃ", "fi fyi fwi hwi"},
    {u"ふぇ", "fe fye fwe hwe"},
    {u"ふぉ", "fo fwo hwo"},
    {u"ふゃ", "fya"},
    {u"ふゅ", "fyu"},
    {u"ふょ", "fyo"},
    {u"てぃ", "thi"},
    {u"てゃ", "tha"},
    {u"てゅ", "thu"},
    {u"てぇ", "the"},
    {u"てょ", "tho"},
    {u"でぃ", "dhi"},
    {u"でゃ", "dha"},
    {u"でゅ", "dhu"},
    {u"でぇ", "dhe"},
    {u"でょ", "dho"},
    {u"とぅ", "twu"},
    {u"どぅ", "dwu"},
    {u"うぁ", "wha"},
    {u"うぃ", "wi whi"},
    {u"うぇ", "we whe"},
    {u"うぉ", "who"},
    {u"いぇ", "ye"},
    {u"ゔぁ", "va"},
    {u"ゔぃ", "vi"},
    {u"ゔぇ", "ve"},
    {u"ゔぉ", "vo"},
    {u"ゔゅ", "vyu"},
    {u"つぁ", "tsa"},
    {u"つぃ", "tsi"},
    {u"つぇ", "tse"},
    {u"つぉ", "tso"},
    {u"くぁ", "qa kwa"},
    {u"くぃ", "qi"},
    {u"くぇ", "qe"},
    {u"くぉ", "qo"},
    {u"ぐぁ", "gwa"},
    {u"すぃ", "swi"},
    {u"ずぃ", "zwi"},
};

using Table = std::map<std::u16string, std::vector<std::string>, std::less<>>;

const Table& table() {
    static const Table t = [] {
        Table out;
        for (const Row& r : kRows) {
            std::vector<std::string> list;
            std::string word;
            for (const char* p = r.spellings;; ++p) {
                if (*p == ' ' || *p == 0) {
                    list.push_back(word);
                    word.clear();
                    if (*p == 0) break;
                } else {
                    word += *p;
                }
            }
            out.emplace(r.kana, std::move(list));
        }
        return out;
    }();
    return t;
}

bool isPlainLetter(char c) {
    return c >= 'a' && c <= 'z';
}

// Whether the syllabic n may be typed as one n before the character at next.
bool singleNAllowedBefore(std::u16string_view text, std::size_t next) {
    if (next >= text.size()) return false;
    static constexpr std::u16string_view kVowelNaYa = u"あいうえおなにぬねのやゆよん";
    const char16_t c = text[next];
    if (kVowelNaYa.find(c) != std::u16string_view::npos) return false;
    // An ASCII letter or digit after it would read as part of the n.
    return !(c < 0x80 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '\''));
}

void addAsciiOption(std::vector<RomajiOption>& out, char16_t c) {
    if (c > 0x20 && c < 0x7F)
        out.push_back({1, std::string(1, char(c))});
    else if (c == u'、')
        out.push_back({1, ","});
    else if (c == u'。')
        out.push_back({1, "."});
    else if (c == u'・')
        out.push_back({1, "/"});
    else if (c == u'「')
        out.push_back({1, "["});
    else if (c == u'」')
        out.push_back({1, "]"});
}

} // namespace

const std::vector<std::string>& romajiSpellings(std::u16string_view kana) {
    static const std::vector<std::string> none;
    const auto it = table().find(kana);
    return it == table().end() ? none : it->second;
}

std::vector<RomajiOption> romajiOptionsAt(std::u16string_view text, std::size_t i) {
    std::vector<RomajiOption> out;
    if (i >= text.size()) return out;
    const char16_t c = text[i];
    if (c == u'ん') {
        if (singleNAllowedBefore(text, i + 1)) out.push_back({1, "n"});
        for (const char* s : {"nn", "n'", "xn"}) out.push_back({1, s});
        return out;
    }
    if (c == u'っ' && i + 1 < text.size()) {
        // Doubling the first consonant of whatever spelling the next kana takes.
        for (const RomajiOption& next : romajiOptionsAt(text, i + 1)) {
            const char first = next.letters.empty() ? 0 : next.letters[0];
            if (!isPlainLetter(first) ||
                std::string_view("aiueon").find(first) != std::string::npos)
                continue;
            // ch takes a t before it as well: matcha.
            for (const char lead : {first, next.letters.starts_with("ch") ? 't' : '\0'}) {
                if (lead == 0) continue;
                RomajiOption doubled{next.kana + 1, lead + next.letters};
                bool seen = false;
                for (const RomajiOption& o : out) seen = seen || o.letters == doubled.letters;
                if (!seen) out.push_back(std::move(doubled));
            }
        }
    }
    if (i + 1 < text.size())
        for (const std::string& s : romajiSpellings(text.substr(i, 2))) out.push_back({2, s});
    for (const std::string& s : romajiSpellings(text.substr(i, 1))) out.push_back({1, s});
    if (out.empty()) addAsciiOption(out, c);
    return out;
}
