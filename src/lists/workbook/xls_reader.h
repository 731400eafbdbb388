#pragma once

#include <QString>

#include "lists/workbook/read_context.h"

namespace kavrel::workbook {

// .xls (BIFF8, Excel 97-2003) through FreeXL.
void ReadXls(const QString& path, ReadContext& context, Workbook& out);

}  // namespace kavrel::workbook
