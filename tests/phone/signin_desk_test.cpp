#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <vector>

#include "http_probe.h"
#include "phone/signin_desk.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"

namespace kavrel {
namespace {

class SigninDeskTest : public ::testing::Test {
 protected:
  SigninDeskTest() : dir_(std::filesystem::path(temp_.path().toStdString())) { dir_.EnsureConfigDir(); }
  QTemporaryDir temp_;
  ProgramDir dir_;
  FakeClock clock_;
};

TEST_F(SigninDeskTest, AnswersOnlyAfterOneSaveThatHoldsThemAll) {
  SigninDesk desk(dir_, clock_, 200);
  ASSERT_TRUE(desk.Load());
  std::vector<std::pair<quint64, int>> answers;
  QObject::connect(&desk, &SigninDesk::Settled, [&](quint64 t, int o) { answers.emplace_back(t, o); });

  for (quint64 i = 0; i < 300; ++i) desk.Submit(i, QByteArray("E") + QByteArray::number(i));
  desk.Submit(1000, "E7");  // a second phone for an entry already taken
  // The refusal needs no save; the sign-ins wait for theirs.
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0], std::make_pair(quint64{1000}, int{SigninDesk::AlreadySignedIn}));
  EXPECT_EQ(desk.Refused(), 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path(ProgramDir::kSigninDat)));

  ASSERT_TRUE(test::PollUntil([&] { return answers.size() == 301; }));
  for (std::size_t i = 1; i < answers.size(); ++i) EXPECT_EQ(answers[i].second, SigninDesk::Added);
  const auto saved = LoadSignins(dir_);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->records.size(), 300u);

  // A restart reads them back.
  SigninDesk again(dir_, clock_, 200);
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.Count(), 300u);
  EXPECT_TRUE(again.Contains("E299"));
}

TEST_F(SigninDeskTest, AFailedSaveIsReportedAndForgotten) {
  SigninDesk desk(dir_, clock_, 0);
  ASSERT_TRUE(desk.Load());
  // A folder where the file should be: the atomic rename cannot replace it.
  std::filesystem::create_directory(dir_.Path(ProgramDir::kSigninDat));
  std::vector<int> outcomes;
  QObject::connect(&desk, &SigninDesk::Settled, [&](quint64, int o) { outcomes.push_back(o); });
  desk.Submit(1, "E1");
  ASSERT_TRUE(test::PollUntil([&] { return !outcomes.empty(); }));
  EXPECT_EQ(outcomes[0], SigninDesk::SaveFailed);
  EXPECT_FALSE(desk.Contains("E1"));  // the retry is a fresh sign-in
}

TEST_F(SigninDeskTest, AnUnreadableFileKeepsSigninClosed) {
  std::filesystem::create_directory(dir_.Path(ProgramDir::kSigninDat));
  SigninDesk desk(dir_, clock_, 0);
  EXPECT_FALSE(desk.Load());
  std::vector<int> outcomes;
  QObject::connect(&desk, &SigninDesk::Settled, [&](quint64, int o) { outcomes.push_back(o); });
  desk.Submit(1, "E1");
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0], SigninDesk::Closed);
}

}  // namespace
}  // namespace kavrel
