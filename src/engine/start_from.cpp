#include "engine/start_from.h"

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "storage/codec.h"

namespace kavrel {

StartFromChoice::StartFromChoice(const std::vector<PlanLine>& plan) {
  items_.push_back({Gb(texts::kStartFromPlaceholder), -1});
  int position = 0;
  for (const PlanLine& line : plan) items_.push_back({line.award + Gb("第") + line.batchNumber + Gb("批"), ++position});
}

std::string StartFromChoice::Note() {
  return Gb(texts::kStartFromNote);
}
std::string StartFromChoice::Prompt() {
  return Gb(texts::kStartFromPrompt);
}

StartFromChoice::Outcome StartFromChoice::Confirm(int itemIndex, Prompter& prompter, int& chosen) const {
  const bool real =
      itemIndex >= 0 && static_cast<std::size_t>(itemIndex) < items_.size() && items_[itemIndex].data != -1;
  if (!real) {
    if (prompter.Message(Gb(texts::kStartFromNoChoice), Gb(texts::kOperationCaption), Buttons::OkCancel,
                         Icon::Question) != Answer::Ok)
      return Outcome::KeepOpen;
    chosen = 0;
    return Outcome::Close;
  }
  chosen = items_[static_cast<std::size_t>(itemIndex)].data;
  return Outcome::Close;
}

StartFromChoice::Outcome StartFromChoice::Confirm(int itemIndex, DrawState& state, Prompter& prompter) const {
  int chosen = 0;
  const Outcome outcome = Confirm(itemIndex, prompter, chosen);
  if (outcome == Outcome::Close) Apply(chosen, state);
  return outcome;
}

void StartFromChoice::Apply(int planPosition, DrawState& state) {
  state.startFromActive = planPosition > 0;
  if (planPosition > 0) state.startFromIndex = planPosition;
}

}  // namespace kavrel
