#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// The one rule every file format is split by: each delimiter ends an item (consecutive
// delimiters give empty items), the bytes after the last delimiter form an item only when not
// empty, an empty text gives no item, and a byte of 0x80 or more starts a two-byte character
// that is skipped whole, so a delimiter never matches inside a Chinese character.
std::vector<std::string> SplitText(std::string_view text, std::string_view delim);

}  // namespace kavrel
