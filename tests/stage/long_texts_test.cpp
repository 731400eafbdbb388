#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "stage/stage_look.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

TEST(CappedCaption, CutsLongTextsWithAnEllipsisAndNeverHalfACharacter) {
  EXPECT_EQ(CappedCaption(QStringLiteral("年会抽奖")), QStringLiteral("年会抽奖"));
  EXPECT_EQ(CappedCaption(QString(100, QChar(u'奖'))), QString(100, QChar(u'奖')));
  EXPECT_EQ(CappedCaption(QString(101, QChar(u'奖'))), QString(99, QChar(u'奖')) + QChar(0x2026));
  // "𪚥" is two UTF-16 units: a cut between them would leave half a character.
  const QString rare = QString(98, QChar(u'a')) + QString::fromUtf8("𪚥𪚥");
  EXPECT_EQ(CappedCaption(rare), QString(98, QChar(u'a')) + QChar(0x2026));
}

// A title and a prize of 10,000 characters: the stage starts, and shows them cut, at a readable size.
TEST(LongTexts, AHugeTitleAndPrizeAreShownCut) {
  QTemporaryDir tmp;
  const ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ASSERT_TRUE(dir.EnsureConfigDir());
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), "001\r\n002\r\n"));
  std::string prize;
  for (int i = 0; i < 10000; ++i) prize += Gb("奖");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb("一等奖,1,1,1,1,") + prize + ",,\r\n"));
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  settings.WriteText(Gb("标题设置"), Gb("主标题"), std::string(10000, 'T'));
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  DrawSession session(prompter, sound, clock, dir);
  StageWindow stage(session, prompter, sound, clock, dir, [](const std::string&) { return true; });
  stage.setGeometry(0, 0, 1920, 1080);
  stage.show();
  stage.StartUp();
  auto* title = stage.findChild<QLabel*>(QStringLiteral("透明标签_主标题"));
  auto* prizeLabel = stage.findChild<QLabel*>(QStringLiteral("透明标签_奖品名称"));
  ASSERT_TRUE(title && prizeLabel);
  EXPECT_TRUE(title->text().endsWith(QChar(0x2026)));
  EXPECT_TRUE(title->text().startsWith(QStringLiteral("TTTT")));
  EXPECT_EQ(prizeLabel->text().size(), kMaxCaptionLength);
  EXPECT_LE(title->width(), 1920);
}

}  // namespace
}  // namespace kavrel
