#include "workbook_bench_files.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QFile>
#include <QProcess>
#include <array>
#include <stdexcept>
#include <string>

namespace kavrel::bench {

namespace {

const std::array<const char*, 6> kDepartments = {"销售部", "市场部", "研发中心", "人力资源部", "财务部", "行政部"};
const std::array<const char*, 8> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "欧阳", "赵"};
const std::array<const char*, 10> kGiven = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "洋", "艳"};

std::string Name(int i) {
  return std::string(kSurnames[static_cast<std::size_t>(i % 8)]) + kGiven[static_cast<std::size_t>(i / 8 % 10)] +
         kGiven[static_cast<std::size_t>(i / 80 % 10)] + std::to_string(i / 800);
}

void Zip(const QString& path, const std::vector<std::pair<std::string, const std::string*>>& parts) {
  QuaZip zip(path);
  if (!zip.open(QuaZip::mdCreate)) throw std::runtime_error("cannot create " + path.toStdString());
  for (const auto& [name, content] : parts) {
    QuaZipFile file(&zip);
    QuaZipNewInfo info(QString::fromStdString(name));
    if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, 6)) throw std::runtime_error(name);
    file.write(content->data(), static_cast<qint64>(content->size()));
    file.close();
  }
  zip.close();
}

}  // namespace

void WriteBenchXlsx(const QString& path, int rows, const std::string& strayCell) {
  const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const std::string pkg = "http://schemas.openxmlformats.org/package/2006/";
  // Shared strings as Excel writes them: the header, the departments, then every name.
  std::string sst = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst xmlns=\"" + main + "\">";
  for (const char* s : {"工号", "姓名", "部门"}) sst += std::string("<si><t>") + s + "</t></si>";
  for (const char* d : kDepartments) sst += std::string("<si><t>") + d + "</t></si>";
  std::string sheet = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"" + main +
                      "\" xmlns:r=\"" + rel + "\"><dimension ref=\"A1:C" + std::to_string(rows) + "\"/><sheetData>";
  if (rows > 0)
    sheet +=
        "<row r=\"1\" spans=\"1:3\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
        "<c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c></row>";
  sheet.reserve(static_cast<std::size_t>(rows) * 100);
  for (int i = 2; i <= rows; ++i) {
    const std::string r = std::to_string(i);
    sst += "<si><t>" + Name(i) + "</t></si>";
    const int nameIndex = 3 + 6 + (i - 2);
    sheet += "<row r=\"" + r + "\" spans=\"1:3\"><c r=\"A" + r + "\"><v>" + std::to_string(100000 + i) +
             "</v></c><c r=\"B" + r + "\" t=\"s\"><v>" + std::to_string(nameIndex) + "</v></c><c r=\"C" + r +
             "\" t=\"s\"><v>" + std::to_string(3 + i % 6) + "</v></c></row>";
  }
  sst += "</sst>";
  if (!strayCell.empty()) sheet += "<row><c r=\"" + strayCell + "\"><v>1</v></c></row>";
  sheet += "</sheetData></worksheet>";
  const std::string workbook = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook xmlns=\"" +
                               main + "\" xmlns:r=\"" + rel +
                               "\"><sheets><sheet name=\"名单\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
  const std::string workbookRels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"" + pkg +
                                   "relationships\"><Relationship Id=\"rId1\" Type=\"" + rel +
                                   "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
                                   rel +
                                   "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" "
                                   "Type=\"" +
                                   rel + "/styles\" Target=\"styles.xml\"/></Relationships>";
  const std::string styles = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<styleSheet xmlns=\"" + main +
                             "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
                             "<fills count=\"1\"><fill><patternFill patternType=\"none\"/></fill></fills>"
                             "<borders count=\"1\"><border/></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\"/>"
                             "</cellStyleXfs><cellXfs count=\"1\"><xf numFmtId=\"0\" xfId=\"0\"/></cellXfs>"
                             "</styleSheet>";
  const std::string rootRels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"" + pkg +
                               "relationships\"><Relationship Id=\"rId1\" Type=\"" + rel +
                               "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
  const std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Types xmlns=\"" + pkg +
      "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
      "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/><Override "
      "PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/><Override PartName=\"/xl/sharedStrings.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/><Override "
      "PartName=\"/xl/styles.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>";
  Zip(path, {{"[Content_Types].xml", &types},
             {"_rels/.rels", &rootRels},
             {"xl/workbook.xml", &workbook},
             {"xl/_rels/workbook.xml.rels", &workbookRels},
             {"xl/styles.xml", &styles},
             {"xl/sharedStrings.xml", &sst},
             {"xl/worksheets/sheet1.xml", &sheet}});
}

void WriteBenchOds(const QString& path, int rows) {
  std::string content =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\"><office:body>"
      "<office:spreadsheet><table:table table:name=\"名单\"><table:table-column "
      "table:number-columns-repeated=\"3\"/><table:table-row>";
  for (const char* s : {"工号", "姓名", "部门"})
    content +=
        std::string("<table:table-cell office:value-type=\"string\"><text:p>") + s + "</text:p></table:table-cell>";
  content += "<table:table-cell table:number-columns-repeated=\"1021\"/></table:table-row>";
  content.reserve(static_cast<std::size_t>(rows) * 260);
  for (int i = 2; i <= rows; ++i) {
    const std::string id = std::to_string(100000 + i);
    content += "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"" + id + "\"><text:p>" +
               id +
               "</text:p></table:table-cell><table:table-cell office:value-type=\"string\">"
               "<text:p>" +
               Name(i) +
               "</text:p></table:table-cell><table:table-cell "
               "office:value-type=\"string\"><text:p>" +
               kDepartments[static_cast<std::size_t>(i % 6)] +
               "</text:p></table:table-cell><table:table-cell table:number-columns-repeated=\"1021\"/>"
               "</table:table-row>";
  }
  // What LibreOffice ends every sheet with.
  content += "<table:table-row table:number-rows-repeated=\"" + std::to_string(1048576 - rows) +
             "\"><table:table-cell table:number-columns-repeated=\"1024\"/></table:table-row></table:table>"
             "</office:spreadsheet></office:body></office:document-content>";
  const std::string mime = "application/vnd.oasis.opendocument.spreadsheet";
  Zip(path, {{"mimetype", &mime}, {"content.xml", &content}});
}

void WriteBenchCsv(const QString& path, int rows) {
  std::string text = "\xEF\xBB\xBF工号,姓名,部门\r\n";
  text.reserve(static_cast<std::size_t>(rows) * 40);
  for (int i = 2; i <= rows; ++i)
    text += std::to_string(100000 + i) + "," + Name(i) + "," + kDepartments[static_cast<std::size_t>(i % 6)] + "\r\n";
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write csv");
  file.write(text.data(), static_cast<qint64>(text.size()));
}

bool WriteBenchXls(const QString& path, int rows) {
  const QString script = QStringLiteral(
      "import sys, xlwt\n"
      "deps = ['销售部', '市场部', '研发中心', '人力资源部', '财务部', '行政部']\n"
      "sur = ['王', '李', '张', '刘', '陈', '杨', '欧阳', '赵']\n"
      "giv = ['伟', '芳', '娜', '敏', '静', '丽', '强', '磊', '洋', '艳']\n"
      "wb = xlwt.Workbook(encoding='utf-8')\n"
      "ws = wb.add_sheet('名单')\n"
      "for c, h in enumerate(['工号', '姓名', '部门']): ws.write(0, c, h)\n"
      "for i in range(2, int(sys.argv[2]) + 1):\n"
      "    ws.write(i - 1, 0, 100000 + i)\n"
      "    ws.write(i - 1, 1, sur[i % 8] + giv[i // 8 % 10] + giv[i // 80 % 10] + str(i // 800))\n"
      "    ws.write(i - 1, 2, deps[i % 6])\n"
      "wb.save(sys.argv[1])\n");
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path, QString::number(rows)});
  return python.waitForFinished(600000) && python.exitCode() == 0;
}

}  // namespace kavrel::bench
