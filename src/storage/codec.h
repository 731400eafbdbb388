#pragma once

#include <QString>
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

}  // namespace kavrel
