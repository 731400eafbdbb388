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

}  // namespace kavrel
