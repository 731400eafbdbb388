#include "lists/workbook/xlsx_reader.h"

#include <charconv>
#include <map>
#include <vector>

#include "lists/workbook/date_text.h"
#include "lists/workbook/fast_xml_reader.h"
#include "lists/workbook/sheet_builder.h"
#include "lists/workbook/xml_text.h"
#include "lists/workbook/zip_package.h"

namespace kavrel::workbook {

namespace {

constexpr std::int64_t kSmallPart = 64 << 20;  // workbook, relationships: tiny in any real file
// The shared strings serve every sheet of the workbook; more than this is no list's workbook.
constexpr std::size_t kMaxSharedStrings = 32'000'000;

struct SheetEntry {
  std::string name;
  QString relId;
};

struct Relationship {
  QString target;
  QString type;
};

// The folder of a part ("xl/workbook.xml" -> "xl/").
QString FolderOf(const QString& part) {
  const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship target as a part name: "/xl/worksheets/sheet1.xml" is absolute from the package
// root, "worksheets/sheet1.xml" and "../x.xml" are relative to the source part's folder.
QString ResolveTarget(const QString& sourcePart, QString target) {
  target.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QString path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : FolderOf(sourcePart) + target;
  QStringList out;
  for (const QString& piece : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (piece == QLatin1String(".")) continue;
    if (piece == QLatin1String("..")) {
      if (!out.isEmpty()) out.removeLast();
      continue;
    }
    out << piece;
  }
  return out.join(QLatin1Char('/'));
}

QString RelsPartOf(const QString& part) {
  return FolderOf(part) + QStringLiteral("_rels/") + part.mid(FolderOf(part).size()) + QStringLiteral(".rels");
}

std::map<QString, Relationship> ReadRelationships(ZipPackage& zip, const QString& part) {
  std::map<QString, Relationship> rels;
  const auto bytes = zip.ReadSmall(RelsPartOf(part), kSmallPart);
  if (!bytes) return rels;
  QXmlStreamReader xml(*bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
      const auto a = xml.attributes();
      if (a.value(QLatin1StringView("TargetMode")) == u"External") continue;
      rels[a.value(QLatin1StringView("Id")).toString()] = {
          ResolveTarget(part, a.value(QLatin1StringView("Target")).toString()),
          a.value(QLatin1StringView("Type")).toString()};
    }
  }
  return rels;
}

int ParseInt(QStringView text, int fallback) {
  bool ok = false;
  const int v = text.toInt(&ok);
  return ok ? v : fallback;
}

bool ParseDouble(const std::string& text, double* value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+') ++begin;
  const auto result = std::from_chars(begin, end, *value);
  return result.ec == std::errc() && result.ptr == end;
}

int ParseInt(std::string_view text, int fallback) {
  int v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() ? v : fallback;
}

// Column (0-based) and row (1-based) of a reference such as "AB12"; -1 where absent.
void ParseReference(std::string_view ref, int* column, int* row) {
  int c = 0;
  std::size_t i = 0;
  for (; i < ref.size(); ++i) {
    const char ch = ref[i];
    if (ch >= 'A' && ch <= 'Z')
      c = c * 26 + (ch - 'A' + 1);
    else if (ch >= 'a' && ch <= 'z')
      c = c * 26 + (ch - 'a' + 1);
    else
      break;
    if (c > SheetBuilder::kMaxColumns) c = SheetBuilder::kMaxColumns + 1;
  }
  int r = 0;
  for (; i < ref.size(); ++i) {
    const char ch = ref[i];
    if (ch < '0' || ch > '9') break;
    r = r * 10 + (ch - '0');
    if (r > SheetBuilder::kMaxRows) r = SheetBuilder::kMaxRows + 1;
  }
  *column = c > 0 ? c - 1 : -1;
  *row = r > 0 ? r : -1;
}

using Token = FastXmlReader::Token;

// What a cell style's number format does to a number: show it as a date or time, or pad it with
// zeros.
struct NumberStyle {
  DateStyle date = DateStyle::None;
  int zeroPad = 0;
};

class XlsxSheetReader {
 public:
  XlsxSheetReader(const std::vector<std::string>& shared, const std::vector<NumberStyle>& xfStyles, bool date1904,
                  SheetBuilder& builder)
      : shared_(shared), xfStyles_(xfStyles), date1904_(date1904), builder_(builder) {}

  enum class Outcome { Done, Malformed, TooManyCells };

  Outcome Parse(FastXmlReader& xml) {
    int row = 0;  // 1-based sheet row of the current <row>
    int nextColumn = 0;
    int depth = 0;  // 1 inside <worksheet>, 2 inside <sheetData> or <mergeCells>, 3 inside <row>
    bool inMerges = false;
    while (true) {
      const Token token = xml.Next();
      if (token == Token::EndOfDocument) return Outcome::Done;
      if (token == Token::Error) return Outcome::Malformed;
      if (token == Token::EndElement) {
        if (--depth <= 1) inMerges = false;
        continue;
      }
      if (token != Token::StartElement) continue;
      const std::string_view name = xml.name();
      if (depth == 0 || (depth == 1 && name == "sheetData")) {
        ++depth;
      } else if (depth == 1 && name == "mergeCells") {
        ++depth;
        inMerges = true;
      } else if (depth == 2 && inMerges && name == "mergeCell") {
        NoteMerge(xml.Attribute("ref"));
        xml.SkipElement();
      } else if (depth == 2 && name == "row") {
        row = ParseInt(xml.Attribute("r"), row + 1);
        nextColumn = 0;
        const std::string_view hidden = xml.Attribute("hidden");
        if (row > 0 && (hidden == "1" || hidden == "true")) builder_.NoteHiddenRow(row - 1);
        ++depth;
      } else if (depth == 3 && name == "c") {
        int column = -1;
        int refRow = -1;
        ParseReference(xml.Attribute("r"), &column, &refRow);
        if (column < 0) column = nextColumn;
        if (refRow > 0) row = refRow;
        if (row <= 0) row = 1;
        nextColumn = column + 1;
        const CellType type = TypeOf(xml.Attribute("t"));
        const int style = ParseInt(xml.Attribute("s"), 0);
        std::string text = ReadCell(xml, type, style, column);
        if (xml.hasError()) return Outcome::Malformed;
        if (!builder_.Set(row - 1, column, std::move(text))) return Outcome::TooManyCells;
      } else {
        // Columns, views, hyperlinks...: nothing the import shows.
        xml.SkipElement();
      }
    }
  }

 private:
  enum class CellType { Number, Shared, Inline, Boolean, Text, Date };

  // "A3:E3" (a single reference is no range).
  void NoteMerge(std::string_view ref) {
    const std::size_t colon = ref.find(':');
    if (colon == std::string_view::npos) return;
    int firstColumn = -1, firstRow = -1, lastColumn = -1, lastRow = -1;
    ParseReference(ref.substr(0, colon), &firstColumn, &firstRow);
    ParseReference(ref.substr(colon + 1), &lastColumn, &lastRow);
    if (firstRow > 0 && lastRow > 0) builder_.NoteMerge(firstRow - 1, lastRow - 1, firstColumn, lastColumn);
  }

  static CellType TypeOf(std::string_view t) {
    if (t.empty() || t == "n") return CellType::Number;
    if (t == "s") return CellType::Shared;
    if (t == "inlineStr") return CellType::Inline;
    if (t == "b") return CellType::Boolean;
    if (t == "d") return CellType::Date;
    return CellType::Text;  // "str" (a formula's text) and "e" (an error such as #DIV/0!)
  }

  std::string ReadCell(FastXmlReader& xml, CellType type, int style, int column) {
    std::string value;
    bool haveValue = false;
    std::string inlineText;
    while (true) {
      const Token token = xml.Next();
      if (token == Token::EndElement || token == Token::EndOfDocument || token == Token::Error) break;  // </c>
      if (token != Token::StartElement) continue;
      const std::string_view name = xml.name();
      if (name == "v") {
        value = xml.ElementText();
        haveValue = true;
      } else if (name == "is") {
        inlineText = xml.ElementText("rPh");
      } else {
        xml.SkipElement();  // the formula itself, extensions
      }
    }
    switch (type) {
      case CellType::Inline:
        DecodeOoxmlEscapes(inlineText);
        return inlineText;
      case CellType::Shared: {
        std::size_t index = 0;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), index);
        return haveValue && r.ec == std::errc() && index < shared_.size() ? shared_[index] : std::string();
      }
      case CellType::Boolean:
        if (!haveValue) return {};
        return value == "1" || value == "true" ? "TRUE" : "FALSE";
      case CellType::Text:
        DecodeOoxmlEscapes(value);
        return value;
      case CellType::Date:
        return IsoDateText(value).value_or(value);
      case CellType::Number:
        break;
    }
    if (!haveValue) return {};
    double number = 0;
    if (!ParseDouble(value, &number)) return value;
    NumberStyle format;
    if (style >= 0 && static_cast<std::size_t>(style) < xfStyles_.size())
      format = xfStyles_[static_cast<std::size_t>(style)];
    if (auto date = SerialDateText(number, format.date, date1904_)) return *date;
    bool lost = false;
    std::string text = SheetBuilder::NumberText(number, &lost);
    if (lost) builder_.NoteLostDigits(column);
    return ZeroPadded(std::move(text), format.zeroPad);
  }

  const std::vector<std::string>& shared_;
  const std::vector<NumberStyle>& xfStyles_;
  bool date1904_;
  SheetBuilder& builder_;
};

std::vector<NumberStyle> ParseStyles(QXmlStreamReader& xml) {
  std::map<int, NumberStyle> custom;
  std::vector<NumberStyle> xfs;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    if (name == u"numFmt") {
      const auto a = xml.attributes();
      const std::string code = ToUtf8(a.value(QLatin1StringView("formatCode")));
      custom[ParseInt(a.value(QLatin1StringView("numFmtId")), -1)] = {ClassifyFormatCode(code), ZeroPadDigits(code)};
    } else if (name == u"cellXfs") {
      while (xml.readNextStartElement()) {
        if (xml.name() == u"xf") {
          const int id = ParseInt(xml.attributes().value(QLatin1StringView("numFmtId")), 0);
          const auto it = custom.find(id);
          xfs.push_back(it != custom.end() ? it->second : NumberStyle{ClassifyBuiltinFormat(id), 0});
        }
        xml.skipCurrentElement();
      }
    } else if (name == u"cellStyleXfs" || name == u"fonts" || name == u"fills" || name == u"borders" ||
               name == u"dxfs" || name == u"extLst") {
      xml.skipCurrentElement();
    }
  }
  return xfs;
}

// False when the part is malformed.
bool ParseSharedStrings(FastXmlReader& xml, ReadContext& context, std::vector<std::string>& strings) {
  while (true) {
    const Token token = xml.Next();
    if (token == Token::EndOfDocument) return true;
    if (token == Token::Error) return false;
    if (token != Token::StartElement) continue;
    if (xml.name() == "sst") {
      // uniqueCount is only a hint, and a hostile one could ask for any amount of memory.
      const int hint = ParseInt(xml.Attribute("uniqueCount"), 0);
      if (hint > 0) strings.reserve(static_cast<std::size_t>(std::min(hint, 4'000'000)));
    } else if (xml.name() == "si") {
      std::string text = xml.ElementText("rPh");
      DecodeOoxmlEscapes(text);
      strings.push_back(std::move(text));
      if (strings.size() > kMaxSharedStrings) {
        context.Fail(ErrorKind::TooLarge, texts::kTooManyCells);
        return true;
      }
    }
  }
}

}  // namespace

void ReadXlsx(ZipPackage& zip, ReadContext& context, Workbook& out) {
  out.format = Format::Xlsx;
  // The package's root relationships name the workbook part; "xl/workbook.xml" is the usual one.
  QString workbookPart = QStringLiteral("xl/workbook.xml");
  for (const auto& [id, rel] : ReadRelationships(zip, QString())) {
    if (rel.type.endsWith(QLatin1String("/officeDocument"))) workbookPart = rel.target;
  }
  if (workbookPart.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive)) {
    context.Fail(ErrorKind::Xlsb, texts::kXlsb);
    return;
  }
  const auto workbookXml = zip.ReadSmall(workbookPart, kSmallPart);
  if (!workbookXml) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
    return;
  }
  std::vector<SheetEntry> entries;
  bool date1904 = false;
  {
    QXmlStreamReader xml(*workbookXml);
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      const auto a = xml.attributes();
      if (xml.name() == u"sheet") {
        // r:id lives in the relationships namespace; match by local name whatever its prefix.
        QString relId;
        for (const auto& attribute : a)
          if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty()) relId = attribute.value().toString();
        entries.push_back({ToUtf8(a.value(QLatin1StringView("name"))), relId});
      } else if (xml.name() == u"workbookPr") {
        const QStringView v = a.value(QLatin1StringView("date1904"));
        date1904 = v == u"1" || v == u"true";
      }
    }
    if (xml.hasError()) {
      context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
      return;
    }
  }
  for (const auto& entry : entries) out.sheets.push_back(NamedSheet(entry.name));
  const int index = context.options().sheetIndex;
  if (index < 0) return;
  if (index >= static_cast<int>(entries.size())) {
    context.Fail(ErrorKind::NoSuchSheet, texts::kNoSuchSheet);
    return;
  }

  const auto rels = ReadRelationships(zip, workbookPart);
  QString sheetPart, sharedPart, stylesPart;
  for (const auto& [id, rel] : rels) {
    if (rel.type.endsWith(QLatin1String("/sharedStrings"))) sharedPart = rel.target;
    if (rel.type.endsWith(QLatin1String("/styles"))) stylesPart = rel.target;
  }
  const auto sheetRel = rels.find(entries[static_cast<std::size_t>(index)].relId);
  if (sheetRel != rels.end()) sheetPart = sheetRel->second.target;
  if (sheetPart.isEmpty() || !zip.Has(sheetPart)) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
    return;
  }
  if (sharedPart.isEmpty() && zip.Has(QStringLiteral("xl/sharedStrings.xml")))
    sharedPart = QStringLiteral("xl/sharedStrings.xml");
  if (sharedPart.isEmpty() || !zip.Has(sharedPart)) sharedPart.clear();
  if (stylesPart.isEmpty() || !zip.Has(stylesPart)) stylesPart.clear();

  std::int64_t total = zip.DeclaredSize(sheetPart).value_or(0);
  if (!sharedPart.isEmpty()) total += zip.DeclaredSize(sharedPart).value_or(0);
  context.SetProgressTotal(total);

  std::vector<NumberStyle> xfStyles;
  if (!stylesPart.isEmpty() &&
      !zip.ReadXml(stylesPart, context, [&](QXmlStreamReader& xml) { xfStyles = ParseStyles(xml); }))
    return;
  std::vector<std::string> shared;
  if (!sharedPart.isEmpty() && !zip.ReadStream(sharedPart, context, [&](QIODevice& device) {
        FastXmlReader xml(&device);
        return ParseSharedStrings(xml, context, shared);
      }))
    return;

  SheetBuilder builder;
  XlsxSheetReader reader(shared, xfStyles, date1904, builder);
  if (!zip.ReadStream(sheetPart, context, [&](QIODevice& device) {
        FastXmlReader xml(&device);
        switch (reader.Parse(xml)) {
          case XlsxSheetReader::Outcome::Done:
            return true;
          case XlsxSheetReader::Outcome::TooManyCells:
            context.Fail(ErrorKind::TooLarge, builder.Failure());
            return true;
          case XlsxSheetReader::Outcome::Malformed:
            break;
        }
        return false;
      }))
    return;
  shared.clear();
  shared.shrink_to_fit();
  out.sheets[static_cast<std::size_t>(index)] = builder.Finish(entries[static_cast<std::size_t>(index)].name);
  context.ReportDone();
}

}  // namespace kavrel::workbook
