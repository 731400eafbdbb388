#pragma once

#include <string>

namespace kavrel {

class Settings;
class ProgramDir;

// Where the draw mode is kept: "真" for text (number) mode, "假" for picture mode.
inline constexpr const char* kModeSection = "模式";
inline constexpr const char* kTextModeKey = "文字抽奖模式";

// The range the roll's tick interval is kept in, milliseconds.
inline constexpr int kMinTickInterval = 1;
inline constexpr int kMaxTickInterval = 1000;

// The draw options of section "标题设置". One instance for the whole run, owned by the stage.
struct DrawOptions {
  bool forwardOrder = true;       // "抽奖顺序：" is exactly "0"
  bool repeatAllowed = false;     // "不允许重复抽奖" is not "真"
  int totalQuota = 0;             // "中奖名额"
  int tickInterval = 1;           // "抽奖随机滚动快慢", milliseconds, kept within 1 … 1000
  bool maskOn = false;            // "启用隐私屏蔽："
  int maskFrom = 4;               // "屏蔽第几位至第几位:", 1-based byte position
  int maskTo = 7;                 // "至"
  bool prizePictureShown = true;  // not "隐藏奖品图片"
  bool presentOnly = false;       // "只抽已签到人员": a fresh draw's pool is the list's signed-in entries

  bool operator==(const DrawOptions&) const = default;
};

// What the stage shows, as read from the settings (texts in GB18030).
struct StageSettings {
  std::string mainTitle;
  std::string subTitle;
  std::string marqueeText;
  bool hideMainTitle = false;
  bool hideSubTitle = false;
  bool hideAwardName = false;
  bool hidePrizeName = false;
  bool hideDrawer = false;
  bool hideStatus = false;
  bool hideMarquee = false;
  bool hideStartButton = false;
  bool hideStopButton = false;
  bool pictureRatio43 = true;  // "图片比例" is exactly "4:3"
};

// Reads section "标题设置" and the picture ratio. Updates `options`; maskFrom and maskTo keep
// their previous values when masking is off.
StageSettings LoadStageSettings(const Settings& settings, DrawOptions& options);

// Section "音效设置". File fields are full paths (GB18030) built from the stored relative ones.
struct SoundSettings {
  bool stageMusicOn = true;
  bool stageMusicLoop = true;
  std::string stageMusicFile;
  bool resultMusicOn = true;
  bool resultMusicLoop = true;
  std::string resultMusicFile;
  bool startSoundOn = true;
  std::string startSoundFile;
  bool stopSoundOn = true;
  std::string stopSoundFile;
};

SoundSettings LoadSoundSettings(const Settings& settings, const ProgramDir& dir);

// The screen the stage was last put on with "显示到扩展显示屏(Z)", by the name the system gives it
// (GB18030). A section of its own, so the keys other programs and older versions know stay as they are.
inline constexpr const char* kDisplaySection = "扩展显示";
inline constexpr const char* kStageScreenKey = "舞台显示屏";

// Empty when no screen was chosen (the stage then opens on the primary screen).
std::string LoadStageScreen(const Settings& settings);
bool SaveStageScreen(Settings& settings, const std::string& screenName);

}  // namespace kavrel
