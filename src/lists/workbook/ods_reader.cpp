#include "lists/workbook/ods_reader.h"

#include <algorithm>

#include "lists/workbook/date_text.h"
#include "lists/workbook/sheet_builder.h"
#include "lists/workbook/xml_text.h"
#include "lists/workbook/zip_package.h"

namespace kavrel::workbook {

namespace {

const QString kContent = QStringLiteral("content.xml");
constexpr QLatin1StringView kOffice("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1StringView kTable("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1StringView kText("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

int Repeat(QStringView text) {
  bool ok = false;
  const long long v = text.toLongLong(&ok);
  if (!ok || v < 1) return 1;
  return v > SheetBuilder::kMaxRows ? SheetBuilder::kMaxRows : static_cast<int>(v);
}

// The paragraphs of a cell: paragraphs joined by a line feed, <text:s text:c="n"/> as n
// spaces, tabs and line breaks as themselves; annotations (comments) left out.
std::string CellText(QXmlStreamReader& xml) {
  std::string out;
  int paragraphs = 0;
  int depth = 0;
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement: {
        const QStringView name = xml.name();
        if (name == u"annotation" || name == u"frame" || name == u"table") {
          xml.skipCurrentElement();
          break;
        }
        ++depth;
        if (name == u"p" || name == u"h") {
          if (paragraphs++ > 0) out += '\n';
        } else if (name == u"s") {
          const int n = Repeat(xml.attributes().value(kText, QLatin1StringView("c")));
          out.append(static_cast<std::size_t>(std::min(n, 1024)), ' ');
        } else if (name == u"tab") {
          out += '\t';
        } else if (name == u"line-break") {
          out += '\n';
        }
        break;
      }
      case QXmlStreamReader::EndElement:
        if (depth == 0) return out;
        --depth;
        break;
      case QXmlStreamReader::Characters:
        if (depth > 0) AppendUtf8(out, xml.text());
        break;
      default:
        break;
    }
  }
  return out;
}

class OdsTableReader {
 public:
  explicit OdsTableReader(SheetBuilder& builder) : builder_(builder) {}

  // Reads the rows of the table whose start tag was just read; false when the builder is full.
  bool Parse(QXmlStreamReader& xml) {
    int depth = 0;
    while (!xml.atEnd()) {
      switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
          const QStringView name = xml.name();
          if (name == u"table-row") {
            if (!ReadRow(xml)) return false;
          } else if (name == u"table-header-rows" || name == u"table-row-group" || name == u"table-rows") {
            ++depth;  // rows nest inside these
          } else {
            xml.skipCurrentElement();
          }
          break;
        }
        case QXmlStreamReader::EndElement:
          if (depth == 0) return true;  // </table:table>
          --depth;
          break;
        default:
          break;
      }
    }
    return true;
  }

 private:
  bool ReadRow(QXmlStreamReader& xml) {
    const int repeat = Repeat(xml.attributes().value(kTable, QLatin1StringView("number-rows-repeated")));
    // "filter" is a row a filter hides, "collapsed" one hidden by hand or in a closed group.
    const QStringView visibility = xml.attributes().value(kTable, QLatin1StringView("visibility"));
    const bool hidden = visibility == u"filter" || visibility == u"collapsed";
    std::vector<std::pair<int, std::string>> cells;  // column, text
    std::vector<std::pair<int, int>> spans;          // merged cells across columns: first, last
    int column = 0;
    while (xml.readNextStartElement()) {
      const QStringView name = xml.name();
      if (name != u"table-cell" && name != u"covered-table-cell") {
        xml.skipCurrentElement();
        continue;
      }
      const auto a = xml.attributes();
      const int columns = Repeat(a.value(kTable, QLatin1StringView("number-columns-repeated")));
      const int spanned = Repeat(a.value(kTable, QLatin1StringView("number-columns-spanned")));
      if (spanned > 1 && name == u"table-cell")
        spans.emplace_back(column, std::min(column + spanned, SheetBuilder::kMaxColumns) - 1);
      std::string text = CellValue(xml, a, column);
      if (!text.empty()) {
        // Repeated non-empty cells are real cells; repeated empty ones (a row's tail up to
        // column 1024) only move the column on.
        for (int k = 0; k < columns && column + k < SheetBuilder::kMaxColumns; ++k)
          cells.emplace_back(column + k, text);
      }
      column = std::min(column + columns, SheetBuilder::kMaxColumns);
    }
    if (cells.empty()) {
      row_ = std::min(row_ + repeat, SheetBuilder::kMaxRows);
      return true;
    }
    for (int k = 0; k < repeat && row_ < SheetBuilder::kMaxRows; ++k, ++row_) {
      for (const auto& [c, text] : cells)
        if (!builder_.Set(row_, c, text)) return false;
      if (hidden) builder_.NoteHiddenRow(row_);
      for (const auto& [first, last] : spans) builder_.NoteMerge(row_, row_, first, last);
    }
    return true;
  }

  std::string CellValue(QXmlStreamReader& xml, const QXmlStreamAttributes& a, int column) {
    const QStringView type = a.value(kOffice, QLatin1StringView("value-type"));
    if (type == u"float" || type == u"percentage" || type == u"currency") {
      bool ok = false;
      const double v = a.value(kOffice, QLatin1StringView("value")).toDouble(&ok);
      if (ok) {
        // The text the cell shows keeps the zeros a number format pads it with ("0007").
        const std::string shown = CellText(xml);
        bool lost = false;
        std::string text = SheetBuilder::NumberText(v, &lost);
        if (lost) builder_.NoteLostDigits(column);
        if (shown.size() > text.size() && ZeroPadded(text, static_cast<int>(shown.size())) == shown) return shown;
        return text;
      }
    } else if (type == u"date") {
      if (auto text = IsoDateText(ToUtf8(a.value(kOffice, QLatin1StringView("date-value"))))) {
        xml.skipCurrentElement();
        return *text;
      }
    } else if (type == u"time") {
      if (auto text = IsoTimeText(ToUtf8(a.value(kOffice, QLatin1StringView("time-value"))))) {
        xml.skipCurrentElement();
        return *text;
      }
    } else if (type == u"boolean") {
      const QStringView v = a.value(kOffice, QLatin1StringView("boolean-value"));
      xml.skipCurrentElement();
      return v == u"true" || v == u"1" ? "TRUE" : "FALSE";
    }
    return CellText(xml);
  }

  SheetBuilder& builder_;
  int row_ = 0;
};

// Sheet names only: every table's content is skipped without looking at its cells.
void ListTableNames(ZipPackage& zip, ReadContext& context, Workbook& out) {
  zip.ReadXml(kContent, context, [&](QXmlStreamReader& xml) {
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      const QStringView name = xml.name();
      if (name == u"table" && xml.namespaceUri() == kTable) {
        out.sheets.push_back(NamedSheet(ToUtf8(xml.attributes().value(kTable, QLatin1StringView("name")))));
        xml.skipCurrentElement();
      } else if (name == u"font-face-decls" || name == u"automatic-styles" || name == u"scripts") {
        xml.skipCurrentElement();
      }
    }
  });
}

}  // namespace

void ReadOds(ZipPackage& zip, ReadContext& context, Workbook& out) {
  out.format = Format::Ods;
  if (!zip.Has(kContent)) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
    return;
  }
  const int index = context.options().sheetIndex;
  context.SetProgressTotal(zip.DeclaredSize(kContent).value_or(0));
  if (index < 0) {
    ListTableNames(zip, context, out);
    return;
  }
  SheetBuilder builder;
  OdsTableReader reader(builder);
  bool fits = true;
  bool found = false;
  zip.ReadXml(kContent, context, [&](QXmlStreamReader& xml) {
    int table = 0;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      const QStringView name = xml.name();
      if (name == u"table" && xml.namespaceUri() == kTable) {
        std::string tableName = ToUtf8(xml.attributes().value(kTable, QLatin1StringView("name")));
        if (table++ == index) {
          fits = reader.Parse(xml);
          if (!fits) {
            xml.raiseError(QStringLiteral("too many cells"));
            return;
          }
          out.sheets.push_back(builder.Finish(std::move(tableName)));
          found = true;
        } else {
          xml.skipCurrentElement();
          out.sheets.push_back(NamedSheet(std::move(tableName)));
        }
      } else if (name == u"font-face-decls" || name == u"automatic-styles" || name == u"scripts") {
        xml.skipCurrentElement();
      }
    }
  });
  if (context.failed()) return;
  if (!fits) {
    context.Fail(ErrorKind::TooLarge, builder.Failure());
    return;
  }
  if (!found) {
    context.Fail(ErrorKind::NoSuchSheet, texts::kNoSuchSheet);
    return;
  }
  context.ReportDone();
}

}  // namespace kavrel::workbook
