#include "storage/signin_store.h"

#include <cctype>

#include "storage/signin_codes.h"

#include "storage_fixture.h"

namespace kavrel::test {
namespace {

using SigninStoreTest = StorageTest;

// A restart must bring back every sign-in; a cut or edited file must say what it could not read
// instead of silently forgetting people.
TEST_F(SigninStoreTest, SavedSigninsComeBackAndDamageIsCounted) {
  const std::string zhang = Gb("0001  张三  ");
  const std::vector<SigninRecord> records{{zhang, {2026, 12, 10, 9, 1, 2}, "192.168.1.20"},
                                          {"0002", {2026, 12, 10, 9, 1, 3}, ""}};
  ASSERT_TRUE(SaveSignins(Dir(), records));
  const auto loaded = LoadSignins(Dir());
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->records.size(), 2u);
  EXPECT_EQ(loaded->records[0].entry, zhang);
  EXPECT_EQ(loaded->records[0].address, "192.168.1.20");
  EXPECT_EQ(loaded->records[1].at.second, 3);
  EXPECT_EQ(loaded->records[1].address, "");  // the way files were written before addresses were kept
  EXPECT_EQ(loaded->damagedLines, 0);

  const auto damaged = ParseSigninText(
      "2026-12-10 09:01:02\t0001\r\n0002\r\n2026-13-10 09:01:02\t0003\r\n2026-12-10 09:01:04\t0001\r\n"
      "2026-12-10 09:01:05\t0004\r\n2026-12-10 09:01:0");
  ASSERT_EQ(damaged.records.size(), 2u);
  EXPECT_EQ(damaged.records[1].entry, "0004");
  EXPECT_EQ(damaged.damagedLines, 3);
  EXPECT_EQ(damaged.firstDamagedLine, 2);
  EXPECT_EQ(damaged.repeatedLines, 1);
}

TEST_F(SigninStoreTest, OneSigninPerEntryAndThePresentKeepPoolOrder) {
  SigninBook book;
  EXPECT_EQ(book.Add("0003", {}), SigninBook::AddResult::Added);
  EXPECT_EQ(book.Add("0001", {}), SigninBook::AddResult::Added);
  EXPECT_EQ(book.Add("0003", {}), SigninBook::AddResult::AlreadySignedIn);
  EXPECT_EQ(book.Count(), 2u);
  EXPECT_TRUE(book.Remove("0003"));
  EXPECT_FALSE(book.Remove("0003"));
  EXPECT_EQ(book.Add("0003", {}), SigninBook::AddResult::Added);  // signed in again once undone
  // An entry the operator kept twice is two tickets for one person present.
  EXPECT_EQ(book.Present({"0001", "0002", "0003", "0001"}), (std::vector<std::string>{"0001", "0003", "0001"}));
}

// Codes are made once and kept: a printed invitation keeps working across restarts and list edits.
TEST_F(SigninStoreTest, EveryoneGetsOneLastingCodeOfTheirOwn) {
  auto codes = EnsureSigninCodes(Dir(), {"0001", "0002"});
  ASSERT_TRUE(codes);
  const std::string first = codes->CodeOf("0001");
  EXPECT_EQ(first.size(), SigninCodes::kLength);
  EXPECT_NE(first, codes->CodeOf("0002"));
  EXPECT_EQ(codes->EntryOf(first), "0001");
  std::string lower = first;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(codes->EntryOf(lower), "0001");
  EXPECT_FALSE(codes->EntryOf("0001"));  // an employee number is no code
  // A person added later gets a code; the others keep theirs, also after a restart.
  codes = EnsureSigninCodes(Dir(), {"0001", "0003"});
  ASSERT_TRUE(codes);
  EXPECT_EQ(LoadSigninCodes(Dir())->CodeOf("0001"), first);
  EXPECT_EQ(codes->Size(), 3u);
  // Two entries drawing the same code get different ones.
  std::size_t n = 0;
  SigninCodes clash;
  clash.Complete({"a", "b"}, [&](std::size_t) { return n++ < SigninCodes::kLength * 2 ? 0 : 1; });
  EXPECT_NE(clash.CodeOf("a"), clash.CodeOf("b"));
  EXPECT_EQ(SigninCodes::Parse("2222222B\tx\r\nbad\r\n2222222B\ty\r\nIIIIIIII\tz\r\n").Size(), 1u);
}

}  // namespace
}  // namespace kavrel::test
