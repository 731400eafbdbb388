#include "lists/text_decode.h"

#include <algorithm>

#include "storage/codec.h"

namespace kavrel {

std::optional<std::string> DecodeImportedText(std::string_view bytes) {
  // The encodings are storage's one rule; what is particular to a list is refusing what is no text
  // at all. A NUL byte outside UTF-16 means a picture or a workbook renamed .txt: say so early,
  // before converting megabytes of it.
  const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (!utf16 && bytes.find('\0') != std::string_view::npos) return std::nullopt;
  std::string text = DecodeExternalText(bytes);
  // In UTF-16 the NUL shows only once decoded (GB18030 writes U+0000 as one NUL byte).
  if (text.find('\0') != std::string::npos) return std::nullopt;
  return text;
}

std::vector<std::string> SplitImportedLines(std::string_view text) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::size_t stop = end;
    if (!last && stop > start && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text.substr(start, stop - start));
    start = last ? text.size() : end + 1;
  }
  return lines;
}

}  // namespace kavrel
