#pragma once

// The line model behind Settings: parsing and editing INI text as lines, kept apart from file
// access so it can be tested on texts. Internal to storage.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::detail {

struct IniLines {
  std::vector<std::string> lines;  // without line ends
};

// Accepts CR LF and LF alone.
IniLines ParseIniLines(std::string_view text);

// Joins with CR LF after every line.
std::string JoinIniLines(const IniLines& ini);

// The raw text after "=" of the first matching key in the first matching section.
std::optional<std::string> FindIniValue(const IniLines& ini, std::string_view section, std::string_view key);

// Replaces or adds "key=value" as Settings::WriteText describes.
void SetIniValue(IniLines& ini, std::string_view section, std::string_view key, std::string_view value);

// Blanks around, then one pair of matching enclosing quotes.
std::string TrimIniValue(std::string_view raw);

}  // namespace kavrel::detail
