#include "results/history_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "results/result_window.h"
#include "results/winner_export_window.h"
#include "storage/codec.h"
#include "storage/list_columns.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(KAVREL_TEST_DATA_DIR) / "results" / "export";

// A program folder as an event leaves it: the current draw and history folders of every kind,
// one of them damaged.
class HistoryWindowTest : public ::testing::Test {
 protected:
  HistoryWindowTest() : dir(fs::path(tmp.path().toStdString())) {
    dir.EnsureConfigDir();
    Copy(kGolden / "result.dat", dir.Path(ProgramDir::kResultDat));
    Copy(kGolden / "result.txt", dir.Path(ProgramDir::kResultTxt));
    const fs::path history = dir.Path(ProgramDir::kHistoryDir);

    fs::create_directories(history / "20261209-200507");  // its result.txt is lost
    Copy(kGolden / "result.dat", history / "20261209-200507" / "result.dat");
    Settings(history / "20261209-200507" / "draw.ini").WriteText("history", "reason", "restart");

    // Drawn on the 9th, put aside at the next morning's start.
    fs::create_directories(history / "20261210-083000");
    Copy(kGolden / "result.dat", history / "20261210-083000" / "result.dat");
    Copy(kGolden / "result.txt", history / "20261210-083000" / "result.txt");
    Settings(history / "20261210-083000" / "draw.ini").WriteText("history", "reason", "new-start");
    Settings(history / "20261209-200507" / "draw.ini").WriteText("history", "reason", "restart");

    fs::create_directories(history / "20251231-235959");  // from before the reason was kept
    WriteTextFile(history / "20251231-235959" / "result.dat", Gb("一等奖-奖品：电视-001-002(已弃奖)-"));
    WriteTextFile(history / "20251231-235959" / "result.txt", "old log");

    fs::create_directories(history / "20261001-120000" / "result.dat");  // cannot be read as a file

    fs::create_directories(history / "20261002-120000");
    WriteTextFile(history / "20261002-120000" / "result.dat", Gb("坏行\r\n二等奖-奖品-007-"));

    fs::create_directories(history / "backup");  // a folder someone made by hand, holding a list
    WriteTextFile(history / "backup" / "set.dat", "001\r\n");
  }

  static void Copy(const fs::path& from, const fs::path& to) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  }

  std::unique_ptr<HistoryWindow> Open() {
    HistoryWindow::Actions actions;
    actions.show = [this](ResultViewMode mode, const PastDraw& d) { shown.emplace_back(mode, d.record.resultDat); };
    actions.exportDraw = [this](const PastDraw& d) { exported.push_back(d.record.resultDat); };
    actions.drawUnderWay = [this] { return underWay; };
    auto window = std::make_unique<HistoryWindow>(dir, prompter, clock, actions);
    window->show();
    return window;
  }

  int RowOf(HistoryWindow& w, const QString& label) {
    for (int r = 0; r < w.list()->rowCount(); ++r)
      if (w.list()->item(r, 0)->text() == label) return r;
    return -1;
  }

  QTemporaryDir tmp;
  ProgramDir dir;
  ScriptedPrompter prompter;
  FakeClock clock;
  bool underWay = false;
  std::vector<std::pair<ResultViewMode, fs::path>> shown;
  std::vector<fs::path> exported;
};

TEST_F(HistoryWindowTest, ListsTheCurrentDrawAndEveryFolderWithDamageNoted) {
  auto w = Open();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("历史抽奖记录"));
  QTableWidget* list = w->list();
  ASSERT_EQ(list->rowCount(), 7);
  auto row = [&](int r) {
    QStringList cells;
    for (int c = 0; c < list->columnCount(); ++c) cells << list->item(r, c)->text();
    return cells.join(QLatin1Char('|'));
  };
  // "抽奖时间" is when the first batch was drawn; when it was put aside has a column of its own.
  EXPECT_EQ(row(0), QStringLiteral("当前抽奖（2026-12-09 20:05:09 开始）|3|14|2|—|—|"));
  EXPECT_EQ(row(1), QStringLiteral("2026-12-09 20:05:09|3|14|2|2026-12-10 08:30:00|新开始（启动时未继续上次抽奖）|"));
  // Without result.txt the time it was put aside is all there is, and the note says so.
  EXPECT_EQ(row(RowOf(*w, QStringLiteral("2026-12-09 20:05:07"))),
            QStringLiteral("2026-12-09 20:05:07|3|14|2|2026-12-09 20:05:07|重新开始抽奖|"
                           "result.txt 中没有抽取时间，显示的是移入历史的时间"));
  EXPECT_TRUE(
      row(RowOf(*w, QStringLiteral("2025-12-31 23:59:59"))).startsWith(QStringLiteral("2025-12-31 23:59:59|1|2|1|")));
  EXPECT_TRUE(row(RowOf(*w, QStringLiteral("2026-10-01 12:00:00"))).endsWith(QStringLiteral("无法读取")));
  EXPECT_TRUE(row(RowOf(*w, QStringLiteral("2026-10-02 12:00:00"))).contains(QStringLiteral("有 1 行已损坏")));
  EXPECT_TRUE(row(RowOf(*w, QStringLiteral("backup"))).contains(QStringLiteral("文件夹名称不是时间")));

  // A damaged draw can be neither shown nor exported nor brought back.
  w->Select(RowOf(*w, QStringLiteral("2026-10-01 12:00:00")));
  for (const char* name : {"按钮_查看", "按钮_展示", "按钮_导出", "按钮_恢复"})
    EXPECT_FALSE(w->findChild<QPushButton*>(QString::fromUtf8(name))->isEnabled()) << name;

  w->Select(RowOf(*w, QStringLiteral("2025-12-31 23:59:59")));
  w->findChild<QPushButton*>(QStringLiteral("按钮_展示"))->click();
  w->findChild<QPushButton*>(QStringLiteral("按钮_导出"))->click();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, ResultViewMode::WinnerShow);
  EXPECT_EQ(shown[0].second, dir.Path(ProgramDir::kHistoryDir) / "20251231-235959" / "result.dat");
  EXPECT_EQ(exported, std::vector<fs::path>{shown[0].second});
}

TEST_F(HistoryWindowTest, BringingBackKeepsBothDrawsAndWaitsForTheDrawUnderWay) {
  auto w = Open();
  const std::string current = ReadTextFile(dir.Path(ProgramDir::kResultDat));
  w->Select(RowOf(*w, QStringLiteral("2025-12-31 23:59:59")));

  underWay = true;
  w->findChild<QPushButton*>(QStringLiteral("按钮_恢复"))->click();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(ToQt(prompter.shown()[0].text).left(9), QStringLiteral("抽奖正在进行中，不"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), current);

  underWay = false;
  clock.now = {2026, 12, 10, 9, 0, 0};
  prompter.ScriptAnswer(Answer::Cancel);
  w->BringBackChosen();
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), current) << "cancelled";

  prompter.ScriptAnswer(Answer::Ok);
  prompter.ScriptAnswer(Answer::Ok);
  w->BringBackChosen();
  EXPECT_EQ(ToQt(prompter.shown().back().text), QStringLiteral("已恢复为当前的中奖结果（只供查看，不能继续抽奖）。"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), Gb("一等奖-奖品：电视-001-002(已弃奖)-"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultTxt)), "old log");

  // The draw that was current is now the newest history entry, noted as put aside for this.
  ASSERT_EQ(w->list()->rowCount(), 8);
  EXPECT_EQ(w->list()->item(0, 2)->text(), QStringLiteral("2"));
  EXPECT_EQ(w->list()->item(1, 0)->text(), QStringLiteral("2026-12-09 20:05:09"));
  EXPECT_EQ(w->list()->item(1, 4)->text(), QStringLiteral("2026-12-10 09:00:00"));
  EXPECT_EQ(w->list()->item(1, 5)->text(), QStringLiteral("恢复历史记录前保存"));
  EXPECT_EQ(ReadTextFile(w->draws()[1].record.resultDat), current);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kHistoryDir) / "20251231-235959" / "result.dat"));
}

TEST_F(HistoryWindowTest, APastDrawOpensInTheResultViewsAndExportsFromThere) {
  RecordingSoundPort sound;
  SoundSettings settings;
  const DrawRecord past = HistoryDraw(dir.Path(ProgramDir::kHistoryDir) / "20251231-235959");
  const std::vector<ResultLine> winners = LoadResultLog(dir);
  const std::vector<std::string> pool;
  const CurrentResults current{winners, pool, {}};
  ResultWindow list(ResultViewMode::WinnerList, sound, clock, settings, {}, current, nullptr, {0, 0, 1024, 768}, &past);
  EXPECT_EQ(list.findChild<QPlainTextEdit*>()->toPlainText(),
            QStringLiteral("一等奖2名(奖品：电视)\n001\n002(已弃奖)\n"));
  int exports = 0;
  list.AddExportButton([&] { ++exports; });
  list.findChild<QPushButton*>(QStringLiteral("按钮_导出中奖名单"))->click();
  EXPECT_EQ(exports, 1);

  ResultWindow show(ResultViewMode::WinnerShow, sound, clock, settings, {}, current, nullptr, {0, 0, 1024, 768});
  show.AddExportButton([&] { ++exports; });
  EXPECT_EQ(show.findChild<QPushButton*>(QStringLiteral("按钮_导出中奖名单")), nullptr) << "the audience's screen";
}

TEST_F(HistoryWindowTest, ExportWindowWritesTheChosenFileOrSaysWhyNot) {
  // The list was saved with its header row, so the columns carry its names.
  ASSERT_TRUE(SaveListColumnNames(dir, {Gb("工号"), Gb("姓名")}));
  WinnerTable table = LoadWinnerTable(CurrentDraw(dir), Gb("盛典"), Gb("抽奖"));
  WinnerExportWindow w(table, prompter, tmp.path(), QStringLiteral("中奖名单"));
  QString suggested;
  QString answer = tmp.filePath(QStringLiteral("名单"));  // the suffix is added
  w.SetPickSavePath([&](const QString&, const QString& s, const QString&) {
    suggested = s;
    return answer;
  });
  // The workbook is the default; the window says why a plain CSV is not for Excel.
  EXPECT_TRUE(w.findChild<QPushButton*>(QStringLiteral("按钮_导出Excel"))->isDefault());
  EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("标签_CSV提示"))->text().contains(QStringLiteral("开头的 0")));
  w.findChild<QPushButton*>(QStringLiteral("按钮_导出CSV"))->click();
  EXPECT_EQ(suggested, tmp.filePath(QStringLiteral("中奖名单.csv")));
  EXPECT_EQ(w.lastWritten(), tmp.filePath(QStringLiteral("名单.csv")));
  EXPECT_EQ(ReadTextFile(fs::path(w.lastWritten().toStdString())), ReadTextFile(kGolden / "winners.csv"));
  EXPECT_EQ(prompter.shown().back().caption, Gb("提示信息："));
  answer = tmp.filePath(QStringLiteral("excel.csv"));
  w.findChild<QPushButton*>(QStringLiteral("按钮_导出Excel安全CSV"))->click();
  EXPECT_NE(ReadTextFile(fs::path(w.lastWritten().toStdString())).find(",=\"0012\","), std::string::npos);

  answer = tmp.filePath(QStringLiteral("missing/名单.xlsx"));
  w.Export(ExportFormat::Xlsx);
  EXPECT_EQ(prompter.shown().back().caption, Gb("错误提示："));
  EXPECT_EQ(prompter.shown().back().icon, Icon::Error);
  EXPECT_FALSE(fs::exists(fs::path(tmp.filePath(QStringLiteral("missing")).toStdString())));
}

}  // namespace
}  // namespace kavrel
