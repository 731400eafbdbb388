// The draw controller's draw among those signed in ("只抽已签到人员"): a fresh draw's pool is the list's
// entries present in config\signin.dat at the moment the pool is sealed. Sign-ins that come later do not
// change that draw; a fresh start (F1) reads them again.
#include "engine/draw_controller.h"
#include "engine/draw_texts.h"
#include "storage/codec.h"
#include "storage/signin_store.h"

namespace kavrel {

namespace {

void Fill(std::string& text, const char* marker, long long value) {
  for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker))
    text.replace(at, 2, std::to_string(value));
}

constexpr const char* kPresentSealed =
    "只抽已签到人员：已签到%n人（名单共%m人），本场抽奖只从这%n人中抽取。\n\n"
    "名单已在此刻封存：之后签到的人员不会加入本场抽奖。要让他们加入，请在第一轮之前按F1重新开始抽奖。";
constexpr const char* kNobodyPresent =
    "只抽已签到人员：名单共%m人，还没有人签到，本场抽奖无法开始。\n\n"
    "请等大家签到后按F1重新开始抽奖（届时重新读取签到），或在奖项设置中取消“只抽已签到人员”。";
constexpr const char* kSigninsUnreadable =
    "只抽已签到人员：签到记录 config\\signin.dat 无法读取，不知道谁已签到，本场抽奖无法开始。\n\n"
    "请检查该文件后按F1重新开始抽奖，或在奖项设置中取消“只抽已签到人员”。";
constexpr const char* kDamagedSignins = "\n\n注意：签到记录中有%d行无法识别（第%l行起），这些行上的签到没有计入。";

}  // namespace

void DrawController::KeepOnlyPresent(std::vector<std::string>& pool, bool tellAgain) {
  state_.presentOnly = options_.presentOnly;
  state_.presentCount = 0;
  presentRefusal_.clear();
  if (!options_.presentOnly) {
    presentTold_.clear();
    return;
  }
  const auto listed = static_cast<long long>(pool.size());
  const auto signins = LoadSignins(dir_);
  std::string text;
  if (!signins) {
    // Never "nobody signed in" and never the whole list: neither is the draw the operator chose.
    pool.clear();
    text = Gb(kSigninsUnreadable);
  } else {
    pool = SigninBook(signins->records).Present(pool);
    state_.presentCount = static_cast<long long>(pool.size());
    text = Gb(pool.empty() ? kNobodyPresent : kPresentSealed);
    Fill(text, "%n", state_.presentCount);
    Fill(text, "%m", listed);
    if (signins->damagedLines > 0) {
      std::string damaged = Gb(kDamagedSignins);
      Fill(damaged, "%d", signins->damagedLines);
      Fill(damaged, "%l", signins->firstDamagedLine);
      text += damaged;
    }
  }
  if (pool.empty()) presentRefusal_ = text;
  // A reload that finds the same people (the award settings closed, the list editor closed) says
  // nothing new; another count is the news the operator needs before the first press.
  if (text == presentTold_ && !tellAgain) return;
  presentTold_ = text;
  prompter_.Message(text, Gb(texts::kInfoCaption), Buttons::Ok, pool.empty() ? Icon::Warning : Icon::Information);
}

}  // namespace kavrel
