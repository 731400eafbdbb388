#pragma once

#include <QString>

#include "lists/workbook/read_context.h"

namespace kavrel::workbook {

class ZipPackage;

// .xlsx / .xlsm: the workbook, its relationships, shared strings, styles (for dates) and one
// worksheet, each streamed through QXmlStreamReader.
void ReadXlsx(ZipPackage& zip, ReadContext& context, Workbook& out);

}  // namespace kavrel::workbook
