#pragma once

#include <string>

namespace kavrel {

class Settings;

// The roll style of each award, kept in config.ini (section 滚动样式, one key per award name) beside the
// award table, whose format stays as it is: an award without a key rolls the classic grid. The values
// are the style names the operator sees ("经典", "球体", "卡片墙"), GB18030.
std::string LoadRollStyle(const Settings& settings, const std::string& awardName);
bool SaveRollStyle(Settings& settings, const std::string& awardName, const std::string& style);

// Whether an award is the evening's highlight (section 揭晓奖项, "真" per award name): every batch of it
// is revealed slowly on the stage, whatever its size (small batches are anyway).
bool LoadHighlight(const Settings& settings, const std::string& awardName);
bool SaveHighlight(Settings& settings, const std::string& awardName, bool highlight);

// The names offered, in order (UTF-8).
inline constexpr const char* kRollStyleNames[] = {"经典", "球体", "卡片墙"};

}  // namespace kavrel
