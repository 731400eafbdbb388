#include "settings/award_edit_form.h"

#include <gtest/gtest.h>

#include "storage/codec.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

using Sizes = std::vector<long long>;

class AwardEditFormTest : public ::testing::Test {
 protected:
  AwardEditTexts Texts(const char* name, const char* quota, const char* batches, const char* prize = "奖品：手机",
                       const char* picture = "") {
    return {Gb(name), Gb(quota), Gb(batches), Gb(prize), Gb(picture)};
  }
  void ExpectOneMessage(const char* text, const char* caption, Icon icon) {
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, Gb(text));
    EXPECT_EQ(prompter.shown()[0].caption, Gb(caption));
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter.shown()[0].icon, icon);
    prompter.Clear();
  }

  ScriptedPrompter prompter;
  AwardEditBuffer buffer;
  AwardEditForm form{prompter, buffer};
};

TEST_F(AwardEditFormTest, NumberCheckReportsBadNumbersAndSplitsGoodOnes) {
  EXPECT_FALSE(form.CheckNumbers(Texts("二等奖", "5", "0")));
  ExpectOneMessage("输入的数字不符合要求，需要大于0的整数", "错误提示：", Icon::Error);
  EXPECT_FALSE(form.CheckNumbers(Texts("二等奖", "abc", "1")));
  ExpectOneMessage("输入的数字不符合要求，需要大于0的整数", "错误提示：", Icon::Error);
  EXPECT_FALSE(form.CheckNumbers(Texts("二等奖", "3", "4")));
  ExpectOneMessage("批次不能大于中奖名额", "错误提示：", Icon::Error);

  EXPECT_EQ(form.CheckNumbers(Texts("二等奖", "10", "6")), (Sizes{2, 2, 2, 2, 1, 1}));
  EXPECT_TRUE(prompter.shown().empty());
  // The check hands the three boxes' texts to the buffer.
  EXPECT_EQ(buffer.awardName, Gb("二等奖"));
  EXPECT_EQ(buffer.quota, "10");
  EXPECT_EQ(buffer.batchCount, "6");
  EXPECT_FALSE(buffer.confirmed);
}

TEST_F(AwardEditFormTest, ConfirmFillsEmptyNumbersWithOneAndBuildsTheDetails) {
  auto texts = Texts("特等奖", "", "", "奖品：汽车一辆", "D:\\图片\\车.jpg");
  EXPECT_EQ(form.Confirm(texts), (Sizes{1}));
  EXPECT_EQ(texts.quota, "1");
  EXPECT_EQ(texts.batchCount, "1");
  EXPECT_TRUE(buffer.confirmed);
  EXPECT_EQ(buffer.batchDetails, "1");
  EXPECT_EQ(buffer.prizeName, Gb("奖品：汽车一辆"));
  EXPECT_EQ(buffer.prizePicture, Gb("D:\\图片\\车.jpg"));

  auto five = Texts("三等奖", "5", "4");
  EXPECT_TRUE(form.Confirm(five));
  EXPECT_EQ(buffer.batchDetails, "2+1+1+1");
  auto padded = Texts("三等奖", "010", "03");
  EXPECT_TRUE(form.Confirm(padded));
  EXPECT_EQ(buffer.quota, "10");
  EXPECT_EQ(buffer.batchCount, "3");
  EXPECT_EQ(buffer.batchDetails, "4+4+2");
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(AwardEditFormTest, ConfirmRefusesWhatWouldMakeAnUnusableAward) {
  auto noPrize = Texts("一等奖", "1", "1", "");
  EXPECT_FALSE(form.Confirm(noPrize));
  ExpectOneMessage("奖项名称或奖品名称不能这空！", "错误提示", Icon::Warning);
  auto zero = Texts("一等奖", "0", "1");
  EXPECT_FALSE(form.Confirm(zero));
  ExpectOneMessage("输入的数字不符合要求，需要大于0的整数", "错误提示：", Icon::Error);
  auto tooMany = Texts("一等奖", "2", "3");
  EXPECT_FALSE(form.Confirm(tooMany));
  ExpectOneMessage("批次不能大于中奖名额", "错误提示：", Icon::Error);
  auto comma = Texts("一等奖,A", "2", "1");
  EXPECT_FALSE(form.Confirm(comma));
  ExpectOneMessage("奖项名称不能包含字符“,”，请改用其他字符！", "错误提示：", Icon::Warning);
  EXPECT_FALSE(buffer.confirmed);
}

TEST_F(AwardEditFormTest, SeparatorsAreRefusedWhereTheyWouldBreakAFile) {
  using F = AwardEditForm::Field;
  EXPECT_EQ(AwardEditForm::ForbiddenCharacter(F::AwardName, Gb("一等奖-A")), '-');
  EXPECT_EQ(AwardEditForm::ForbiddenCharacter(F::PrizeName, Gb("手机,耳机")), ',');
  EXPECT_EQ(AwardEditForm::ForbiddenCharacter(F::PrizePicture, Gb("D:\\a,b.png")), ',');
  EXPECT_FALSE(AwardEditForm::ForbiddenCharacter(F::PrizePicture, Gb("D:\\my-pics\\a.png")));
  // Full-width forms and characters whose GB bytes are high are fine.
  EXPECT_FALSE(AwardEditForm::ForbiddenCharacter(F::AwardName, Gb("一等奖，全场—大奖")));

  EXPECT_FALSE(form.AcceptTyped(F::PrizeName, Gb("奖品-手机")));
  ExpectOneMessage("奖品名称不能包含字符“-”，请改用其他字符！", "错误提示：", Icon::Warning);
  EXPECT_FALSE(form.AcceptTyped(F::PrizePicture, Gb("a,b.png")));
  ExpectOneMessage("奖品图片的路径不能包含字符“,”，请改用其他字符！", "错误提示：", Icon::Warning);
}

TEST_F(AwardEditFormTest, ModifyModeStartsFromTheBuffer) {
  buffer = {Gb("二等奖"), "3", "2", "2+1", Gb("奖品：手机"), "", AwardEditBuffer::Mode::Modify, false, ""};
  const AwardEditTexts t = form.InitialTexts();
  EXPECT_EQ(t.awardName, Gb("二等奖"));
  EXPECT_EQ(form.CheckNumbers(t), (Sizes{2, 1}));
  buffer.mode = AwardEditBuffer::Mode::Add;
  EXPECT_TRUE(form.InitialTexts().awardName.empty());
}

}  // namespace
}  // namespace kavrel
