#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// The one place the list editor turns an outside text file into GB18030: a UTF-8 BOM, a UTF-16
// BOM, or valid UTF-8 with multi-byte sequences is converted; anything else is taken as
// GBK/GB18030 already. nullopt when the bytes are not text at all (NUL bytes outside UTF-16: a
// picture or a workbook renamed .txt), so the caller can refuse the file instead of filling the
// table with rubbish.
std::optional<std::string> DecodeImportedText(std::string_view bytes);

// Lines of a decoded text: split at LF, a CR before the LF dropped, so CR LF and LF-only files
// read alike; no empty line after a final line end, none from an empty text. GB18030 trail bytes
// are never CR or LF, so splitting bytes is safe.
std::vector<std::string> SplitImportedLines(std::string_view text);

}  // namespace kavrel
