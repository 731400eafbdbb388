#include "storage/stage_settings.h"

#include <algorithm>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"

namespace kavrel {

StageSettings LoadStageSettings(const Settings& settings, DrawOptions& options) {
  const std::string section = Gb("标题设置");
  auto text = [&](const char* key, const char* def) { return settings.ReadText(section, Gb(key), Gb(def)); };
  auto flag = [&](const char* key, bool def) { return settings.ReadBool(section, Gb(key), def); };
  auto number = [&](const char* key, int def) { return settings.ReadInt(section, Gb(key), def); };

  StageSettings stage;
  stage.mainTitle = text("主标题", "某某公司活动主题活动");
  stage.subTitle = text("副标题", "某某公司活动主题活动");
  stage.marqueeText = text("字幕区文字", "可以设置滚动的内容");

  options.totalQuota = number("中奖名额", 0);
  options.forwardOrder = text("抽奖顺序：", "0") == "0";
  options.repeatAllowed = !flag("不允许重复抽奖", true);
  // A huge interval would mean nothing ever visibly rolls, and 0 or less never ticks at all.
  options.tickInterval = std::clamp(number("抽奖随机滚动快慢", 1), kMinTickInterval, kMaxTickInterval);
  options.presentOnly = flag("只抽已签到人员", false);
  options.maskOn = flag("启用隐私屏蔽：", false);
  if (options.maskOn) {
    options.maskFrom = number("屏蔽第几位至第几位:", 4);
    options.maskTo = number("至", 7);
  }

  stage.hideMainTitle = flag("隐藏主标题", false);
  stage.hideSubTitle = flag("隐藏副标题", false);
  stage.hideAwardName = flag("隐藏奖项名称", false);
  stage.hidePrizeName = flag("隐藏奖品文本", false);
  options.prizePictureShown = !flag("隐藏奖品图片", false);
  stage.hideDrawer = flag("隐藏抽奖人", false);
  stage.hideStatus = flag("隐藏抽奖状态", false);
  stage.hideMarquee = flag("隐藏字幕区", false);
  stage.hideStartButton = flag("隐藏开始按钮", false);
  stage.hideStopButton = flag("隐藏停止按钮", false);

  stage.pictureRatio43 = settings.ReadText(Gb("图片路径"), Gb("图片比例"), "4:3") == "4:3";
  return stage;
}

SoundSettings LoadSoundSettings(const Settings& settings, const ProgramDir& dir) {
  const std::string section = Gb("音效设置");
  auto flag = [&](const char* key) { return settings.ReadBool(section, Gb(key), true); };
  auto file = [&](const char* key, const char* def) { return dir.Resolve(settings.ReadText(section, Gb(key), def)); };

  SoundSettings sound;
  sound.stageMusicOn = flag("启用抽奖页面背景音乐");
  sound.stageMusicLoop = flag("循环播放抽奖页面背景音乐");
  sound.stageMusicFile = file("启用抽奖页面背景音乐名称", "\\wav\\bg2.mp3");
  sound.resultMusicOn = flag("启用结果页面背景音乐");
  sound.resultMusicLoop = flag("循环播放结果页面背景音乐");
  sound.resultMusicFile = file("启用结果页面背景音乐名称", "\\wav\\bg4.mp3");
  sound.startSoundOn = flag("启用开始音乐");
  sound.startSoundFile = file("启用开始音乐名称", "\\wav\\start3.mp3");
  sound.stopSoundOn = flag("启用停止音乐");
  sound.stopSoundFile = file("启用停止音乐名称", "\\wav\\stop1.wav");
  return sound;
}

std::string LoadStageScreen(const Settings& settings) {
  return settings.ReadText(Gb(kDisplaySection), Gb(kStageScreenKey));
}

bool SaveStageScreen(Settings& settings, const std::string& screenName) {
  return settings.WriteText(Gb(kDisplaySection), Gb(kStageScreenKey), screenName);
}

}  // namespace kavrel
