#include "storage/ini_text.h"

namespace kavrel::detail {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Case is ignored for ASCII letters only, and never for the trail byte of a two-byte character
// (trail bytes include the ASCII letter range).
bool SameName(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (static_cast<unsigned char>(a[i]) >= 0x80) {
      if (a[i] != b[i]) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

// The name of a "[section]" line, or nullopt for any other line. The closing bracket is looked
// for at character boundaries, since ']' can be the trail byte of a Chinese character.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t i = 1;
  while (i < line.size() && line[i] != ']') i += static_cast<unsigned char>(line[i]) >= 0x80 ? 2 : 1;
  return TrimBlanks(line.substr(1, std::min(i, line.size()) - 1));
}

bool IsComment(std::string_view line) {
  line = TrimBlanks(line);
  return !line.empty() && line.front() == ';';
}

// Half-open range of lines [first, end) after the header of the first matching section.
struct SectionRange {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const IniLines& ini, std::string_view section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    const auto name = SectionName(ini.lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < ini.lines.size() && !SectionName(ini.lines[end])) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const IniLines& ini, const SectionRange& range, std::string_view key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const std::string& line = ini.lines[i];
    if (IsComment(line)) continue;
    const std::size_t eq = line.find('=');  // '=' is never a trail byte
    if (eq != std::string::npos && SameName(std::string_view(line).substr(0, eq), key)) return i;
  }
  return std::nullopt;
}

// A line break inside a value would end the line early and turn the rest into a stray line of
// the file, so line breaks are stored as blanks.
std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  for (const char c : value) line += (c == '\r' || c == '\n') ? ' ' : c;
  return line;
}

}  // namespace

IniLines ParseIniLines(std::string_view text) {
  IniLines ini;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ini.lines.emplace_back(line);
    start = end + 1;
  }
  return ini;
}

std::string JoinIniLines(const IniLines& ini) {
  std::string text;
  for (const std::string& line : ini.lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::optional<std::string> FindIniValue(const IniLines& ini, std::string_view section, std::string_view key) {
  const auto range = FindSection(ini, section);
  if (!range) return std::nullopt;
  const auto index = FindKey(ini, *range, key);
  if (!index) return std::nullopt;
  const std::string& line = ini.lines[*index];
  return line.substr(line.find('=') + 1);
}

void SetIniValue(IniLines& ini, std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view name = TrimBlanks(key);
  const auto range = FindSection(ini, section);
  if (!range) {
    if (!ini.lines.empty() && !TrimBlanks(ini.lines.back()).empty()) ini.lines.emplace_back();
    ini.lines.push_back("[" + std::string(TrimBlanks(section)) + "]");
    ini.lines.push_back(KeyLine(name, value));
    return;
  }
  if (const auto index = FindKey(ini, *range, key)) {
    ini.lines[*index] = KeyLine(name, value);
    return;
  }
  // After the section's last non-blank line, so the blank line before the next section stays.
  std::size_t insertAt = range->end;
  while (insertAt > range->header + 1 && TrimBlanks(ini.lines[insertAt - 1]).empty()) --insertAt;
  ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLine(name, value));
}

std::string TrimIniValue(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace kavrel::detail
