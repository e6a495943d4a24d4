#include "Roster.h"

#include <iconv.h>
#include <set>

namespace classserver {

namespace {

constexpr size_t kMaxChars = 100;

bool validUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t more = c < 0x80             ? 0
                            : (c & 0xe0) == 0xc0 ? 1
                            : (c & 0xf0) == 0xe0 ? 2
                            : (c & 0xf8) == 0xf0 ? 3
                                                 : 9;
        if (more == 9 || i + more >= s.size() + (more == 0)) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

std::optional<std::string> fromCp932(const std::string& in) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) return std::nullopt;
    std::string out(in.size() * 3 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == size_t(-1)) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

size_t chars(const std::string& s) {
    size_t n = 0;
    for (char c : s) n += (static_cast<unsigned char>(c) >> 6) != 2;
    return n;
}

std::string trimmed(const std::string& s) {
    static const std::string ideoSpace = "\xe3\x80\x80"; // U+3000, the full-width space
    size_t b = 0, e = s.size();
    for (;;) {
        if (b < e && (s[b] == ' ' || s[b] == '\t'))
            ++b;
        else if (e - b >= 3 && s.compare(b, 3, ideoSpace) == 0)
            b += 3;
        else
            break;
    }
    for (;;) {
        if (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
            --e;
        else if (e - b >= 3 && s.compare(e - 3, 3, ideoSpace) == 0)
            e -= 3;
        else
            break;
    }
    return s.substr(b, e - b);
}

// Splits CSV into records of fields (RFC 4180: "" is a quote inside quotes; a quoted
// field may hold line ends, which the checks below then refuse in a name).
std::vector<std::pair<int, std::vector<std::string>>> records(const std::string& text) {
    std::vector<std::pair<int, std::vector<std::string>>> out;
    std::vector<std::string> fields(1);
    int line = 1, start = 1;
    bool quoted = false, any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                fields.back() += '"', ++i;
            else if (c == '"')
                quoted = false;
            else {
                if (c == '\n') ++line;
                fields.back() += c;
            }
        } else if (c == '"')
            quoted = any = true;
        else if (c == ',')
            fields.emplace_back(), any = true;
        else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        else if (c == '\n' || c == '\r') {
            if (any || !fields.back().empty()) out.emplace_back(start, std::move(fields));
            fields.assign(1, {});
            any = false;
            start = ++line;
        } else
            fields.back() += c, any = true;
    }
    if (any || !fields.back().empty()) out.emplace_back(start, std::move(fields));
    return out;
}

bool isHeader(const std::vector<std::string>& f) {
    static const std::set<std::string> words = {"number", "no", "no.", "番号", "出席番号"};
    std::string first = trimmed(f[0]);
    for (char& c : first) c = char(std::tolower(static_cast<unsigned char>(c)));
    return words.count(first) > 0;
}

} // namespace

std::optional<std::vector<RosterEntry>> parseRoster(const std::string& bytes, std::string* error) {
    std::string text = bytes;
    if (text.compare(0, 3, "\xef\xbb\xbf") == 0) text.erase(0, 3);
    if (!validUtf8(text)) {
        auto converted = fromCp932(text);
        if (!converted) {
            *error = "the roster is neither UTF-8 nor Shift-JIS text";
            return std::nullopt;
        }
        text = std::move(*converted);
    }
    std::vector<RosterEntry> out;
    std::set<std::string> numbers;
    bool first = true;
    for (auto& [line, f] : records(text)) {
        const auto fail = [&, l = line](const std::string& why) {
            *error = "line " + std::to_string(l) + ": " + why;
            return std::nullopt;
        };
        if (first && isHeader(f)) {
            first = false;
            continue;
        }
        first = false;
        if (f.size() < 2) return fail("a learner's line needs number,name");
        RosterEntry e{trimmed(f[0]), trimmed(f[1]), line};
        for (const std::string* s : {&e.number, &e.name}) {
            if (s->empty()) return fail("an empty number or name");
            if (chars(*s) > kMaxChars) return fail("a field longer than 100 characters");
            for (char c : *s)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                    return fail("a control character");
        }
        if (!numbers.insert(e.number).second) return fail("number " + e.number + " comes twice");
        out.push_back(std::move(e));
    }
    if (out.empty()) {
        *error = "the roster names no learner";
        return std::nullopt;
    }
    return out;
}

std::string csvField(const std::string& s) {
    std::string v = s;
    if (!v.empty() && (v[0] == '=' || v[0] == '+' || v[0] == '-' || v[0] == '@'))
        v.insert(0, 1, '\'');
    if (v.find_first_of(",\"\r\n") == std::string::npos) return v;
    std::string q = "\"";
    for (char c : v) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

} // namespace classserver
