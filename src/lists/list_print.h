#pragma once

#include <memory>

class QTextDocument;

namespace kavrel {

class ListTable;

// The table as a text document for printing: real text (selectable in a PDF), the header row
// repeated at the top of every page, bold and colours as in the editor.
std::unique_ptr<QTextDocument> BuildPrintDocument(const ListTable& table);

}  // namespace kavrel
