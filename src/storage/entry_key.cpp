#include "storage/entry_key.h"

namespace kavrel {

namespace {

constexpr std::string_view kFullWidthBlank = "\xA1\xA1";  // 　
constexpr std::string_view kFullWidthDash = "\xA3\xAD";   // －

// Bytes of the GB18030 character at `i`: 1, 2 or 4 (a digit second byte marks the four-byte form).
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) return 1;
  const auto second = static_cast<unsigned char>(text[i + 1]);
  return second >= 0x30 && second <= 0x39 && i + 3 < text.size() ? 4 : 2;
}

}  // namespace

std::string EntryKey(std::string_view entry) {
  std::string key;
  key.reserve(entry.size());
  bool pendingBlank = false;
  for (std::size_t i = 0; i < entry.size();) {
    const std::size_t n = CharLength(entry, i);
    const std::string_view ch = entry.substr(i, n);
    i += n;
    if (ch == " " || ch == "\t" || ch == kFullWidthBlank) {
      pendingBlank = !key.empty();
      continue;
    }
    if (pendingBlank) key += ' ';
    pendingBlank = false;
    if (ch == "-")
      key += kFullWidthDash;
    else
      key += ch;
  }
  return key;
}

bool SameEntry(std::string_view a, std::string_view b) {
  return a == b || EntryKey(a) == EntryKey(b);
}

}  // namespace kavrel
