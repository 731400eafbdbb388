// Writes the seed corpus of every fuzz target into <folder>/<target>/: the tests' data files and
// what the tests' fixture writers make, in the form each target reads its input.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "lists/list_table.h"
#include "lists/table_snapshot.h"
#include "png_test_writer.h"
#include "storage/codec.h"
#include "storage/receipt_log.h"
#include "storage/result_store.h"
#include "workbook_fixtures.h"

using namespace kavrel;

namespace {

QString root;

void Seed(const char* target, const std::string& name, const std::string& bytes) {
  const QString folder = root + QLatin1Char('/') + QString::fromUtf8(target);
  QDir().mkpath(folder);
  QFile file(folder + QLatin1Char('/') + QString::fromStdString(name));
  if (!file.open(QIODevice::WriteOnly)) fuzz::Fail("cannot write a seed");
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) fuzz::Fail("a test data file is missing");
  const QByteArray bytes = file.readAll();
  return bytes.toStdString();
}

std::string TestData(const char* relative) {
  return ReadFile(QStringLiteral(KAVREL_TEST_DATA "/") + QString::fromUtf8(relative));
}

std::string Picture(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) fuzz::Fail("cannot encode a seed picture");
  return bytes.toStdString();
}

void TextLists() {
  Seed("fuzz_text_list", "two-columns.dat", TestData("storage/set_two_columns.dat"));
  Seed("fuzz_text_list", "gbk-crlf.txt", Gb("张三\r\n李四\r\n王-五\r\n\r\n  \r\n赵六"));
  Seed("fuzz_text_list", "utf8-bom-lf.txt",
       "\xEF\xBB\xBF"
       "张三\n李四\n");
  Seed("fuzz_text_list", "cr-only.txt", Gb("001\r002\r003\r"));
  const QString utf16 = QStringLiteral("\uFEFF张三\r\n李四\r\n");
  Seed("fuzz_text_list", "utf16le.txt",
       std::string(reinterpret_cast<const char*>(utf16.utf16()), static_cast<std::size_t>(utf16.size()) * 2));
}

void ConfigFiles() {
  Seed("fuzz_config_ini", "before.ini", TestData("storage/config_before.ini"));
  Seed("fuzz_config_ini", "after.ini", TestData("storage/config_after.ini"));
}

void ExitRecords() {
  Seed("fuzz_exit_record", "data.ini",
       fuzz::JoinParts({TestData("storage/exit.ini"), TestData("storage/result.dat"), TestData("storage/result.txt")}));
  // A record the resume accepts, with an unconfirmed batch after it.
  const std::string dat = Gb("三等奖-奖品：MP4一部-004-001-");
  const std::string txt =
      "\r\n\r\n" + std::string(110, '-') + "\r\n\r\n" + Gb("2026年12月9日20时\r\n\r\n【三等奖】\t004\t001\t\r\n");
  ExitRecord record;
  for (int i = 2; i <= 20; ++i)
    if (i != 4) record.pool.push_back((i < 10 ? "00" : "0") + std::to_string(i));
  record.plan = {Gb("三等奖,4,2,2,2,奖品：MP4一部,,"), Gb("一等奖,1,1,1,1,奖品：笔记本一台,pic\\1.png,")};
  record.lastAwardName = Gb("三等奖");
  record.batchNo = 1;
  record.drawnInAward = 2;
  record.resultDatSize = static_cast<long long>(dat.size());
  record.resultTxtSize = static_cast<long long>(txt.size());
  Seed("fuzz_exit_record", "sound.ini", fuzz::JoinParts({ExitRecordText(record), dat, txt}));
  Seed("fuzz_exit_record", "unconfirmed.ini", fuzz::JoinParts({ExitRecordText(record), dat + "009-007-", txt}));
}

void Snapshots() {
  ListTable table;
  table.Resize(4, 3);
  table.SetCell(0, 1, Gb("工号"));
  table.SetCell(0, 2, Gb("姓名"));
  for (int r = 1; r < 4; ++r) {
    table.SetCell(r, 0, std::to_string(r));
    table.SetCell(r, 1, "00" + std::to_string(r));
    table.SetCell(r, 2, Gb("张三"));
  }
  table.ApplyFormat(1, 1, 2, 2, CellFormat{});
  table.SetColumnWidth(2, 120);
  Seed("fuzz_imdata", "table.dat", EncodeSnapshot(table));
  Seed("fuzz_imdata", "design.dat", EncodeSnapshot(ListTable()));
}

void Receipts() {
  Receipt seal;
  seal.kind = ReceiptKind::Seal;
  seal.seq = 1;
  seal.time = "2026-12-09T20:00:00";
  seal.poolSha256 = ListSha256({"001", "002", "003"});
  seal.planSha256 = ListSha256({Gb("三等奖,2,1,1,2,奖品,,")});
  seal.seal = EventSeal(seal.poolSha256, seal.planSha256);
  seal.plan = {Gb("三等奖,2,1,1,2,奖品,,")};
  seal.poolSize = 3;
  Receipt batch;
  batch.kind = ReceiptKind::Batch;
  batch.seq = 2;
  batch.time = "2026-12-09T20:01:00";
  batch.prev = seal.seal;
  batch.batchIndex = 1;
  batch.award = Gb("三等奖");
  batch.prize = Gb("奖品");
  batch.batchSize = 2;
  batch.groupFirst = 1;
  batch.groupLast = 3;
  batch.poolSha256 = seal.poolSha256;
  batch.poolSize = 3;
  batch.generatorState = 12345;
  batch.winners = {{3, "003"}, {1, "001"}};
  Receipt undo;
  undo.kind = ReceiptKind::Undo;
  undo.seq = 3;
  undo.award = Gb("三等奖");
  undo.entries = {"003", "001"};
  undo.returned = {"001", "003"};
  Receipt change;
  change.kind = ReceiptKind::PrizeChange;
  change.seq = 4;
  change.planIndex = 1;
  change.lineBefore = Gb("三等奖,2,1,1,2,奖品,,");
  change.lineAfter = Gb("三等奖,2,1,1,2,新奖品,,");
  Receipt supplement;
  supplement.kind = ReceiptKind::Supplement;
  supplement.seq = 5;
  supplement.queued = {Gb("补奖,1,1,1,1,奖品,,")};
  std::vector<std::string> lines;
  for (const Receipt* r : {&seal, &batch, &undo, &change, &supplement}) lines.push_back(FormatReceipt(*r));
  Seed("fuzz_receipts", "log.txt", ReceiptLogText(lines));
  Seed("fuzz_receipts", "cut.txt", ReceiptLogText(lines).substr(0, 300));
}

void Pictures() {
  QImage image(33, 21, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgba(x * 7, y * 11, 200, x < 4 ? 0 : 255));
  Seed("fuzz_picture", "plain.png", testing::PngBytes(image));
  Seed("fuzz_picture", "interlaced.png", testing::PngBytes(image, true));
  Seed("fuzz_picture", "header-only.png", testing::PngHeaderOnly(30000, 30000));
  Seed("fuzz_picture", "photo.jpg", Picture(image.convertToFormat(QImage::Format_RGB32), "JPG"));
  Seed("fuzz_picture", "picture.bmp", Picture(image, "BMP"));
}

void Workbooks() {
  const std::string sst = R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" )"
                          R"(uniqueCount="3"><si><t>张三</t></si><si><r><t>李</t></r><r><t>四</t></r></si>)"
                          R"(<si><t xml:space="preserve"> 王五 </t></si></sst>)";
  const std::string styles = R"(<styleSheet><numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy/m/d;@"/>)"
                             R"(</numFmts><cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="20"/>)"
                             R"(</cellXfs></styleSheet>)";
  const std::string sheet = testing::Worksheet(
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c><c r="B1" t="s"><v>0</v></c></row>)"
      R"(<row r="2"><c r="A2"><v>110101199001011234</v></c><c r="B2" t="s"><v>1</v></c>)"
      R"(<c r="C2" s="1"><v>45296</v></c><c r="D2" s="2"><v>0.5</v></c><c r="E2" t="b"><v>1</v></c></row>)"
      R"(<row><c t="s"><v>2</v></c><c t="str"><f>A1</f><v>x&amp;y</v></c><c t="e"><v>#N/A</v></c></row>)");
  Seed("fuzz_xlsx", "names", fuzz::JoinParts({sheet, sst, styles, "0"}));
  Seed("fuzz_xlsx", "inline",
       fuzz::JoinParts({testing::Worksheet(R"(<row r="3"><c r="B3" t="inlineStr"><is>)"
                                           R"(<t>a</t></is></c></row>)"),
                        "", "", "1"}));
  Seed("fuzz_ods", "names",
       R"(<table:table table:name="名单"><table:table-column table:number-columns-repeated="3"/>)"
       R"(<table:table-row><table:table-cell office:value-type="string"><text:p>工号</text:p></table:table-cell>)"
       R"(<table:table-cell table:number-columns-repeated="2"/></table:table-row>)"
       R"(<table:table-row table:number-rows-repeated="2"><table:table-cell office:value-type="float" )"
       R"(office:value="1001"><text:p>1,001</text:p></table:table-cell><table:table-cell office:value-type="string">)"
       R"(<text:p>a<text:s text:c="3"/>b<text:tab/>c</text:p></table:table-cell>)"
       R"(<table:table-cell office:value-type="date" office:date-value="2024-01-05T09:30:00"/></table:table-row>)"
       R"(</table:table>)");
  Seed("fuzz_xls", "names.xls", ReadFile(QStringLiteral(KAVREL_WORKBOOK_DATA "/names.xls")));
  Seed("fuzz_xls", "compound.xls", testing::CompoundFileWithStreams({u"Workbook"}));
  Seed("fuzz_csv", "gbk.csv", Gb("工号,姓名\r\n001,张三\r\n002,\"李,四\"\r\n003,\"王\"\"五\"\"\"\r\n"));
  Seed("fuzz_csv", "utf8-tabs.csv",
       "\xEF\xBB\xBF"
       "a\tb\tc\n1\t\"x\ny\"\t3\n");
  Seed("fuzz_csv", "semicolons.csv", "a;b\r\n1;2\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  root = QString::fromLocal8Bit(argv[1]);
  TextLists();
  ConfigFiles();
  ExitRecords();
  Snapshots();
  Receipts();
  Pictures();
  Workbooks();
  return 0;
}
