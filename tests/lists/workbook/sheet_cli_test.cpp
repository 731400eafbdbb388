#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "workbook_fixtures.h"

namespace kavrel {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun Sheet(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(KAVREL_SHEET_EXE), arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  // Windows' C library ends each line written with CR LF.
  auto text = [](QByteArray bytes) { return bytes.replace("\r\n", "\n").toStdString(); };
  return {process.exitCode(), text(process.readAllStandardOutput()), text(process.readAllStandardError())};
}

TEST(SheetCliTest, PrintsTheTableTheImportWouldFill) {
  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("名单.csv"));
  testing::WriteBytes(csv, "工号,备注\r\n1,\"a\\b\tc\r\nd\"\r\n2,\r\n");
  const CliRun run = Sheet({csv});
  EXPECT_EQ(run.code, 0) << run.err;
  // A cell's TAB and line break would make one row two people: spaces, and said so.
  EXPECT_EQ(run.out, "工号\t备注\n1\ta\\\\b c d\n2\t\n");
  EXPECT_NE(run.err.find("1个单元格里的换行或制表符已换成空格"), std::string::npos) << run.err;

  // The second sheet holds a title and no names: what the import says about it.
  const CliRun xls = Sheet({QStringLiteral(KAVREL_WORKBOOK_DATA "/names.xls"), QStringLiteral("2")});
  EXPECT_EQ(xls.code, 1);
  EXPECT_TRUE(xls.out.empty());
  EXPECT_NE(xls.err.find("中没有名单"), std::string::npos) << xls.err;

  // One stray cell at the sheet's last corner is refused, naming it, without a grid to that corner.
  testing::HandXlsx book;
  book.sheets = {{"Sheet1", testing::Worksheet(R"(<row r="1048576"><c r="XFD1048576"><v>1</v></c></row>)")}};
  book.targets = {"worksheets/sheet1.xml"};
  const QString corner = dir.filePath(QStringLiteral("corner.xlsx"));
  testing::WriteHandXlsx(corner, book);
  const CliRun far = Sheet({corner});
  EXPECT_EQ(far.code, 1);
  EXPECT_NE(far.err.find("单元格XFD1048576"), std::string::npos) << far.err;
}

TEST(SheetCliTest, ErrorsGoToStandardErrorWithANonZeroExit) {
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("bad.xlsx"));
  testing::WriteBytes(bad, "PK\x03\x04 broken");
  CliRun run = Sheet({bad});
  EXPECT_NE(run.code, 0);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(run.err.rfind("请求数据失败\n文件已损坏", 0), 0u) << run.err;

  run = Sheet({QStringLiteral(KAVREL_WORKBOOK_DATA "/names.xls"), QStringLiteral("3")});
  EXPECT_NE(run.code, 0);
  EXPECT_NE(run.err.find("输入的表格数不存在"), std::string::npos) << run.err;

  run = Sheet({});
  EXPECT_EQ(run.code, 2);
}

// Found by fuzzing: a string record whose length runs past its buffer makes FreeXL convert bytes of
// its own stack it never wrote (valgrind: uninitialised reads only, no write). The file must still be
// refused with the usual message, never crash. Under ASan the library's read stops the run first.
TEST(SheetCliTest, AFuzzedXlsThatConfusesFreeXlIsRefused) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "FreeXL's own uninitialised read is reported by AddressSanitizer";
#endif
  const CliRun run = Sheet({QStringLiteral(KAVREL_WORKBOOK_DATA "/fuzzed-strings.xls")});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.out.empty());
  // What FreeXL makes of its unwritten bytes differs between systems: it finds either a damaged file
  // or no sheet in it. Both are refused in words.
  EXPECT_TRUE(run.err.find("文件已损坏或不是有效的Excel 97-2003工作簿") != std::string::npos ||
              run.err.find("这个文件里没有Excel工作表") != std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace kavrel
