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
// bare LF other systems write both work), otherwise as SplitText. A text without any LF but with
// CRs (old Mac editors, some spreadsheet exports) ends its lines at CR instead; in a text that has
// LFs a lone CR stays part of its line. CR and LF are never part of a GB18030 character, so they
// are looked for byte by byte.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kavrel
