#include "lists/table_snapshot.h"

#include "list_fixture.h"

namespace kavrel::test {
namespace {

ListTable Formatted() {
  ListTable t;
  FillFromLines(t, {Gb("张三"), "", "0012", std::string("\x95\x32\x82\x36", 4)});
  t.Resize(5, 4);
  t.SetCell(0, 3, Gb("备注"));
  t.SetColumnWidth(2, 123);
  CellFormat centre;
  centre.align = CellAlign::Centre;
  centre.colour = 0x123456;
  t.ApplyFormat(2, 2, 4, 3, centre);
  return t;
}

TEST(Snapshot, RoundTripKeepsCellsFormattingAndWidths) {
  const ListTable t = Formatted();
  const auto back = DecodeSnapshot(EncodeSnapshot(t));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, t);
  EXPECT_EQ(back->FormatAt(3, 2).align, CellAlign::Centre);
  EXPECT_EQ(back->FormatAt(3, 1).face, Gb("宋体"));
  EXPECT_EQ(back->ColumnWidth(0), 40);
  EXPECT_EQ(DecodeSnapshot(EncodeSnapshot(ListTable())), ListTable());
}

TEST(Snapshot, DamagedTruncatedAndNewerFilesAreRecognised) {
  const std::string good = EncodeSnapshot(Formatted());
  SnapshotProblem why = SnapshotProblem::None;
  for (std::size_t at : {std::size_t(20), good.size() / 2, good.size() - 9}) {
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x40);
    EXPECT_FALSE(DecodeSnapshot(bad, &why)) << at;
    EXPECT_EQ(why, SnapshotProblem::Damaged);
  }
  EXPECT_FALSE(DecodeSnapshot(good.substr(0, good.size() - 1), &why));
  EXPECT_FALSE(DecodeSnapshot("", &why));
  EXPECT_FALSE(DecodeSnapshot("hello world, not a table", &why));
  EXPECT_EQ(why, SnapshotProblem::Damaged);
  std::string newer = good;
  newer[8] = 3;
  EXPECT_FALSE(DecodeSnapshot(newer, &why));
  EXPECT_EQ(why, SnapshotProblem::NewerVersion);
}

// Tables saved before the link existed (version 1) still open, without a link.
TEST(Snapshot, TheLinkRoundTripsAndVersionOneFilesStillOpen) {
  std::string link = "x";
  ASSERT_TRUE(DecodeSnapshot(EncodeSnapshot(Formatted(), "abc123"), nullptr, &link));
  EXPECT_EQ(link, "abc123");

  std::string v1 = EncodeSnapshot(Formatted(), "");
  v1.erase(12, 1);  // the empty link's length byte
  v1[8] = 1;
  v1.resize(v1.size() - 8);
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : v1) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  for (int i = 0; i < 8; ++i) v1.push_back(static_cast<char>((h >> (8 * i)) & 0xFF));
  const auto back = DecodeSnapshot(v1, nullptr, &link);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, Formatted());
  EXPECT_EQ(link, "");
}

class SnapshotFile : public ListTest {};

TEST_F(SnapshotFile, SaveAndReopenGiveTheSameTable) {
  ListTable& t = Table();
  t = Formatted();
  prompter_.ScriptText("2");
  ASSERT_TRUE(Editor().Save());
  ListEditor reopened(ListEditorContext{dir_, prompter_, clock_, drawUnderWay_, find_}, runner_);
  reopened.Open();
  EXPECT_EQ(reopened.Table(), Editor().Table());
  EXPECT_EQ(prompter_.MessageTexts().size(), 0u);
}

TEST_F(SnapshotFile, ADamagedFileLeavesTheDesignTableAndSaysSoOnce) {
  WriteTextFile(dir_.Path(ProgramDir::kImDataDat), "KVIMDAT broken");
  Editor().Open();
  EXPECT_EQ(Table(), ListTable());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("已损坏"), std::string::npos);
  EXPECT_FALSE(Editor().ListChanged());
}

}  // namespace
}  // namespace kavrel::test
