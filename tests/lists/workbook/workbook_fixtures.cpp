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
