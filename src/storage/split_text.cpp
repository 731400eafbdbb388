#include "storage/split_text.h"

namespace kavrel {

std::vector<std::string> SplitText(std::string_view text, std::string_view delim) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  if (delim.empty()) {
    items.emplace_back(text);
    return items;
  }
  std::size_t itemStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.compare(pos, delim.size(), delim) == 0) {
      items.emplace_back(text.substr(itemStart, pos - itemStart));
      pos += delim.size();
      itemStart = pos;
    } else if (static_cast<unsigned char>(text[pos]) >= 0x80) {
      pos += 2;  // a two-byte character: its trail byte may look like the delimiter
    } else {
      ++pos;
    }
  }
  if (itemStart < text.size()) items.emplace_back(text.substr(itemStart));
  return items;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!last && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kavrel
