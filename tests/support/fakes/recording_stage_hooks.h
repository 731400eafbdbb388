#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/ports/stage_hooks.h"

namespace kavrel {

// Test double of StageHooks: keeps the texts and visibilities it was given, the timer state and
// the last tick's painted candidates, and records every call except the per-tick paints as a
// line ("text AwardLabel <gb text>", "show RollingPanel", "prepare text 2 001", ...).
class RecordingStageHooks : public StageHooks {
 public:
  std::vector<std::string> calls;
  std::map<StageElement, std::string> texts;
  std::map<StageElement, bool> visible;  // elements never set count as visible
  int preparedBatchSize = 0;
  bool snapshotTaken = false;  // the rolling panel shows over its snapshot
  int ticksPainted = 0;
  std::vector<std::string> painted;                   // the candidates last shown, in pick order
  std::string prizePicture;                           // the last picture shown in the prize picture panel
  std::map<std::string, PictureCheck> pictureChecks;  // what a picture's header says; others show
  int winnerShows = 0;

  std::string Text(StageElement e) const;

  void SetText(StageElement element, const std::string& text) override;
  void SetVisible(StageElement element, bool isVisible) override;
  bool IsVisible(StageElement element) const override;
  void LayoutStage() override { calls.push_back("layout"); }
  void PrepareTextRolling(int batchSize, const std::string& firstEntry) override;
  void PreparePictureRolling(int batchSize) override;
  void ShowCandidates(const std::vector<std::string_view>& candidates) override;
  PictureCheck ShowPrizePicture(const std::string& path) override;
  void ShowWinnerShow() override;
};

}  // namespace kavrel
