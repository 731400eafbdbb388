#include "settings/roll_style_setting.h"

#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {
namespace {

std::string Section() {
  return Gb("滚动样式");
}

}  // namespace

std::string LoadRollStyle(const Settings& settings, const std::string& awardName) {
  if (awardName.empty()) return {};
  return settings.ReadText(Section(), awardName);
}

bool SaveRollStyle(Settings& settings, const std::string& awardName, const std::string& style) {
  if (awardName.empty()) return true;
  // The classic grid needs no key, and an award that never had one keeps none.
  if ((style.empty() || style == Gb(kRollStyleNames[0])) && !settings.ReadRaw(Section(), awardName)) return true;
  return settings.WriteText(Section(), awardName, style);
}

bool LoadHighlight(const Settings& settings, const std::string& awardName) {
  return !awardName.empty() && settings.ReadBool(Gb("揭晓奖项"), awardName, false);
}

bool SaveHighlight(Settings& settings, const std::string& awardName, bool highlight) {
  if (awardName.empty() || (!highlight && !settings.ReadRaw(Gb("揭晓奖项"), awardName))) return true;
  return settings.WriteBool(Gb("揭晓奖项"), awardName, highlight);
}

}  // namespace kavrel
