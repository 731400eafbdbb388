#pragma once

#include <string>
#include <string_view>

namespace kavrel {

// The leading decimal number of a text (leading blanks skipped, optional sign); 0 when the text
// does not start with one. Saturates instead of overflowing.
long long LeadingInteger(std::string_view text);

// LeadingInteger clamped into int.
int LeadingInt(std::string_view text);

// A number as shown in messages: at most 13 significant digits ("%.13g").
std::string FormatNumber(double value);

}  // namespace kavrel
