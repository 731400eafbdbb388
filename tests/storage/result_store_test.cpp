#include "storage/result_store.h"

#include "storage_fixture.h"

namespace kavrel::test {
namespace {

using Entries = std::vector<std::string>;

class ResultStoreTest : public StorageTest {
 protected:
  static LocalDateTime At(int hour, int minute, int second) { return {2017, 3, 8, hour, minute, second}; }

  void RecordThirdPrizeTwice() {
    ASSERT_TRUE(
        RecordBatch(Dir(), Gb("三等奖"), Gb("奖品：MP4一部"), {"017", "012", "009", "004", "001"}, false, At(9, 0, 0)));
    ASSERT_TRUE(
        RecordBatch(Dir(), Gb("三等奖"), Gb("奖品：MP4一部"), {"033", "028", "021", "015", "006"}, true, At(9, 0, 5)));
  }
  void RecordFirstPrize() {
    ASSERT_TRUE(RecordBatch(Dir(), Gb("一等奖"), Gb("奖品：笔记本一台"), {"042"}, false, At(14, 5, 9)));
  }
};

TEST_F(ResultStoreTest, TimeRule) {
  EXPECT_EQ(FormatStopTime(At(9, 0, 0)), Gb("2017年3月8日9时"));
  EXPECT_EQ(FormatStopTime(At(9, 0, 5)), Gb("2017年3月8日9时0分5秒"));
  EXPECT_EQ(FormatStopTime(At(20, 30, 0)), Gb("2017年3月8日20时30分"));
  EXPECT_EQ(FormatStopTime(At(0, 0, 0)), Gb("2017年3月8日"));
  EXPECT_EQ(FormatStopTime(At(0, 7, 0)), Gb("2017年3月8日0时7分"));
}

TEST_F(ResultStoreTest, TwoBatchesOfOneAwardAndOneOfAnother) {
  RecordThirdPrizeTwice();
  RecordFirstPrize();
  EXPECT_EQ(Read(ProgramDir::kResultDat), Golden("result.dat"));
  EXPECT_EQ(Read(ProgramDir::kResultTxt), Golden("result.txt"));

  const auto lines = LoadResultLog(Dir());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].awardName, Gb("三等奖"));
  EXPECT_EQ(lines[0].prizeName, Gb("奖品：MP4一部"));
  EXPECT_EQ(lines[0].winners.size(), 10u);
  EXPECT_EQ(lines[1].winners, Entries{"042"});
}

TEST_F(ResultStoreTest, SameAwardAfterAnotherOpensANewLine) {
  RecordFirstPrize();
  ASSERT_TRUE(RecordBatch(Dir(), Gb("一等奖"), Gb("奖品：笔记本一台"), {"007"}, false, At(15, 0, 0)));
  EXPECT_EQ(LoadResultLog(Dir()).size(), 2u);
}

TEST_F(ResultStoreTest, ABatchWithItsPrizeChangedOpensALineOfItsOwn) {
  ASSERT_TRUE(RecordBatch(Dir(), Gb("二等奖"), Gb("奖品：手机"), {"042", "040"}, false, At(20, 15, 30)));
  ASSERT_TRUE(RecordBatch(Dir(), Gb("二等奖"), Gb("奖品：平板电脑"), {"035"}, true, At(20, 31, 2)));
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("二等奖-奖品：手机-042-040-\r\n二等奖-奖品：平板电脑-035-"));
  // Undo finds the batch opened its line (it holds just that batch) and takes the line away.
  EXPECT_EQ(RemoveLastBatch(Dir(), 1).winners, Entries{"035"});
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("二等奖-奖品：手机-042-040-"));
}

TEST_F(ResultStoreTest, UndoOfSecondThenFirstBatch) {
  RecordThirdPrizeTwice();
  auto removed = RemoveLastBatch(Dir(), 5);
  EXPECT_TRUE(removed.written);
  EXPECT_EQ(removed.winners, (Entries{"006", "015", "021", "028", "033"}));
  EXPECT_EQ(Read(ProgramDir::kResultDat), Golden("result_after_undo_second.dat"));
  EXPECT_EQ(Read(ProgramDir::kResultTxt), Golden("result_after_undo_second.txt"));

  removed = RemoveLastBatch(Dir(), 5);
  EXPECT_EQ(removed.winners, (Entries{"001", "004", "009", "012", "017"}));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "");
  EXPECT_TRUE(LoadResultLog(Dir()).empty());
}

TEST_F(ResultStoreTest, UndoOfAFirstBatchRemovesItsLineAndTheLineBreak) {
  RecordThirdPrizeTwice();
  RecordFirstPrize();
  const auto removed = RemoveLastBatch(Dir(), 1);
  EXPECT_EQ(removed.winners, Entries{"042"});
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("三等奖-奖品：MP4一部-017-012-009-004-001-033-028-021-015-006-"));
  // Recording again continues cleanly.
  RecordFirstPrize();
  EXPECT_EQ(Read(ProgramDir::kResultDat), Golden("result.dat"));
}

TEST_F(ResultStoreTest, UndoWithNothingRecorded) {
  const auto removed = RemoveLastBatch(Dir(), 3);
  EXPECT_TRUE(removed.winners.empty());
  EXPECT_TRUE(removed.written);
  EXPECT_FALSE(FileExists(Dir().Path(ProgramDir::kResultDat)));
}

TEST_F(ResultStoreTest, AbandonMarksWholeEntriesOfThatAwardOnly) {
  // "01" is also the start of "012" and an entry of another award: neither may change.
  ASSERT_TRUE(RecordBatch(Dir(), Gb("三等奖"), "P", {"012", "01"}, false, At(9, 0, 0)));
  ASSERT_TRUE(RecordBatch(Dir(), Gb("一等奖"), "Q", {"01"}, false, At(9, 1, 0)));
  ASSERT_TRUE(MarkAbandoned(Dir(), Gb("三等奖"), "01"));
  const std::string mark = Gb("(已弃奖)");
  EXPECT_EQ(Read(ProgramDir::kResultDat), Gb("三等奖") + "-P-012-01" + mark + "-\r\n" + Gb("一等奖") + "-Q-01-");
  const std::string log = Read(ProgramDir::kResultTxt);
  EXPECT_NE(log.find(Gb("【三等奖】") + "\t012\t01" + mark + "\t\r\n"), std::string::npos);
  EXPECT_NE(log.find(Gb("【一等奖】") + "\t01\t\r\n"), std::string::npos);

  // Marked once: a second abandon of the same entry finds nothing left to mark.
  EXPECT_FALSE(MarkAbandoned(Dir(), Gb("三等奖"), "01"));
  EXPECT_FALSE(MarkAbandoned(Dir(), Gb("二等奖"), "01"));
}

TEST_F(ResultStoreTest, AbandonOfSeveralMarksEachOccurrenceOnceInOneWrite) {
  // With repeats allowed one entry can win twice in a line: each time it is given, one more is marked.
  ASSERT_TRUE(RecordBatch(Dir(), "A", "P", {"7", "8"}, false, At(9, 0, 0)));
  ASSERT_TRUE(RecordBatch(Dir(), "A", "P", {"7", "9"}, true, At(9, 1, 0)));
  const std::string mark = Gb("(已弃奖)");
  const AbandonMarks marks = MarkAbandonedEntries(Dir(), "A", {"7", "9", "7", "7", "5"});
  EXPECT_TRUE(marks.written);
  EXPECT_EQ(marks.marked, (Entries{"7", "9", "7"}));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "A-P-7" + mark + "-8-7" + mark + "-9" + mark + "-");
  const std::string log = Read(ProgramDir::kResultTxt);
  EXPECT_NE(log.find("\t7" + mark + "\t8\t\r\n"), std::string::npos);
  EXPECT_NE(log.find("\t7" + mark + "\t9" + mark + "\t\r\n"), std::string::npos);
}

TEST_F(ResultStoreTest, WriteFailureIsReported) {
  const ProgramDir nowhere(Dir().Root() / "missing");
  EXPECT_FALSE(RecordBatch(nowhere, "A", "P", {"1"}, false, At(9, 0, 0)));
  EXPECT_FALSE(WriteExitRecord(nowhere, {}));

  // A log that cannot be read is not replaced, and the record is not half written.
  Put(ProgramDir::kResultDat, "A-P-1-");
  std::filesystem::create_directory(Dir().Path(ProgramDir::kResultTxt));
  EXPECT_FALSE(RecordBatch(Dir(), "A", "P", {"2"}, true, At(9, 0, 0)));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "A-P-1-");
  EXPECT_FALSE(MarkAbandoned(Dir(), "A", "1"));
  EXPECT_FALSE(RemoveLastBatch(Dir(), 1).written);
  EXPECT_EQ(Read(ProgramDir::kResultDat), "A-P-1-");
}

TEST_F(ResultStoreTest, ExitRecordRoundTrip) {
  ExitRecord record;
  record.pool = {" 001", "002", "", "004"};
  record.plan = {Gb("三等奖,8,2,2,3,奖品：MP4一部,,"), Gb("一等奖,1,1,1,1,奖品：笔记本一台,,")};
  record.lastAwardName = Gb("三等奖");
  record.batchNo = 1;
  record.drawnInAward = 5;
  ASSERT_TRUE(WriteExitRecord(Dir(), record));
  EXPECT_EQ(Read(ProgramDir::kExitIni), Golden("exit.ini"));

  const auto read = ReadExitRecord(Dir());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->pool, record.pool);
  EXPECT_EQ(read->plan, record.plan);
  EXPECT_EQ(read->lastAwardName, record.lastAwardName);
  EXPECT_EQ(read->batchNo, 1);
  EXPECT_EQ(read->drawnInAward, 5);
}

TEST_F(ResultStoreTest, ExitRecordOfAnySize) {
  EXPECT_FALSE(ReadExitRecord(Dir()).has_value());
  ExitRecord record;
  for (int i = 0; i < 5000; ++i) record.pool.push_back(Gb("员工") + std::to_string(100000 + i));
  ASSERT_GT(record.pool.size() * 12, 10239u);
  ASSERT_TRUE(WriteExitRecord(Dir(), record));
  const auto read = ReadExitRecord(Dir());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->pool, record.pool);
  EXPECT_TRUE(read->plan.empty());
}

TEST_F(ResultStoreTest, EntryWithDoubleDashSplitsOnResume) {
  // A known limit of the record's format: "--" separates entries.
  ExitRecord record;
  record.pool = {"a--b"};
  ASSERT_TRUE(WriteExitRecord(Dir(), record));
  EXPECT_EQ(ReadExitRecord(Dir())->pool, (Entries{"a", "b"}));
}

}  // namespace
}  // namespace kavrel::test
