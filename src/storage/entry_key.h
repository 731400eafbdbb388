#pragma once

#include <string>
#include <string_view>

namespace kavrel {

// What decides that two entries of a list are the same person: the entry's text with its blanks
// (ASCII spaces, TABs and full-width "　") trimmed at both ends and every run of them inside
// collapsed to one ASCII space, and every ASCII "-" read as the full-width "－" the draw shows it as.
// "9999  王五", "9999 王五 " and "9999　王五" are one entry; "王五" and "王 五" are not. Letters, digits
// and every other character are compared exactly. The list editor's duplicate tool, the draw's
// duplicates check and the verifier's search for an entrant all use this one key.
std::string EntryKey(std::string_view gbEntry);

// EntryKey(a) == EntryKey(b).
bool SameEntry(std::string_view a, std::string_view b);

}  // namespace kavrel
