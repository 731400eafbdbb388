#include "support/fakes/recording_stage_hooks.h"

namespace kavrel {

namespace {

// The part's name in the call log.
const char* PartName(StageElement e) {
  static constexpr const char* kNames[] = {"MainTitle",    "SubTitle",     "AwardLabel", "PrizeLabel",  "DrawerLabel",
                                           "StatusLabel",  "NumberLabel",  "Marquee",    "StartButton", "StopButton",
                                           "RollingPanel", "PrizePicture", "MenuBar"};
  static_assert(std::size(kNames) == kStageElementKinds);
  return kNames[static_cast<std::size_t>(e)];
}

}  // namespace

std::string RecordingStageHooks::Text(StageElement e) const {
  auto it = texts.find(e);
  return it == texts.end() ? std::string() : it->second;
}

void RecordingStageHooks::SetText(StageElement element, const std::string& text) {
  texts[element] = text;
  calls.push_back(std::string("text ") + PartName(element) + " " + text);
}

void RecordingStageHooks::SetVisible(StageElement element, bool isVisible) {
  visible[element] = isVisible;
  if (element == StageElement::RollingPanel) snapshotTaken = isVisible;
  calls.push_back(std::string(isVisible ? "show " : "hide ") + PartName(element));
}

bool RecordingStageHooks::IsVisible(StageElement element) const {
  auto it = visible.find(element);
  return it == visible.end() || it->second;
}

void RecordingStageHooks::PrepareTextRolling(int batchSize, const std::string& firstEntry) {
  preparedBatchSize = batchSize;
  calls.push_back("prepare text " + std::to_string(batchSize) + " " + firstEntry);
}

void RecordingStageHooks::PreparePictureRolling(int batchSize) {
  preparedBatchSize = batchSize;
  calls.push_back("prepare picture " + std::to_string(batchSize));
}

void RecordingStageHooks::ShowCandidates(const std::vector<std::string_view>& candidates) {
  ++ticksPainted;
  painted.assign(candidates.begin(), candidates.end());
  texts[StageElement::NumberLabel].clear();
}

PictureCheck RecordingStageHooks::ShowPrizePicture(const std::string& path) {
  prizePicture = path;
  visible[StageElement::PrizePicture] = true;
  calls.push_back("prize picture " + path);
  const auto it = pictureChecks.find(path);
  return it == pictureChecks.end() ? PictureCheck{} : it->second;
}

void RecordingStageHooks::ShowWinnerShow() {
  ++winnerShows;
  calls.push_back("winner show");
}

}  // namespace kavrel
