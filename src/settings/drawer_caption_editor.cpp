#include "settings/drawer_caption_editor.h"

#include "engine/plan.h"
#include "storage/codec.h"

namespace kavrel {

namespace {
constexpr const char* kWelcome = "欢迎xx(经理)领导抽取";
constexpr const char* kInfoCaption = "提示信息：";
}  // namespace

DrawerCaptionEditor::DrawerCaptionEditor(const ProgramDir& dir, Prompter& prompter) : dir_(dir), prompter_(prompter) {}

void DrawerCaptionEditor::Load() {
  plan_ = LoadPlan(dir_);
  captions_ = LoadDrawerCaptions(dir_);
}

std::vector<std::string> DrawerCaptionEditor::BatchItems() const {
  std::vector<std::string> items;
  items.reserve(plan_.size());
  for (const auto& line : plan_) items.push_back(line.award + Gb("第") + line.batchNumber + Gb("批"));
  return items;
}

// The award of the chosen line itself: looking the name up by the item's leading bytes would give
// "一等奖" for an item of an award named "一等奖A" listed after it.
std::string DrawerCaptionEditor::DefaultCaption(std::size_t lineIndex) const {
  if (lineIndex >= plan_.size()) return {};
  return Gb(kWelcome) + plan_[lineIndex].award;
}

std::string DrawerCaptionEditor::ItemText(const DrawerCaption& caption) {
  return caption.key + Gb("：") + caption.caption;
}

bool DrawerCaptionEditor::Add(std::size_t lineIndex, const std::string& caption) {
  if (lineIndex >= plan_.size()) {
    Tell("请先在奖项设置中设定奖项，再为其批次设置抽奖嘉宾！", kInfoCaption, Icon::Information);
    return false;
  }
  const int position = static_cast<int>(lineIndex) + 1;
  for (const auto& c : captions_) {
    if (c.planPosition == position) {
      Tell("此批次已经设置，请更换设置批次！", kInfoCaption, Icon::None);
      return false;
    }
  }
  const auto& line = plan_[lineIndex];
  captions_.push_back(
      DrawerCaption{DrawerCaptionKey(line.award, line.batchCount, line.batchNumber), caption, position});
  return true;
}

bool DrawerCaptionEditor::Modify(std::size_t index, const std::string& caption) {
  if (index >= captions_.size()) {
    Tell("请选择一行数据！", kInfoCaption, Icon::None);
    return false;
  }
  captions_[index].caption = caption;
  return true;
}

bool DrawerCaptionEditor::Remove(std::size_t index) {
  if (index >= captions_.size()) {
    Tell("请选择一行数据！", kInfoCaption, Icon::None);
    return false;
  }
  captions_.erase(captions_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

int DrawerCaptionEditor::LineOfCaption(std::size_t index) const {
  if (index >= captions_.size()) return -1;
  const int position = captions_[index].planPosition;
  if (position < 1 || static_cast<std::size_t>(position) > plan_.size()) return -1;
  return position - 1;
}

bool DrawerCaptionEditor::Save() {
  if (SaveDrawerCaptions(dir_, captions_)) return true;
  Tell("抽奖嘉宾设置未能保存到 config\\person.dat，请检查程序目录是否可写！", "错误提示：", Icon::Error);
  return false;
}

void DrawerCaptionEditor::Tell(const char* utf8Text, const char* utf8Caption, Icon icon) {
  prompter_.Message(Gb(utf8Text), Gb(utf8Caption), Buttons::Ok, icon);
}

}  // namespace kavrel
