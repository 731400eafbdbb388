#include "engine/start_from.h"

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "storage/codec.h"

namespace kavrel {

StartFromChoice::StartFromChoice(const std::vector<std::string>& plan) {
  items_.push_back({Gb(texts::kStartFromPlaceholder), -1});
  int position = 0;
  for (const auto& line : plan) {
    const auto fields = SplitPlanLine(line);
    items_.push_back({Field(fields, kAwardName) + Gb("第") + Field(fields, kBatchNumber) + Gb("批"), ++position});
  }
}

std::string StartFromChoice::Note() {
  return Gb(texts::kStartFromNote);
}
std::string StartFromChoice::Prompt() {
  return Gb(texts::kStartFromPrompt);
}

StartFromChoice::Outcome StartFromChoice::Confirm(int itemIndex, DrawState& state, Prompter& prompter) const {
  const bool real =
      itemIndex >= 0 && static_cast<std::size_t>(itemIndex) < items_.size() && items_[itemIndex].data != -1;
  if (!real) {
    if (prompter.Message(Gb(texts::kStartFromNoChoice), Gb(texts::kOperationCaption), Buttons::OkCancel,
                         Icon::Question) != Answer::Ok)
      return Outcome::KeepOpen;
    state.startFromActive = false;
    return Outcome::Close;
  }
  state.startFromActive = true;
  state.startFromIndex = items_[static_cast<std::size_t>(itemIndex)].data;
  return Outcome::Close;
}

}  // namespace kavrel
