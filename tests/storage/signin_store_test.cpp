#include "storage/signin_store.h"

#include "storage_fixture.h"

namespace kavrel::test {
namespace {

using SigninStoreTest = StorageTest;

// A restart must bring back every sign-in; a cut or edited file must say what it could not read
// instead of silently forgetting people.
TEST_F(SigninStoreTest, SavedSigninsComeBackAndDamageIsCounted) {
  const std::string zhang = Gb("0001  张三  ");
  const std::vector<SigninRecord> records{{zhang, {2026, 12, 10, 9, 1, 2}}, {"0002", {2026, 12, 10, 9, 1, 3}}};
  ASSERT_TRUE(SaveSignins(Dir(), records));
  const auto loaded = LoadSignins(Dir());
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->records.size(), 2u);
  EXPECT_EQ(loaded->records[0].entry, zhang);
  EXPECT_EQ(loaded->records[1].at.second, 3);
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
  // An entry the operator kept twice is two tickets for one person present.
  EXPECT_EQ(book.Present({"0001", "0002", "0003", "0001"}), (std::vector<std::string>{"0001", "0003", "0001"}));
}

}  // namespace
}  // namespace kavrel::test
