#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>

#include "lists/workbook/workbook.h"
#include "workbook_fixtures.h"

namespace kavrel::workbook {
namespace {

using testing::HandXlsx;
using ::testing::HasSubstr;
using testing::Worksheet;

class ErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HandXlsx book;
    std::string rows;
    // Long enough (about 400 KB) that cells straddle the reader's buffer refills.
    for (int r = 1; r <= 9000; ++r)
      rows += "<row r=\"" + std::to_string(r) + "\"><c t=\"inlineStr\"><is><t>第" + std::to_string(r) +
              "行</t></is></c><c><v>" + std::to_string(r * 7) + "</v></c></row>";
    book.sheets = {{"大表", Worksheet(rows)}};
    book.targets = {"worksheets/sheet1.xml"};
    testing::WriteHandXlsx(Path("good.xlsx"), book);
  }
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  std::string Bytes(const char* name) const {
    QFile file(Path(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
  }
  QTemporaryDir dir_;
};

Workbook Read(const QString& path, ReadOptions options = {}) {
  return ReadWorkbook(path, options);
}

// Each failure names its reason and hands out no cells, so the caller's table stays as it was.
TEST_F(ErrorsTest, EveryUnreadableFileSaysWhy) {
  // A download cut short: the zip's directory at the end is missing.
  const std::string good = Bytes("good.xlsx");
  testing::WriteBytes(Path("cut.xlsx"), good.substr(0, good.size() / 2));
  // Bytes flipped inside the compressed sheet: the zip opens but the part does not inflate.
  std::string flipped = good;
  const std::size_t sheetAt = flipped.find("xl/worksheets/sheet1.xml");
  for (std::size_t i = sheetAt + 60; i < sheetAt + 400; ++i) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
  testing::WriteBytes(Path("flipped.xlsx"), flipped);
  testing::WriteZip(Path("book.xlsb"), {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.bin", "\x83\x01"}});
  testing::WriteZip(Path("photos.zip"), {{"a.jpg", "not a sheet"}});
  testing::WriteBytes(Path("protected.xlsx"),
                      testing::CompoundFileWithStreams({u"EncryptionInfo", u"EncryptedPackage"}));
  testing::WriteBytes(Path("letter.doc"), testing::CompoundFileWithStreams({u"WordDocument"}));
  // One stray cell far out: the table it asks for would not fit any memory.
  for (const char* corner : {"XFD1048576", "ZZ100000"}) {
    testing::HandXlsx book;
    book.sheets = {{"Sheet1", testing::Worksheet(std::string(R"(<row r="1"><c r="A1"><v>1</v></c></row><row><c r=")") +
                                                 corner + R"("><v>2</v></c></row>)")}};
    book.targets = {"worksheets/sheet1.xml"};
    testing::WriteHandXlsx(Path((std::string(corner) + ".xlsx").c_str()), book);
  }

  struct Case {
    const char* file;
    ErrorKind kind;
    const char* words;
  } cases[] = {{"cut.xlsx", ErrorKind::Damaged, "已损坏"},
               {"flipped.xlsx", ErrorKind::Damaged, "已损坏"},
               {"book.xlsb", ErrorKind::Xlsb, ".xlsb"},
               {"photos.zip", ErrorKind::NotAWorkbook, "不是Excel或OpenDocument工作簿"},
               {"protected.xlsx", ErrorKind::Encrypted, "密码"},
               {"letter.doc", ErrorKind::NotAWorkbook, "没有Excel工作表"},
               {"XFD1048576.xlsx", ErrorKind::TooLarge, "单元格XFD1048576（1048576行×16384列）"},
               {"ZZ100000.xlsx", ErrorKind::TooLarge, "单元格ZZ100000"},
               {"missing.xlsx", ErrorKind::Unreadable, "不存在"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Workbook book = Read(Path(c.file));
    EXPECT_EQ(book.error, c.kind);
    EXPECT_THAT(book.errorText, HasSubstr(c.words));
    for (const Sheet& sheet : book.sheets) EXPECT_TRUE(sheet.rows.empty());
  }
  ReadOptions past;
  past.sheetIndex = 3;
  EXPECT_EQ(Read(Path("good.xlsx"), past).error, ErrorKind::NoSuchSheet);
}

// A zip bomb is stopped by the sizes it declares, and by what it really unpacks.
TEST_F(ErrorsTest, PartsUnpackingPastTheCapAreRefused) {
  ReadOptions small;
  small.unpackCap = 20000;  // the sheet part is about 400 KB
  const Workbook book = Read(Path("good.xlsx"), small);
  EXPECT_EQ(book.error, ErrorKind::TooLarge);
  EXPECT_THAT(book.errorText, HasSubstr("1GB"));

  // A part that understates its size: patch the central directory and local header to claim
  // 10 bytes. Whatever the inflater then does, the read must fail, not run on.
  std::string lying = Bytes("good.xlsx");
  const std::string name = "xl/worksheets/sheet1.xml";
  for (std::size_t at = lying.find(name); at != std::string::npos; at = lying.find(name, at + 1)) {
    const bool central = at >= 46 && lying.compare(at - 46, 4, "PK\x01\x02") == 0;
    const bool local = at >= 30 && lying.compare(at - 30, 4, "PK\x03\x04") == 0;
    if (central) lying.replace(at - 46 + 24, 4, std::string("\x0A\0\0\0", 4));
    if (local) lying.replace(at - 30 + 22, 4, std::string("\x0A\0\0\0", 4));
  }
  testing::WriteBytes(Path("lying.xlsx"), lying);
  const Workbook liar = Read(Path("lying.xlsx"));
  EXPECT_FALSE(liar.ok());
  for (const Sheet& sheet : liar.sheets) EXPECT_TRUE(sheet.rows.empty());
}

TEST_F(ErrorsTest, CancelStopsTheReadAndProgressCountsUp) {
  std::atomic<bool> cancel{false};
  std::vector<std::int64_t> seen;
  ReadOptions options;
  options.cancel = &cancel;
  options.progress = [&](std::int64_t done, std::int64_t total) {
    seen.push_back(done);
    EXPECT_LE(done, total);
  };
  const Workbook whole = Read(Path("good.xlsx"), options);
  ASSERT_TRUE(whole.ok()) << whole.errorText;
  EXPECT_EQ(whole.sheets[0].rowCount, 9000);
  for (int r = 1; r <= 9000; ++r) {
    const auto& row = whole.sheets[0].rows[static_cast<std::size_t>(r - 1)];
    ASSERT_EQ(row.size(), 2u);
    ASSERT_EQ(row[0], "第" + std::to_string(r) + "行");
    ASSERT_EQ(row[1], std::to_string(r * 7));
  }
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

  // Cancelled from "another thread" while the sheet streams.
  options.progress = [&](std::int64_t, std::int64_t) { cancel = true; };
  const Workbook stopped = Read(Path("good.xlsx"), options);
  EXPECT_EQ(stopped.error, ErrorKind::Cancelled);
  EXPECT_TRUE(stopped.sheets[0].rows.empty());
}

}  // namespace
}  // namespace kavrel::workbook
