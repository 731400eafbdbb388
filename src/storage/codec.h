#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// Data texts are GB18030 bytes everywhere below the UI: byte-identical to GBK for every GBK
// character, and rare name characters beyond GBK survive instead of turning into '?'.

// A system text written as a UTF-8 literal, as GB18030 bytes.
std::string Gb(std::string_view utf8);

// GB18030 bytes to a QString for the UI, and back.
QString ToQt(const std::string& gb);
QString ToQt(std::string_view gb);
std::string FromQt(const QString& text);

// Text from outside the program (a list, config.ini saved by another editor, an imported file) as
// GB18030 bytes. Other editors save UTF-8 (with or without a byte-order mark) or UTF-16 (with a
// byte-order mark, or without one as some programs' "Unicode" export does: Utf16WithoutMark); those
// are converted. Anything else is taken as GBK/GB18030 already. A text
// without a mark counts as UTF-8 only when it is valid UTF-8 and holds at least one multi-byte
// sequence of three or more bytes (every Chinese character in UTF-8 is one): plain ASCII is the same
// in every one of them, and a GBK character often happens to form a valid two-byte sequence.
std::string DecodeExternalText(std::string_view bytes);

// Whether bytes without a byte-order mark are UTF-16: true little-endian, false big-endian, nullopt
// when they are not (no NUL byte at all, or NULs that no UTF-16 text has: whole NUL characters,
// or as many on one side of the byte pairs as on the other).
std::optional<bool> Utf16WithoutMark(std::string_view bytes);

// The first characters of a GB18030 text that fit in maxBytes, never cutting a character in two.
std::string CutAtCharacter(std::string_view gb, std::size_t maxBytes);

// Valid UTF-8 (no overlong forms, no surrogates, nothing beyond U+10FFFF) with at least one
// character of three or more bytes.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace kavrel
