#pragma once

#include <QStringView>
#include <QXmlStreamReader>
#include <string>

namespace kavrel::workbook {

// Appends a piece of XML text as UTF-8, fast for the common all-ASCII case.
void AppendUtf8(std::string& out, QStringView text);
std::string ToUtf8(QStringView text);

// The text of the current element and all its descendants except those named `skip` (rich-text
// phonetic runs, cell comments): the reader ends on the element's end tag.
std::string CollectText(QXmlStreamReader& xml, QStringView skip);

// OOXML writes control characters as _xHHHH_ (and a literal "_x" as _x005F_x); undoes that.
void DecodeOoxmlEscapes(std::string& text);

}  // namespace kavrel::workbook
