#include "lists/text_decode.h"

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

}  // namespace kavrel
