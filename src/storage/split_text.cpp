#include "storage/split_text.h"

#include <algorithm>

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
  const bool crOnly = text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos;
  const char end = crOnly ? '\r' : '\n';
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), end)) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find(end, start);
    const bool last = stop == std::string_view::npos;
    if (last) stop = text.size();
    std::size_t cut = stop;
    if (!last && !crOnly && cut > start && text[cut - 1] == '\r') --cut;
    lines.emplace_back(text.substr(start, cut - start));
    start = stop + 1;
  }
  return lines;
}

}  // namespace kavrel
