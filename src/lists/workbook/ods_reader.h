#pragma once

#include "lists/workbook/read_context.h"

namespace kavrel::workbook {

class ZipPackage;

// .ods: content.xml, honouring repeated rows and cells without materialising empty repeats.
void ReadOds(ZipPackage& zip, ReadContext& context, Workbook& out);

}  // namespace kavrel::workbook
