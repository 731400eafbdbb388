#include "results/export/winner_export.h"

#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>

#include "results/export/draw_history_list.h"
#include "storage/codec.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

const QString kGolden = QStringLiteral(KAVREL_TEST_DATA_DIR "/results/export");

DrawRecord GoldenRecord() {
  DrawRecord record = HistoryDraw(std::filesystem::path(kGolden.toStdString()));
  record.note.clear();
  return record;
}

WinnerTable Golden() {
  return LoadWinnerTable(GoldenRecord(), Gb("2026年度盛典"), Gb("幸运大抽奖"));
}

QString U(const std::string& gb) {
  return ToQt(gb);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ZipEntry(const QString& zip, const QString& name) {
  QuaZipFile file(zip, name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// The rows of a sheet as text, cells joined by "|", shared strings resolved. Enough of the format
// to check what a spreadsheet program shows, without the project's own reader.
QStringList SheetRows(const QString& zip, const QString& sheet, QMap<QString, QString>* typeOf = nullptr) {
  QStringList shared;
  const QString strings = QString::fromUtf8(ZipEntry(zip, QStringLiteral("xl/sharedStrings.xml")));
  static const QRegularExpression si(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>"));
  for (auto m = si.globalMatch(strings); m.hasNext();) shared << m.next().captured(1);

  QStringList rows;
  const QString xml = QString::fromUtf8(ZipEntry(zip, sheet));
  static const QRegularExpression rowRe(QStringLiteral("<row [^>]*>(.*?)</row>"));
  static const QRegularExpression cellRe(
      QStringLiteral("<c r=\"[A-Z]+\\d+\"(?: s=\"\\d+\")?(?: t=\"(\\w+)\")?>"
                     "<v>([^<]*)</v></c>"));
  for (auto r = rowRe.globalMatch(xml); r.hasNext();) {
    QStringList cells;
    const QString body = r.next().captured(1);
    for (auto c = cellRe.globalMatch(body); c.hasNext();) {
      const auto cell = c.next();
      cells << (cell.captured(1) == QStringLiteral("s") ? shared.value(cell.captured(2).toInt()) : cell.captured(2));
      if (typeOf) typeOf->insert(cells.back(), cell.captured(1).isEmpty() ? QStringLiteral("n") : cell.captured(1));
    }
    rows << cells.join(QLatin1Char('|'));
  }
  return rows;
}

TEST(WinnerTable, GoldenResultFilesGiveRowsTimesMarksAndTotals) {
  const WinnerTable table = Golden();
  EXPECT_TRUE(table.problems.empty());
  EXPECT_EQ(table.entryColumns, 2);
  ASSERT_EQ(table.rows.size(), 14u);
  ASSERT_EQ(table.groups.size(), 4u);

  const WinnerRow& li = table.rows[1];
  EXPECT_EQ(U(li.entry), QStringLiteral("0012  李四  "));
  EXPECT_TRUE(li.abandoned);
  EXPECT_EQ(U(li.drawnAt), QStringLiteral("2026年12月9日20时5分9秒"));
  // The second batch of the same award line carries its own time.
  EXPECT_EQ(U(table.rows[5].drawnAt), QStringLiteral("2026年12月9日20时7分"));
  EXPECT_EQ(table.rows[5].number, 6);
  // The batch after the undone one is still matched to its time.
  EXPECT_EQ(U(table.rows[11].drawnAt), QStringLiteral("2026年12月9日20时15分30秒"));

  // The prize changed for the award's later line: each winner keeps the prize drawn for, the
  // numbering runs on through the award, and the summary names both prizes.
  EXPECT_EQ(U(table.rows[13].prizeName), QStringLiteral("奖品：平板电脑"));
  EXPECT_EQ(table.rows[13].number, 3);
  ASSERT_EQ(table.awards.size(), 3u);
  const AwardTotals& second = table.awards[2];
  EXPECT_EQ(U(second.prizeNames), QStringLiteral("奖品：手机、奖品：平板电脑"));
  EXPECT_EQ(U(second.quota), QStringLiteral("3"));
  EXPECT_EQ(second.drawn, 3);
  EXPECT_EQ(second.abandoned, 1);
}

// A redraw after an abandon (and extra winners of a table award) is listed with the award it belongs to,
// in one table, its winners marked; an award made up on the spot, or "补抽" of an award never drawn,
// stays a table of its own. Without names for every column the headings are the program's own.
TEST(WinnerTable, RedrawsJoinTheirAwardMarkedAndTheListNamesItsColumns) {
  const std::vector<ResultLine> lines{{Gb("三等奖"), Gb("奖品：MP4"), {Gb("0017  张三  (已弃奖)"), Gb("0012  李四  ")}},
                                      {Gb("一等奖"), Gb("奖品：电脑"), {Gb("0042  褚四  ")}},
                                      {Gb("补抽三等奖"), Gb("奖品：MP4"), {Gb("0009  王五  (已弃奖)")}},
                                      {Gb("补抽补抽三等奖"), Gb("奖品：MP4"), {Gb("0004  赵六  ")}},
                                      {Gb("补抽其它奖项"), Gb("鲜花"), {Gb("0001  钱七  ")}},
                                      {Gb("董事长特别奖"), Gb("红包"), {Gb("0033  孙八  ")}}};
  WinnerTable table = BuildWinnerTable(lines, {}, ParseAwardTable(Gb("三等奖,3,1,3,奖品：MP4,\r\n")));
  ASSERT_EQ(table.groups.size(), 4u);
  EXPECT_EQ(U(table.groups[0].awardName), QStringLiteral("三等奖"));
  EXPECT_EQ(table.groups[0].rowCount, 4u);
  EXPECT_EQ(U(table.groups[2].awardName), QStringLiteral("补抽其它奖项"));
  EXPECT_EQ(U(table.groups[3].awardName), QStringLiteral("董事长特别奖"));
  QStringList remarks;
  for (std::size_t i = 0; i < 4; ++i) {
    const WinnerRow& row = table.rows[i];
    EXPECT_EQ(row.number, static_cast<int>(i) + 1);
    EXPECT_EQ(U(row.awardName), QStringLiteral("三等奖"));
    remarks << QString::fromStdString(WinnerRemark(row));
  }
  EXPECT_EQ(remarks, (QStringList{"已弃奖", "", "补抽，已弃奖", "补抽"}));
  EXPECT_EQ(U(table.rows[4].entry), QStringLiteral("0042  褚四  ")) << "rows laid out table by table";
  ASSERT_EQ(table.awards.size(), 4u);
  EXPECT_EQ(table.awards[0].drawn, 4);
  EXPECT_EQ(table.awards[0].abandoned, 2);
  EXPECT_EQ(U(table.awards[0].quota), QStringLiteral("3"));

  EXPECT_EQ(WinnerHeaders(table)[3], "中奖信息1");
  table.columnNames = {Gb("工号"), Gb(" 姓名 ")};
  EXPECT_EQ(WinnerHeaders(table),
            (std::vector<std::string>{"奖项", "奖品", "序号", "工号", "姓名", "抽取时间", "备注"}));
  table.columnNames = {Gb("工号"), ""};
  EXPECT_EQ(WinnerHeaders(table)[4], "中奖信息2");
  table.columnNames = {Gb("工号")};
  EXPECT_EQ(WinnerHeaders(table)[3], "中奖信息1") << "names that do not fit the columns are not used";
}

TEST(WinnerTable, EntriesSplitOnlyWhenSavedFromSeveralColumns) {
  auto split = [](const char* utf8) {
    QStringList out;
    for (const auto& c : SplitEntryColumns(Gb(utf8))) out << U(c);
    return out;
  };
  EXPECT_EQ(split("0012  李四  "), (QStringList{"0012", "李四"}));
  EXPECT_EQ(split("0012    李四  "), (QStringList{"0012", "", "李四"}));  // an empty cell keeps its column
  EXPECT_EQ(split("张  三"), (QStringList{"张  三"}));                    // a one-column list
  EXPECT_EQ(split("138"), (QStringList{"138"}));
}

// "姓名2转3(补空格)" puts two spaces inside two-character names; the export must not take 张 and 三 for
// two columns and shift the phone number under the wrong heading.
TEST(WinnerTable, PaddedTwoCharacterNamesStayOneColumn) {
  auto table = [](std::initializer_list<const char*> entries) {
    WinnerTable t;
    for (const char* e : entries) {
      WinnerRow row;
      row.entry = Gb(e);
      row.columns = SplitEntryColumns(row.entry);
      t.rows.push_back(row);
    }
    return t;
  };
  auto columns = [](const WinnerRow& row) {
    QStringList out;
    for (const auto& c : row.columns) out << U(c);
    return out.join(QLatin1Char('|'));
  };
  int listReads = 0;
  const auto list = [&listReads] {
    ++listReads;
    return std::vector<std::string>{Gb("0007  欧阳明月  13900000007  "), Gb("0008  李  四  13900000008  ")};
  };

  WinnerTable even = table({"0001  王小明  13800000001  ", "0002  赵六六  13800000002  "});
  AlignEntryColumns(even, list);
  EXPECT_EQ(listReads, 0) << "nothing padded: the list is not read";

  WinnerTable mixed = table({"0001  王小明  13800000001  ", "0002  张  三  13800000002  ", "0003  X  Y  Z  "});
  AlignEntryColumns(mixed, list);
  EXPECT_EQ(mixed.entryColumns, 3);
  EXPECT_EQ(columns(mixed.rows[1]), QStringLiteral("0002|张  三|13800000002"));
  EXPECT_EQ(columns(mixed.rows[2]), QStringLiteral("0003|X  Y|Z"));

  // Every winner padded: the list says how many columns an entry has; without it they stay as split.
  WinnerTable padded = table({"0002  张  三  13800000002  ", "0004  冯  五  13800000004  "});
  WinnerTable noList = padded;
  AlignEntryColumns(padded, list);
  EXPECT_EQ(padded.entryColumns, 3);
  EXPECT_EQ(columns(padded.rows[1]), QStringLiteral("0004|冯  五|13800000004"));
  AlignEntryColumns(noList, [] { return std::vector<std::string>{}; });
  EXPECT_EQ(columns(noList.rows[1]), QStringLiteral("0004|冯|五|13800000004"));
}

// A batch's time as result.txt writes it, trailing zero parts left out, as the history shows it.
TEST(WinnerTable, DrawTimesReadBackFromTheirResultText) {
  auto label = [](const char* text) {
    const auto when = ParseDrawnAt(QString::fromUtf8(text));
    return when ? TimeLabel(*when) : QStringLiteral("-");
  };
  EXPECT_EQ(label("2026年12月9日20时5分9秒"), QStringLiteral("2026-12-09 20:05:09"));
  EXPECT_EQ(label("2017年3月8日20时"), QStringLiteral("2017-03-08 20:00:00"));
  EXPECT_EQ(label("2017年3月8日9时0分5秒"), QStringLiteral("2017-03-08 09:00:05"));
  EXPECT_EQ(label("2017年3月8日"), QStringLiteral("2017-03-08 00:00:00"));
  EXPECT_EQ(label("2017年13月8日"), QStringLiteral("-"));
  EXPECT_EQ(label("old log"), QStringLiteral("-"));
}

TEST(WinnerTable, DamagedOrMissingFilesAreNotedNotFatal) {
  QTemporaryDir tmp;
  const std::filesystem::path folder(tmp.path().toStdString());
  DrawRecord record = HistoryDraw(folder);
  EXPECT_TRUE(LoadWinnerTable(record, "", "").rows.empty());

  std::filesystem::create_directory(folder / "result.dat");  // unreadable as a file
  WinnerTable table = LoadWinnerTable(record, "", "");
  EXPECT_FALSE(table.problems.empty());
  std::filesystem::remove(folder / "result.dat");

  QFile dat(QString::fromStdString((folder / "result.dat").string()));
  ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
  dat.write(Gb("坏行\r\n一等奖-奖品-001-").c_str());
  dat.close();
  table = LoadWinnerTable(record, "", "");
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_TRUE(table.rows[0].drawnAt.empty()) << "no result.txt: the time stays empty";
  EXPECT_EQ(table.problems.size(), 2u);  // the line without winners, the missing times
}

TEST(WinnerExport, SealAndLastReceiptHashArePrintedWhenTheDrawKeptReceipts) {
  QTemporaryDir copy;
  const std::filesystem::path folder(copy.path().toStdString());
  for (const auto& file : std::filesystem::directory_iterator(kGolden.toStdString()))
    std::filesystem::copy_file(file.path(), folder / file.path().filename());
  Receipt seal;
  seal.kind = ReceiptKind::Seal;
  seal.seq = 1;
  seal.poolSha256 = ListSha256({"001"});
  seal.planSha256 = ListSha256({});
  seal.seal = EventSeal(seal.poolSha256, seal.planSha256);
  const std::string line = FormatReceipt(seal);
  ASSERT_TRUE(WriteTextFile(folder / "receipts.log", ReceiptLogText({line})));
  DrawRecord record = HistoryDraw(folder);
  record.note.clear();
  const WinnerTable table = LoadWinnerTable(record, "", "");
  EXPECT_EQ(table.seal, seal.seal);
  EXPECT_EQ(table.lastReceiptHash, Sha256Hex(line));
  const QByteArray csv = WinnersCsv(table);
  EXPECT_TRUE(csv.endsWith("\r\n公证封印," + QByteArray::fromStdString(seal.seal) + "\r\n最后一条公证记录," +
                           QByteArray::fromStdString(Sha256Hex(line)) + "\r\n"));
  // Without receipts nothing is added (the golden files below have none).
  EXPECT_TRUE(Golden().seal.empty());
}

TEST(WinnerExport, CsvIsByteForByteTheGoldenFile) {
  QTemporaryDir tmp;
  const QString target = tmp.filePath(QStringLiteral("中奖名单.csv"));
  const ExportResult result = ExportWinners(Golden(), ExportFormat::Csv, target);
  ASSERT_TRUE(result.ok) << result.message.toStdString();
  EXPECT_EQ(ReadFile(target), ReadFile(kGolden + QStringLiteral("/winners.csv")));
}

TEST(WinnerExport, CsvQuotesWhatASpreadsheetWouldSplit) {
  WinnerTable table;
  WinnerRow row;
  row.awardName = "A,B";
  row.prizeName = "say \"hi\"";
  row.number = 1;
  row.columns = {" x "};
  table.rows.push_back(row);
  const QByteArray csv = WinnersCsv(table);
  EXPECT_TRUE(csv.endsWith("\"A,B\",\"say \"\"hi\"\"\",1,\" x \",,\r\n")) << csv.toStdString();
}

// Excel opens a plain CSV with "0012" as 12 and an ID number rounded to 15 digits; the Excel-safe CSV
// writes such cells as ="0012". Names, times and the running number are left as they are.
TEST(WinnerExport, ExcelSafeCsvKeepsLeadingZerosAndLongNumbersAsText) {
  const QByteArray csv = WinnersCsv(Golden(), true);
  EXPECT_TRUE(csv.contains("三等奖,奖品：MP4一部,2,=\"0012\",李四,2026年12月9日20时5分9秒,已弃奖\r\n"));
  EXPECT_TRUE(csv.contains("一等奖,奖品：笔记本一台,1,=\"110101199003071234\",陈三,"));
  EXPECT_EQ(csv.size() - WinnersCsv(Golden()).size(), 14 * 3) << "only the 14 staff and ID numbers change";
  for (const char* number : {"0194", "13800000000", "1.50", "3/4", "12:30", "+86 138"})
    EXPECT_TRUE(ExcelWouldConvert(number)) << number;
  for (const char* text : {"", "张三", "A0194", "0194张", "1 2 3 x"}) EXPECT_FALSE(ExcelWouldConvert(text)) << text;
}

TEST(WinnerExport, XlsxHoldsBothSheetsWithTextCellsAndAFrozenBoldHeader) {
  QTemporaryDir tmp;
  // A Chinese name: libxlsxwriter takes it as UTF-8 whatever the system's code page.
  const QString target = tmp.filePath(QStringLiteral("中奖名单.xlsx"));
  ASSERT_TRUE(ExportWinners(Golden(), ExportFormat::Xlsx, target).ok);
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("中奖名单.xlsx")})
      << "no leftovers";
  EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::ReadOther) << "an ordinary file, not a private temporary";
  // Into a folder named in Chinese too: on Windows its name may lie outside the code page the library
  // takes names in, and the workbook is then written elsewhere and copied in.
  ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("年会")));
  const QString inFolder = tmp.filePath(QStringLiteral("年会/中奖名单.xlsx"));
  ASSERT_TRUE(ExportWinners(Golden(), ExportFormat::Xlsx, inFolder).ok);
  EXPECT_EQ(ZipEntry(inFolder, QStringLiteral("xl/workbook.xml")), ZipEntry(target, QStringLiteral("xl/workbook.xml")));
  EXPECT_EQ(QDir(tmp.filePath(QStringLiteral("年会"))).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("中奖名单.xlsx")});

  const QString workbook = QString::fromUtf8(ZipEntry(target, QStringLiteral("xl/workbook.xml")));
  EXPECT_TRUE(workbook.contains(QStringLiteral("name=\"中奖名单\"")));
  EXPECT_TRUE(workbook.contains(QStringLiteral("name=\"汇总\"")));

  QMap<QString, QString> typeOf;
  const QStringList winners = SheetRows(target, QStringLiteral("xl/worksheets/sheet1.xml"), &typeOf);
  ASSERT_EQ(winners.size(), 15);
  EXPECT_EQ(winners[0], QStringLiteral("奖项|奖品|序号|工号|姓名|抽取时间|备注")) << "the list's own column names";
  EXPECT_EQ(winners[2], QStringLiteral("三等奖|奖品：MP4一部|2|0012|李四|2026年12月9日20时5分9秒|已弃奖"));
  EXPECT_EQ(winners[11], QStringLiteral("一等奖|奖品：笔记本一台|1|110101199003071234|陈三|2026年12月9日20时"));
  EXPECT_EQ(winners[14], QStringLiteral("二等奖|奖品：平板电脑|3|0035|蒋六|2026年12月9日20时31分2秒"));
  // The ID number and the staff number with leading zeros are strings, the running number a number.
  EXPECT_EQ(typeOf.value(QStringLiteral("110101199003071234")), QStringLiteral("s"));
  EXPECT_EQ(typeOf.value(QStringLiteral("0012")), QStringLiteral("s"));
  EXPECT_EQ(typeOf.value(QStringLiteral("10")), QStringLiteral("n"));

  const QString sheet1 = QString::fromUtf8(ZipEntry(target, QStringLiteral("xl/worksheets/sheet1.xml")));
  EXPECT_TRUE(sheet1.contains(QStringLiteral("state=\"frozen\"")));
  EXPECT_TRUE(sheet1.contains(QStringLiteral("<col ")));
  EXPECT_TRUE(QString::fromUtf8(ZipEntry(target, QStringLiteral("xl/styles.xml"))).contains(QStringLiteral("<b/>")));

  const QStringList summary = SheetRows(target, QStringLiteral("xl/worksheets/sheet2.xml"));
  ASSERT_EQ(summary.size(), 4);
  EXPECT_EQ(summary[0], QStringLiteral("奖项|奖品|中奖名额|已抽取|已弃奖|实际中奖"));
  EXPECT_EQ(summary[1], QStringLiteral("三等奖|奖品：MP4一部|10|10|1|9"));
  EXPECT_EQ(summary[3], QStringLiteral("二等奖|奖品：手机、奖品：平板电脑|3|3|1|2"));
}

QString PdfLayoutText(const QString& pdf) {
  QProcess tool;
  tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!tool.waitForFinished(60000)) return {};
  return QString::fromUtf8(tool.readAllStandardOutput());
}

QString PdfText(const QString& pdf) {
  // Table cells come out spread over the line; only the characters and the page breaks matter here.
  QString text = PdfLayoutText(pdf);
  text.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n]")));
  return text;
}

TEST(WinnerExport, PdfHasTitlesTablesMarksAndNumberedPagesAsText) {
  QTemporaryDir tmp;
  const QString target = tmp.filePath(QStringLiteral("winners.pdf"));
  ASSERT_TRUE(ExportWinners(Golden(), ExportFormat::Pdf, target).ok);
  const QString text = PdfText(target);
  ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) found no text";
  EXPECT_EQ(text.count(QLatin1Char('\f')), 1) << "one page";
  for (const char* expected : {"2026年度盛典", "幸运大抽奖", "三等奖10名", "奖品：平板电脑", "110101199003071234",
                               "0012李四2026年12月9日20时5分9秒已弃奖", "2026年12月9日20时31分2秒", "第1页/共1页"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  // The longest times stay on one line.
  const QString layout = PdfLayoutText(target);
  EXPECT_TRUE(layout.contains(QStringLiteral("2026年12月9日20时15分30秒"))) << layout.toStdString();

  // A long list runs over several pages, each numbered.
  WinnerTable big = Golden();
  big.groups.push_back({Gb("纪念奖"), Gb("奖品：抱枕"), big.rows.size(), 150});
  for (int i = 1; i <= 150; ++i) {
    WinnerRow row = big.rows[0];
    row.awardName = Gb("纪念奖");
    row.number = i;
    big.rows.push_back(row);
  }
  const QString bigTarget = tmp.filePath(QStringLiteral("big.pdf"));
  ASSERT_TRUE(ExportWinners(big, ExportFormat::Pdf, bigTarget).ok);
  const QString bigText = PdfText(bigTarget);
  const int pages = static_cast<int>(bigText.count(QLatin1Char('\f')));
  EXPECT_GE(pages, 3);
  EXPECT_TRUE(bigText.contains(QStringLiteral("第%1页/共%1页").arg(pages)));
}

TEST(WinnerExport, AFolderThatCannotBeWrittenIsReportedAndLeftAlone) {
  QTemporaryDir tmp;
  QFile blocker(tmp.filePath(QStringLiteral("not-a-folder")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  for (ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv, ExportFormat::Pdf}) {
    const ExportResult result = ExportWinners(Golden(), format, tmp.filePath(QStringLiteral("not-a-folder/x.out")));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains(QStringLiteral("not-a-folder"))) << result.message.toStdString();
  }
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList{"not-a-folder"});

  // An earlier export of the same name is replaced whole.
  const QString target = tmp.filePath(QStringLiteral("w.csv"));
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  ASSERT_TRUE(ExportWinners(Golden(), ExportFormat::Csv, target).ok);
  EXPECT_EQ(ReadFile(target), ReadFile(kGolden + QStringLiteral("/winners.csv")));
}

}  // namespace
}  // namespace kavrel
