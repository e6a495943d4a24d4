#pragma once
#include <optional>
#include <string>
#include <vector>

// A class roster: CSV of number,name a line (a header line of those words is skipped),
// as a spreadsheet writes it: UTF-8 with or without a byte-order mark, or Shift-JIS
// (CP932) as Japanese spreadsheets save "CSV"; quoted fields, CRLF. Names are data,
// whatever they hold; only what no name can be (control characters, an empty or overlong
// field, a number twice) is refused, by line.
namespace classserver {

struct RosterEntry {
    std::string number; // UTF-8, trimmed
    std::string name;   // UTF-8, trimmed
    int line = 0;       // 1-based, for messages
};

std::optional<std::vector<RosterEntry>> parseRoster(const std::string& bytes, std::string* error);

// One CSV field, quoted when needed; a field a spreadsheet would take for a formula
// (= + - @ first) gets a leading apostrophe, so a printed slip shows the name as text.
std::string csvField(const std::string& s);

} // namespace classserver
