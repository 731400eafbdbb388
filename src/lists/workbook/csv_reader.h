#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "lists/workbook/read_context.h"
#include "lists/workbook/sheet_builder.h"

namespace kavrel::workbook {

// Text from outside as UTF-8: a UTF-8 or UTF-16 byte-order mark decides, then valid UTF-8 is
// taken as such, and anything else is GBK/GB18030 (what Chinese Excel saves as "CSV").
std::string DecodeToUtf8(std::string_view bytes);

// Splits CSV text: fields separated by `delimiter`, quoted fields may hold the delimiter,
// doubled quotes and line breaks; records end at CR LF, LF or CR.
void ParseCsv(std::string_view text, char delimiter, SheetBuilder& builder, ReadContext& context);

// .csv (and delimited .txt): one sheet named after the file.
void ReadCsv(const QString& path, ReadContext& context, Workbook& out);

}  // namespace kavrel::workbook
