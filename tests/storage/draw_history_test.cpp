#include "storage/draw_history.h"

#include "storage/list_columns.h"
#include "storage/settings.h"
#include "storage_fixture.h"

namespace kavrel::test {
namespace {

class DrawHistoryTest : public StorageTest {
 protected:
  void PutResults(const std::string& dat, const std::string& txt) const {
    Put(ProgramDir::kResultDat, dat);
    Put(ProgramDir::kResultTxt, txt);
  }
};

TEST_F(DrawHistoryTest, PuttingResultsAsideKeepsWhyTheTitlesAndTheAwardTable) {
  Settings(Dir().Path(ProgramDir::kConfigIni)).WriteText(Gb("标题设置"), Gb("主标题"), Gb("2026年度盛典"));
  Put(ProgramDir::kAwardTableDat, Gb("一等奖,1,1,1,奖品,,\r\n"));
  Put(kListColumnsDat, Gb("工号\r\n姓名\r\n"));
  PutResults(Gb("一等奖-奖品-001-"), "log");

  const auto folder = PutResultsAside(Dir(), {2026, 12, 9, 20, 5, 7}, HistoryReason::Restart);
  ASSERT_TRUE(folder && !folder->empty());
  EXPECT_EQ(folder->filename(), "20261209-200507");
  EXPECT_FALSE(FileExists(Dir().Path(ProgramDir::kResultDat)));
  const DrawRecord past = HistoryDraw(*folder);
  EXPECT_EQ(ReadTextFile(past.resultDat), Gb("一等奖-奖品-001-"));
  EXPECT_EQ(ReadTextFile(past.resultTxt), "log");
  EXPECT_EQ(ReadTextFile(past.awardTable), Gb("一等奖,1,1,1,奖品,,\r\n"));
  // The list's column names head the past draw's exports; the list keeps its own.
  EXPECT_EQ(LoadListColumnNames(*folder / kListColumnsFileName), (std::vector<std::string>{Gb("工号"), Gb("姓名")}));
  EXPECT_TRUE(FileExists(Dir().Path(kListColumnsDat)));
  const HistoryNote note = ReadHistoryNote(past);
  EXPECT_EQ(note.reason, HistoryReason::Restart);
  EXPECT_EQ(note.mainTitle, Gb("2026年度盛典"));

  // Nothing to put aside: no folder, no note.
  EXPECT_EQ(PutResultsAside(Dir(), {2026, 12, 9, 20, 6, 0}, HistoryReason::NewStart), std::filesystem::path());
  // A folder from before the reason was kept reads as not recorded.
  std::filesystem::create_directories(Dir().Path(ProgramDir::kHistoryDir) / "20251231-235959");
  EXPECT_EQ(ReadHistoryNote(HistoryDraw(Dir().Path(ProgramDir::kHistoryDir) / "20251231-235959")).reason,
            HistoryReason::NotRecorded);
}

TEST_F(DrawHistoryTest, FoldersListNewestFirstWithSameSecondMovesInOrder) {
  const auto history = Dir().Path(ProgramDir::kHistoryDir);
  for (const char* name : {"20261209-200507", "20261209-200507-2", "20251231-235959", "20261209-200507-10"})
    std::filesystem::create_directories(history / name);
  Put("\\history\\not-a-folder.txt", "x");
  std::vector<std::string> names;
  for (const auto& f : ListHistoryFolders(Dir())) names.push_back(f.filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"20261209-200507-10", "20261209-200507-2", "20261209-200507",
                                             "20251231-235959"}));
}

TEST_F(DrawHistoryTest, BringingAPastDrawBackKeepsTheCurrentOneInHistory) {
  PutResults(Gb("一等奖-奖品-001-"), "old log");
  const auto old = PutResultsAside(Dir(), {2026, 12, 9, 20, 0, 0}, HistoryReason::NewStart);
  ASSERT_TRUE(old);
  PutResults(Gb("二等奖-奖品-002-"), "new log");

  ASSERT_EQ(BringBackResults(Dir(), HistoryDraw(*old), {2026, 12, 9, 21, 0, 0}), BringBackOutcome::Ok);
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("一等奖-奖品-001-"));
  EXPECT_EQ(Read(ProgramDir::kResultTxt), "old log");
  const auto folders = ListHistoryFolders(Dir());
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(ReadTextFile(HistoryDraw(folders[0]).resultDat), Gb("二等奖-奖品-002-")) << "the current draw kept";
  EXPECT_EQ(ReadHistoryNote(HistoryDraw(folders[0])).reason, HistoryReason::BroughtBack);
  EXPECT_EQ(ReadTextFile(HistoryDraw(*old).resultDat), Gb("一等奖-奖品-001-")) << "the past draw stays too";

  // A past draw whose result file cannot be read changes nothing.
  std::filesystem::create_directories(Dir().Path(ProgramDir::kHistoryDir) / "20200101-000000" / "result.dat");
  EXPECT_EQ(BringBackResults(Dir(), HistoryDraw(Dir().Path(ProgramDir::kHistoryDir) / "20200101-000000"),
                             {2026, 12, 9, 22, 0, 0}),
            BringBackOutcome::SourceUnreadable);
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("一等奖-奖品-001-"));
  EXPECT_EQ(ListHistoryFolders(Dir()).size(), 3u);
}

// Moving a draw into history is one step: a move cut short at any file (a crash) is finished at the
// next start, one whose file cannot move puts the others back, and the draw never ends up split.
TEST_F(DrawHistoryTest, AMoveCutShortAtAnyFileIsFinishedAndOneThatFailsIsUndone) {
  using detail::MoveStep;
  const std::string_view files[] = {ProgramDir::kResultDat, ProgramDir::kResultTxt, ProgramDir::kReceiptsLog,
                                    ProgramDir::kSealedList, ProgramDir::kReceiptsKey};
  static std::size_t stopAt = 0;
  static MoveStep how = MoveStep::Go;
  detail::SetHistoryMoveProbe([](std::size_t i) { return i == stopAt ? how : MoveStep::Go; });
  const auto history = Dir().Path(ProgramDir::kHistoryDir);
  for (const MoveStep step : {MoveStep::Halt, MoveStep::Fail}) {
    for (stopAt = 0; stopAt < std::size(files); ++stopAt) {
      how = step;
      const std::string at = (step == MoveStep::Halt ? "halted at file " : "failed at file ") + std::to_string(stopAt);
      for (const auto f : files) Put(f, std::string(f));
      EXPECT_FALSE(PutResultsAside(Dir(), {2026, 12, 9, 21, 0, 0}, HistoryReason::Restart)) << at;
      how = MoveStep::Go;
      if (step == MoveStep::Halt) {
        EXPECT_TRUE(FileExists(Dir().Path(kHistoryMoveJournal))) << at;
        EXPECT_TRUE(FinishInterruptedMove(Dir())) << at;
      }
      EXPECT_FALSE(FileExists(Dir().Path(kHistoryMoveJournal))) << at;
      const auto folders = ListHistoryFolders(Dir());
      for (const auto f : files) {
        const std::string name = Dir().Path(f).filename().string();
        if (step == MoveStep::Halt) {
          // Finished: every file in the one folder, none left in place.
          ASSERT_EQ(folders.size(), 1u) << at;
          EXPECT_EQ(ReadTextFile(folders[0] / name), std::string(f)) << at << " " << name;
          EXPECT_FALSE(FileExists(Dir().Path(f))) << at << " " << name;
        } else {
          // Undone: every file back in place, no history folder.
          EXPECT_TRUE(folders.empty()) << at;
          EXPECT_EQ(Read(f), std::string(f)) << at << " " << name;
        }
      }
      std::filesystem::remove_all(history);
    }
  }
  detail::SetHistoryMoveProbe(nullptr);
}

}  // namespace
}  // namespace kavrel::test
