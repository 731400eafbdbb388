#include "settings/title_options.h"

#include <algorithm>

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

struct TextKey {
  const char* key;
  const char* def;
  std::string TitleOptions::*field;
};

struct BoolKey {
  const char* key;
  bool def;
  bool TitleOptions::*field;
};

// Every key is the caption of its control's label or check box.
const TextKey kTextKeys[] = {
    {"主标题", "某某公司活动主题活动", &TitleOptions::mainTitle},
    {"副标题", "某某公司活动主题活动", &TitleOptions::subTitle},
    {"字幕区文字", "可以设置滚动的内容", &TitleOptions::marqueeText},
    {"抽奖随机滚动快慢", "1", &TitleOptions::tickInterval},
    {"屏蔽第几位至第几位:", "4", &TitleOptions::maskFrom},
    {"至", "7", &TitleOptions::maskTo},
};

const BoolKey kBoolKeys[] = {
    {"主标题居中选中", true, &TitleOptions::mainTitleCentred}, {"副标题居中选中", true, &TitleOptions::subTitleCentred},
    {"不允许重复抽奖", true, &TitleOptions::noRepeat},         {"启用隐私屏蔽：", false, &TitleOptions::maskOn},
    {"隐藏主标题", false, &TitleOptions::hideMainTitle},       {"隐藏副标题", false, &TitleOptions::hideSubTitle},
    {"隐藏奖项名称", false, &TitleOptions::hideAwardName},     {"隐藏奖品文本", false, &TitleOptions::hidePrizeName},
    {"隐藏奖品图片", false, &TitleOptions::hidePrizePicture},  {"隐藏抽奖人", false, &TitleOptions::hideDrawer},
    {"隐藏抽奖状态", false, &TitleOptions::hideStatus},        {"隐藏字幕区", false, &TitleOptions::hideMarquee},
    {"隐藏开始按钮", false, &TitleOptions::hideStartButton},   {"隐藏停止按钮", false, &TitleOptions::hideStopButton},
    {"只抽已签到人员", false, &TitleOptions::presentOnly},
};

}  // namespace

std::string TitleSection() {
  return Gb("标题设置");
}
std::string DrawOrderKey() {
  return Gb("抽奖顺序：");
}

TitleOptions LoadTitleOptions(const Settings& settings) {
  const std::string section = TitleSection();
  TitleOptions o;
  for (const auto& k : kTextKeys) o.*k.field = settings.ReadText(section, Gb(k.key), Gb(k.def));
  for (const auto& k : kBoolKeys) o.*k.field = settings.ReadBool(section, Gb(k.key), k.def);
  // The combo box has two entries; a larger stored number selects the last one.
  o.drawOrderIndex = std::clamp(settings.ReadInt(section, DrawOrderKey(), 0), 0, 1);
  return o;
}

bool SaveTitleOptions(Settings& settings, const TitleOptions& options) {
  const std::string section = TitleSection();
  bool ok = true;
  for (const auto& k : kTextKeys) ok = settings.WriteText(section, Gb(k.key), options.*k.field) && ok;
  for (const auto& k : kBoolKeys) ok = settings.WriteBool(section, Gb(k.key), options.*k.field) && ok;
  ok = settings.WriteInt(section, DrawOrderKey(), options.drawOrderIndex) && ok;
  return ok;
}

}  // namespace kavrel
