#include "workbook_fixtures.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QDir>
#include <QFile>
#include <cstdint>
#include <stdexcept>

#include "storage/codec.h"

namespace kavrel::testing {

void WriteZip(const QString& path, const std::vector<std::pair<std::string, std::string>>& parts) {
  QuaZip zip(path);
  if (!zip.open(QuaZip::mdCreate)) throw std::runtime_error("cannot create zip");
  for (const auto& [name, content] : parts) {
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromStdString(name)))) throw std::runtime_error(name);
    file.write(content.data(), static_cast<qint64>(content.size()));
    file.close();
  }
  zip.close();
}

std::string Worksheet(const std::string& sheetData) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
         R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
         R"(<sheetViews><sheetView workbookViewId="0"/></sheetViews><sheetData>)" +
         sheetData + "</sheetData></worksheet>";
}

void WriteHandXlsx(const QString& path, const HandXlsx& book) {
  const std::string ns = "http://schemas.openxmlformats.org/";
  std::string workbook = R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns=")" + ns +
                         R"(spreadsheetml/2006/main" xmlns:rel=")" + ns + R"(officeDocument/2006/relationships">)";
  workbook += book.date1904 ? R"(<workbookPr date1904="1"/>)" : "<workbookPr/>";
  workbook += "<sheets>";
  std::string rels =
      R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns=")" + ns + R"(package/2006/relationships">)";
  std::vector<std::pair<std::string, std::string>> parts;
  for (std::size_t i = 0; i < book.sheets.size(); ++i) {
    const std::string id = "rId" + std::to_string(i + 10);
    // Sheet ids are deliberately not in order: the workbook's order is what counts.
    workbook += R"(<sheet name=")" + book.sheets[i].first + R"(" sheetId=")" + std::to_string(90 - i) +
                R"(" rel:id=")" + id + R"("/>)";
    rels += R"(<Relationship Id=")" + id + R"(" Type=")" + ns +
            R"(officeDocument/2006/relationships/worksheet" Target=")" + book.targets[i] + R"("/>)";
    std::string part = book.targets[i];
    part = part[0] == '/' ? part.substr(1) : QDir::cleanPath(QString::fromStdString("xl/" + part)).toStdString();
    parts.emplace_back(part, book.sheets[i].second);
  }
  workbook += "</sheets></workbook>";
  if (!book.sharedStrings.empty()) {
    rels += R"(<Relationship Id="rId1" Type=")" + ns +
            R"(officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)";
    parts.emplace_back("xl/sharedStrings.xml", book.sharedStrings);
  }
  if (!book.styles.empty()) {
    rels +=
        R"(<Relationship Id="rId2" Type=")" + ns + R"(officeDocument/2006/relationships/styles" Target="styles.xml"/>)";
    parts.emplace_back("xl/styles.xml", book.styles);
  }
  rels += "</Relationships>";
  parts.emplace_back("xl/workbook.xml", workbook);
  parts.emplace_back("xl/_rels/workbook.xml.rels", rels);
  parts.emplace_back("_rels/.rels",
                     R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns=")" + ns +
                         R"(package/2006/relationships"><Relationship Id="rId1" Type=")" + ns +
                         R"(officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
                         "</Relationships>");
  parts.emplace_back("[Content_Types].xml", R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns=")" + ns +
                                                R"(package/2006/content-types"/>)");
  WriteZip(path, parts);
}

void WriteOds(const QString& path, const std::string& spreadsheetBody) {
  const std::string content =
      R"(<?xml version="1.0" encoding="UTF-8"?>)"
      R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
      R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
      R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">)"
      R"(<office:automatic-styles/><office:body><office:spreadsheet>)" +
      spreadsheetBody + "</office:spreadsheet></office:body></office:document-content>";
  WriteZip(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}});
}

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write fixture");
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

namespace {
void Put16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::string CompoundFileWithStreams(const std::vector<std::u16string>& names) {
  // Header, one FAT sector (sector 0) and one directory sector (sector 1) of 512 bytes each.
  std::string file(512 * 3, '\0');
  file.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
  Put16(file, 0x18, 0x3E);
  Put16(file, 0x1A, 3);
  Put16(file, 0x1C, 0xFFFE);
  Put16(file, 0x1E, 9);
  Put16(file, 0x20, 6);
  Put32(file, 0x2C, 1);           // FAT sectors
  Put32(file, 0x30, 1);           // first directory sector
  Put32(file, 0x38, 4096);        // mini stream cutoff
  Put32(file, 0x3C, 0xFFFFFFFE);  // no mini FAT
  Put32(file, 0x44, 0xFFFFFFFE);  // no DIFAT sectors
  Put32(file, 0x4C, 0);           // the FAT is sector 0
  for (std::size_t at = 0x50; at < 512; at += 4) Put32(file, at, 0xFFFFFFFF);
  for (std::size_t at = 512; at < 1024; at += 4) Put32(file, at, 0xFFFFFFFF);
  Put32(file, 512, 0xFFFFFFFD);
  Put32(file, 516, 0xFFFFFFFE);
  std::vector<std::u16string> entries = {u"Root Entry"};
  entries.insert(entries.end(), names.begin(), names.end());
  for (std::size_t i = 0; i < entries.size() && i < 4; ++i) {
    const std::size_t at = 1024 + 128 * i;
    for (std::size_t k = 0; k < entries[i].size(); ++k) Put16(file, at + 2 * k, entries[i][k]);
    Put16(file, at + 64, static_cast<std::uint16_t>(2 * (entries[i].size() + 1)));
    file[at + 66] = i == 0 ? 5 : 2;
    file[at + 67] = 1;
    Put32(file, at + 68, 0xFFFFFFFF);
    Put32(file, at + 72, i + 1 < entries.size() && i > 0 ? static_cast<std::uint32_t>(i + 1) : 0xFFFFFFFF);
    Put32(file, at + 76, i == 0 && entries.size() > 1 ? 1 : 0xFFFFFFFF);
    Put32(file, at + 116, 0xFFFFFFFE);
  }
  return file;
}

namespace {

std::string Record(std::uint16_t id, const std::string& data) {
  std::string r(4, '\0');
  Put16(r, 0, id);
  Put16(r, 2, static_cast<std::uint16_t>(data.size()));
  return r + data;
}

std::string Bytes16(std::initializer_list<std::uint16_t> values) {
  std::string out(2 * values.size(), '\0');
  std::size_t at = 0;
  for (const std::uint16_t v : values) Put16(out, (at++) * 2, v);
  return out;
}

// An XLUnicodeString of UTF-16 characters (the high-byte flag set).
std::string WideString(const std::string& utf8, bool shortCount) {
  const std::u16string text = QString::fromStdString(utf8).toStdU16String();
  std::string out =
      shortCount ? std::string(1, static_cast<char>(text.size())) : Bytes16({static_cast<std::uint16_t>(text.size())});
  out += '\x01';
  for (const char16_t c : text) out += Bytes16({static_cast<std::uint16_t>(c)});
  return out;
}

std::string CellHead(int row, int column, std::uint16_t xf) {
  return Bytes16({static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(column), xf});
}

}  // namespace

void XlsBook::Format(std::uint16_t index, const std::string& code) {
  formats_ += Record(0x041E, Bytes16({index}) + WideString(code, false));
}

std::uint16_t XlsBook::Xf(std::uint16_t format) {
  xfFormats_.push_back(format);
  return static_cast<std::uint16_t>(xfFormats_.size() - 1);
}

void XlsBook::Text(int row, int column, const std::string& utf8) {
  strings_.push_back(utf8);
  std::string data = CellHead(row, column, 15);
  data += Bytes16({static_cast<std::uint16_t>(strings_.size() - 1), 0});
  cells_ += Record(0x00FD, data);
  rows_ = std::max(rows_, row + 1);
  columns_ = std::max(columns_, column + 1);
}

void XlsBook::Number(int row, int column, double value, std::uint16_t xf) {
  std::string data = CellHead(row, column, xf == 0 ? 15 : xf);
  data.append(reinterpret_cast<const char*>(&value), 8);  // little-endian IEEE, as BIFF stores it
  cells_ += Record(0x0203, data);
  rows_ = std::max(rows_, row + 1);
  columns_ = std::max(columns_, column + 1);
}

void XlsBook::Error(int row, int column, std::uint8_t code) {
  cells_ += Record(0x0205, CellHead(row, column, 15) + std::string{static_cast<char>(code), '\x01'});
  rows_ = std::max(rows_, row + 1);
  columns_ = std::max(columns_, column + 1);
}

void XlsBook::Boolean(int row, int column, bool value) {
  cells_ += Record(0x0205, CellHead(row, column, 15) + std::string{static_cast<char>(value ? 1 : 0), '\0'});
  rows_ = std::max(rows_, row + 1);
  columns_ = std::max(columns_, column + 1);
}

void XlsBook::FormulaError(int row, int column, std::uint8_t code) {
  std::string result = {'\x02', '\0', static_cast<char>(code), '\0', '\0', '\0', '\xFF', '\xFF'};
  // The cached result, options, a reserved field and a one-token formula (#REF! as a constant error).
  std::string data = CellHead(row, column, 15) + result + Bytes16({0}) + std::string(4, '\0');
  data += Bytes16({2}) + std::string{'\x1C', static_cast<char>(code)};
  cells_ += Record(0x0006, data);
  rows_ = std::max(rows_, row + 1);
  columns_ = std::max(columns_, column + 1);
}

void XlsBook::HideRow(int row) {
  hiddenRows_.push_back(row);
}

void XlsBook::Merge(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  merges_ += Bytes16({static_cast<std::uint16_t>(firstRow), static_cast<std::uint16_t>(lastRow),
                      static_cast<std::uint16_t>(firstColumn), static_cast<std::uint16_t>(lastColumn)});
}

std::string XlsBook::Bytes(const std::string& sheetName) const {
  const std::string bof = Record(0x0809, Bytes16({0x0600, 0x0005, 0x0DBB, 0x07CC}) + std::string(8, '\0'));
  const std::string bofSheet = Record(0x0809, Bytes16({0x0600, 0x0010, 0x0DBB, 0x07CC}) + std::string(8, '\0'));
  const std::string eof = Record(0x000A, "");
  std::string globals = bof + Record(0x0042, Bytes16({1200}));  // CODEPAGE: UTF-16
  globals += Record(0x0031, Bytes16({200, 0, 0x7FFF, 400, 0}) + std::string(4, '\0') + WideString("Arial", true));
  globals += formats_;
  for (const std::uint16_t format : xfFormats_) {
    std::string xf = Bytes16({0, format, 0xFFF5, 0x0020}) + std::string(12, '\0');
    globals += Record(0x00E0, xf);
  }
  std::string sst = std::string(8, '\0');
  Put32(sst, 0, static_cast<std::uint32_t>(strings_.size()));
  Put32(sst, 4, static_cast<std::uint32_t>(strings_.size()));
  for (const std::string& text : strings_) sst += WideString(text, false);
  // A filler record the readers skip keeps the stream past the compound file's small-stream size.
  const std::string filler = Record(0x00EF, std::string(4096, '\0'));
  const auto withSheetAt = [&](std::uint32_t offset) {
    std::string bound(6, '\0');
    Put32(bound, 0, offset);
    return globals + Record(0x0085, bound + WideString(sheetName, true)) + Record(0x00FC, sst) + filler + eof;
  };
  const std::string head = withSheetAt(static_cast<std::uint32_t>(withSheetAt(0).size()));
  std::string dimension(14, '\0');
  Put32(dimension, 4, static_cast<std::uint32_t>(rows_));
  Put16(dimension, 10, static_cast<std::uint16_t>(columns_));
  std::string sheet = bofSheet + Record(0x0200, dimension);
  for (const int row : hiddenRows_)
    sheet += Record(0x0208, Bytes16({static_cast<std::uint16_t>(row), 0, static_cast<std::uint16_t>(columns_), 255, 0,
                                     0, 0x0120, 15}));
  sheet += cells_;
  if (!merges_.empty()) sheet += Record(0x00E5, Bytes16({static_cast<std::uint16_t>(merges_.size() / 8)}) + merges_);
  const std::string stream = head + sheet + eof;

  // Header, the FAT (sector 0), the directory (sector 1), the stream (sectors 2 on).
  const std::size_t sectors = (stream.size() + 511) / 512;
  std::string file(512 * (3 + sectors), '\0');
  file.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
  Put16(file, 0x18, 0x3E);
  Put16(file, 0x1A, 3);
  Put16(file, 0x1C, 0xFFFE);
  Put16(file, 0x1E, 9);
  Put16(file, 0x20, 6);
  Put32(file, 0x2C, 1);
  Put32(file, 0x30, 1);
  Put32(file, 0x38, 4096);
  Put32(file, 0x3C, 0xFFFFFFFE);
  Put32(file, 0x44, 0xFFFFFFFE);
  Put32(file, 0x4C, 0);
  for (std::size_t at = 0x50; at < 512; at += 4) Put32(file, at, 0xFFFFFFFF);
  for (std::size_t at = 512; at < 1024; at += 4) Put32(file, at, 0xFFFFFFFF);
  Put32(file, 512, 0xFFFFFFFD);
  Put32(file, 516, 0xFFFFFFFE);
  for (std::size_t k = 0; k < sectors; ++k)
    Put32(file, 520 + 4 * k, k + 1 < sectors ? static_cast<std::uint32_t>(k + 3) : 0xFFFFFFFE);
  const std::u16string names[] = {u"Root Entry", u"Workbook"};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t at = 1024 + 128 * i;
    for (std::size_t k = 0; k < names[i].size(); ++k) Put16(file, at + 2 * k, names[i][k]);
    Put16(file, at + 64, static_cast<std::uint16_t>(2 * (names[i].size() + 1)));
    file[at + 66] = i == 0 ? 5 : 2;
    file[at + 67] = 1;
    Put32(file, at + 68, 0xFFFFFFFF);
    Put32(file, at + 72, 0xFFFFFFFF);
    Put32(file, at + 76, i == 0 ? 1 : 0xFFFFFFFF);
    Put32(file, at + 116, i == 0 ? 0xFFFFFFFE : 2);
    Put32(file, at + 120, i == 0 ? 0 : static_cast<std::uint32_t>(stream.size()));
  }
  for (std::size_t at = 1024 + 256; at < 1536; at += 128) {  // unused directory slots
    Put32(file, at + 68, 0xFFFFFFFF);
    Put32(file, at + 72, 0xFFFFFFFF);
    Put32(file, at + 76, 0xFFFFFFFF);
  }
  file.replace(1536, stream.size(), stream);
  return file;
}

std::vector<std::string> Lines(const workbook::Sheet& sheet) {
  std::vector<std::string> lines;
  for (const auto& row : sheet.rows) {
    std::string line;
    for (int c = 0; c < sheet.columnCount; ++c) {
      if (c > 0) line += '|';
      if (static_cast<std::size_t>(c) < row.size()) line += row[static_cast<std::size_t>(c)];
    }
    lines.push_back(line);
  }
  return lines;
}

std::string Utf8(const std::string& gb) {
  return ToQt(gb).toStdString();
}

}  // namespace kavrel::testing
