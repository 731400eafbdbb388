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

// Lines of a text from outside: each ends at LF, a CR before the LF is dropped (so CR LF and the
// bare LF other systems write both work), otherwise as SplitText. LF is never part of a two-byte
// character, so it is looked for byte by byte.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kavrel
