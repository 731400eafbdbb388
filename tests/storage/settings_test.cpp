#include "storage/settings.h"

#include "storage/stage_settings.h"
#include "storage_fixture.h"

namespace kavrel::test {
namespace {

class SettingsTest : public StorageTest {
 protected:
  Settings Config() const { return Settings(Dir().Path(ProgramDir::kConfigIni)); }
};

TEST_F(SettingsTest, NoFileGivesEveryDefault) {
  DrawOptions options;
  options.forwardOrder = false;
  options.repeatAllowed = true;
  options.tickInterval = 50;
  const StageSettings stage = LoadStageSettings(Config(), options);
  EXPECT_EQ(stage.mainTitle, Gb("某某公司活动主题活动"));
  EXPECT_EQ(stage.subTitle, Gb("某某公司活动主题活动"));
  EXPECT_EQ(stage.marqueeText, Gb("可以设置滚动的内容"));
  EXPECT_FALSE(stage.hideMainTitle || stage.hideSubTitle || stage.hideAwardName || stage.hidePrizeName ||
               stage.hideDrawer || stage.hideStatus || stage.hideMarquee || stage.hideStartButton ||
               stage.hideStopButton);
  EXPECT_TRUE(stage.pictureRatio43);
  EXPECT_TRUE(options.forwardOrder);
  EXPECT_FALSE(options.repeatAllowed);
  EXPECT_EQ(options.tickInterval, 1);
  EXPECT_EQ(options.totalQuota, 0);
  EXPECT_FALSE(options.maskOn);
  EXPECT_TRUE(options.prizePictureShown);

  const SoundSettings sound = LoadSoundSettings(Config(), Dir());
  EXPECT_TRUE(sound.stageMusicOn && sound.stageMusicLoop && sound.resultMusicOn && sound.resultMusicLoop &&
              sound.startSoundOn && sound.stopSoundOn);
  const std::string root = Dir().RootGb();
  EXPECT_EQ(sound.stageMusicFile, root + Native("/wav/bg2.mp3"));
  EXPECT_EQ(sound.resultMusicFile, root + Native("/wav/bg4.mp3"));
  EXPECT_EQ(sound.startSoundFile, root + Native("/wav/start3.mp3"));
  EXPECT_EQ(sound.stopSoundFile, root + Native("/wav/stop1.wav"));
  EXPECT_FALSE(FileExists(Dir().Path(ProgramDir::kConfigIni)));  // reading creates nothing
}

TEST_F(SettingsTest, BooleansIntegersAndOrder) {
  Settings config = Config();
  const std::string section = Gb("标题设置");
  DrawOptions options;
  for (const char* order : {"1", "2", "abc", "00", "-0"}) {
    ASSERT_TRUE(config.WriteText(section, Gb("抽奖顺序："), order));
    LoadStageSettings(config, options);
    EXPECT_FALSE(options.forwardOrder) << order;
  }
  config.WriteText(section, Gb("抽奖顺序："), "0");
  for (const char* repeat : {"假", "真 x", "true", ""}) {
    config.WriteText(section, Gb("不允许重复抽奖"), Gb(repeat));
    LoadStageSettings(config, options);
    EXPECT_TRUE(options.repeatAllowed) << repeat;
  }
  config.WriteBool(section, Gb("不允许重复抽奖"), true);
  config.WriteText(section, Gb("抽奖随机滚动快慢"), "  25ms");
  config.WriteText(section, Gb("中奖名额"), "x");
  config.WriteBool(section, Gb("隐藏奖品图片"), true);
  config.WriteText(Gb("图片路径"), Gb("图片比例"), "3:4");
  const StageSettings stage = LoadStageSettings(config, options);
  EXPECT_TRUE(options.forwardOrder);
  EXPECT_FALSE(options.repeatAllowed);
  EXPECT_EQ(options.tickInterval, 25);
  EXPECT_EQ(options.totalQuota, 0);
  EXPECT_FALSE(options.prizePictureShown);
  EXPECT_FALSE(stage.pictureRatio43);
}

TEST_F(SettingsTest, MaskPositionsKeptWhileMaskingIsOff) {
  Settings config = Config();
  const std::string section = Gb("标题设置");
  config.WriteBool(section, Gb("启用隐私屏蔽："), true);
  config.WriteInt(section, Gb("屏蔽第几位至第几位:"), 2);
  config.WriteInt(section, Gb("至"), 9);
  DrawOptions options;
  LoadStageSettings(config, options);
  EXPECT_TRUE(options.maskOn);
  EXPECT_EQ(options.maskFrom, 2);
  EXPECT_EQ(options.maskTo, 9);

  config.WriteBool(section, Gb("启用隐私屏蔽："), false);
  config.WriteInt(section, Gb("屏蔽第几位至第几位:"), 5);
  LoadStageSettings(config, options);
  EXPECT_FALSE(options.maskOn);
  EXPECT_EQ(options.maskFrom, 2);
  EXPECT_EQ(options.maskTo, 9);
}

TEST_F(SettingsTest, ReadsFilesWrittenByOthers) {
  Put(ProgramDir::kConfigIni, Golden("config_before.ini"));
  const Settings config = Config();
  const std::string titles = Gb("标题设置");
  EXPECT_EQ(config.ReadText(titles, Gb("主标题")), Gb("年会 2026"));                 // first duplicate wins
  EXPECT_EQ(config.ReadText(" " + titles + " ", Gb("副标题")), Gb("  欢迎光临  "));  // blanks, one quote pair
  EXPECT_EQ(config.ReadText(titles, Gb("字幕区文字"), "-"), "-");  // a later duplicate section is not read
  EXPECT_EQ(config.ReadText(titles, Gb("没有等号的行"), "-"), "-");
  EXPECT_EQ(config.ReadText("LOCK_SCREEN", "password"), "abc");  // ASCII case ignored
  EXPECT_EQ(config.ReadText("lock_screen", "; kept as written", "-"), "-");

  // LF-only files and quotes of both kinds.
  Put(ProgramDir::kConfigIni, "[a]\nk1='x'\nk2=\"y'\nk3=\"\nk4=\n");
  EXPECT_EQ(config.ReadText("a", "k1"), "x");
  EXPECT_EQ(config.ReadText("a", "k2"), "\"y'");
  EXPECT_EQ(config.ReadText("a", "k3"), "\"");
  EXPECT_EQ(config.ReadText("a", "k4", "d"), "");
  EXPECT_EQ(config.ReadInt("a", "k4", 7), 0);  // present but empty: not the default
  EXPECT_EQ(config.ReadInt("a", "missing", 7), 7);
}

TEST_F(SettingsTest, CaseIsIgnoredForAsciiLettersOnly) {
  // "\x81\x61" and "\x81\x41" are two different characters whose trail bytes are 'a' and 'A'.
  Put(ProgramDir::kConfigIni, "[s]\n\x81\x61=lower\n");
  const Settings config = Config();
  EXPECT_EQ(config.ReadText("S", "\x81\x61"), "lower");
  EXPECT_EQ(config.ReadText("s", "\x81\x41", "none"), "none");
}

TEST_F(SettingsTest, WritesLeaveOtherLinesAsTheyWere) {
  Put(ProgramDir::kConfigIni, Golden("config_before.ini"));
  Settings config = Config();
  ASSERT_TRUE(config.WriteText(Gb("标题设置"), Gb("主标题"), Gb("新年晚会")));
  ASSERT_TRUE(config.WriteInt(Gb("标题设置"), Gb("中奖名额"), 12));
  ASSERT_TRUE(config.WriteBool(Gb("模式"), Gb("文字抽奖模式"), false));
  EXPECT_EQ(Read(ProgramDir::kConfigIni), Golden("config_after.ini"));
}

TEST_F(SettingsTest, LongValuesAreReadWhole) {
  Settings config = Config();
  const std::string value = std::string(20000, 'x') + Gb("尾");
  ASSERT_TRUE(config.WriteText("exit", "number", value));
  EXPECT_EQ(config.ReadText("exit", "number"), value);
}

TEST_F(SettingsTest, LineBreaksInValuesDoNotBreakTheFile) {
  Settings config = Config();
  ASSERT_TRUE(config.WriteText("a", "k", "one\r\n[b]\nx=1"));
  EXPECT_EQ(config.ReadText("a", "k"), "one  [b] x=1");
  EXPECT_EQ(config.ReadText("b", "x", "none"), "none");
}

TEST_F(SettingsTest, WriteFailureIsReported) {
  Settings nowhere(Dir().Path("\\missing\\config.ini"));
  EXPECT_FALSE(nowhere.WriteText("a", "b", "c"));
}

}  // namespace
}  // namespace kavrel::test
