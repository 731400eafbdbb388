#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// An outside text file as GB18030, by the program's one rule for outside texts
// (DecodeExternalText). nullopt when the bytes are not text at all (a NUL byte or character: a
// picture or a workbook renamed .txt), so the caller can refuse the file instead of filling the
// table with rubbish.
std::optional<std::string> DecodeImportedText(std::string_view bytes);

}  // namespace kavrel
