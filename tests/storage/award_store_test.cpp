#include "storage/award_store.h"

#include "storage/settings.h"
#include "storage_fixture.h"

namespace kavrel::test {
namespace {

class AwardStoreTest : public StorageTest {
 protected:
  Settings Config() const { return Settings(Dir().Path(ProgramDir::kConfigIni)); }

  static std::vector<AwardRow> ExampleRows() {
    return {
        {Gb("一等奖"), "1", "1", "1", Gb("奖品：笔记本一台"), "/pics/laptop.jpg"},
        {Gb("三等奖"), "8", "2", "5+3", Gb("奖品：MP4一部"), ""},
        {Gb("纪念奖"), "3", "3", "1+1+1", Gb("奖品：纪念品"), ""},
    };
  }
};

TEST_F(AwardStoreTest, TableAndPlanInBothOrders) {
  Settings config = Config();
  const auto result = SaveAwardTable(Dir(), config, ExampleRows());
  ASSERT_EQ(result.status, SaveAwardResult::Status::Ok);
  EXPECT_EQ(result.quotaSum, 12);
  EXPECT_EQ(config.ReadInt(Gb("标题设置"), Gb("中奖名额"), -1), 12);
  EXPECT_EQ(Read(ProgramDir::kAwardTableDat), Golden("jiangx.dat"));
  EXPECT_EQ(LoadAwardTable(Dir()), ExampleRows());

  ASSERT_TRUE(WriteBatchPlan(Dir(), ExampleRows(), true));
  EXPECT_EQ(Read(ProgramDir::kBatchPlanDat), Golden("shezhijx_forward.dat"));
  EXPECT_EQ(LoadPlan(Dir()).size(), 6u);
  EXPECT_EQ(LoadPlan(Dir())[1], Gb("三等奖,8,2,1,5,奖品：MP4一部,,"));

  // Changing the order rewrites the plan only.
  ASSERT_TRUE(WriteBatchPlan(Dir(), LoadAwardTable(Dir()), false));
  EXPECT_EQ(Read(ProgramDir::kBatchPlanDat), Golden("shezhijx_reverse.dat"));
  EXPECT_EQ(Read(ProgramDir::kAwardTableDat), Golden("jiangx.dat"));
}

TEST_F(AwardStoreTest, SingleBatchAwardUsesTheWholeDetail) {
  const std::vector<AwardRow> rows = {{"A", "3", "1", "3", "P", ""}, {"B", "3", "x", "2+1", "P", ""}};
  EXPECT_EQ(BuildBatchPlanText(rows, true), "A,3,1,1,3,P,,\r\nB,3,x,1,2+1,P,,\r\n");
}

TEST_F(AwardStoreTest, InvalidRowWritesNothing) {
  Settings config = Config();
  ASSERT_EQ(SaveAwardTable(Dir(), config, ExampleRows()).status, SaveAwardResult::Status::Ok);
  auto rows = ExampleRows();
  rows.push_back({Gb("四等奖"), "5", "1", "", "", ""});
  rows[0].quota = "99";
  const auto result = SaveAwardTable(Dir(), config, rows);
  EXPECT_EQ(result.status, SaveAwardResult::Status::InvalidRow);
  EXPECT_EQ(result.invalidRow, 4);
  EXPECT_EQ(Read(ProgramDir::kAwardTableDat), Golden("jiangx.dat"));
  EXPECT_EQ(config.ReadInt(Gb("标题设置"), Gb("中奖名额"), -1), 12);

  rows.pop_back();
  rows[1].name.clear();
  EXPECT_EQ(SaveAwardTable(Dir(), config, rows).invalidRow, 2);
}

TEST_F(AwardStoreTest, FailedWriteIsReported) {
  const ProgramDir nowhere(Dir().Root() / "missing");
  Settings config(nowhere.Path(ProgramDir::kConfigIni));
  EXPECT_EQ(SaveAwardTable(nowhere, config, ExampleRows()).status, SaveAwardResult::Status::WriteFailed);
  EXPECT_FALSE(WriteBatchPlan(nowhere, ExampleRows(), true));
  EXPECT_FALSE(SaveDrawerCaptions(nowhere, {}));
}

TEST_F(AwardStoreTest, CommasInCellsDoNotShiftColumns) {
  Settings config = Config();
  const std::vector<AwardRow> rows = {{"A", "1", "1", "1", Gb("奖品：耳机,音箱"), ""}};
  ASSERT_EQ(SaveAwardTable(Dir(), config, rows).status, SaveAwardResult::Status::Ok);
  const auto loaded = LoadAwardTable(Dir());
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].prizeName, Gb("奖品：耳机，音箱"));
  EXPECT_EQ(loaded[0].prizePicture, "");
}

TEST_F(AwardStoreTest, MissingFilesReadAsEmpty) {
  EXPECT_TRUE(LoadAwardTable(Dir()).empty());
  EXPECT_TRUE(LoadPlan(Dir()).empty());
  EXPECT_TRUE(LoadDrawerCaptions(Dir()).empty());
}

TEST_F(AwardStoreTest, DrawerCaptions) {
  SKIP_WITHOUT_FULL_GB18030();
  const std::vector<DrawerCaption> captions = {
      {DrawerCaptionKey(Gb("一等奖"), "1", "1"), Gb("欢迎xx(经理)领导抽取一等奖"), 1},
      {DrawerCaptionKey(Gb("三等奖"), "2", "2"), Gb("请𪚥总上台抽取三等奖"), 3},
  };
  ASSERT_TRUE(SaveDrawerCaptions(Dir(), captions));
  EXPECT_EQ(Read(ProgramDir::kDrawerCaptionDat), Golden("person.dat"));
  EXPECT_EQ(LoadDrawerCaptions(Dir()), captions);

  // A colon typed into a caption must not cost the caption its end and its position.
  ASSERT_TRUE(SaveDrawerCaptions(Dir(), {{"A-1-1", Gb("请：王总\r\n上台"), 4}}));
  EXPECT_EQ(LoadDrawerCaptions(Dir()), (std::vector<DrawerCaption>{{"A-1-1", Gb("请:王总  上台"), 4}}));
}

}  // namespace
}  // namespace kavrel::test
