#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// An outside text file as GB18030, by the program's one rule for outside texts
// (DecodeExternalText). nullopt when the bytes are not text at all (a NUL byte or character: a
// picture or a workbook renamed .txt), so the caller can refuse the file instead of filling the
// table with rubbish.
std::optional<std::string> DecodeImportedText(std::string_view bytes);

// Lines of a decoded text: split at LF, a CR before the LF dropped, so CR LF and LF-only files
// read alike; no empty line after a final line end, none from an empty text. GB18030 trail bytes
// are never CR or LF, so splitting bytes is safe.
std::vector<std::string> SplitImportedLines(std::string_view text);

}  // namespace kavrel
