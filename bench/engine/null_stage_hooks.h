#pragma once

#include <benchmark/benchmark.h>

#include "engine/ports/stage_hooks.h"

namespace kavrel {

// A stage that paints nothing, so the benchmarks time the engine's own work.
class NullStageHooks : public StageHooks {
 public:
  void SetText(StageElement, const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
  void SetVisible(StageElement, bool) override {}
  bool IsVisible(StageElement) const override { return true; }
  void LayoutStage() override {}
  void PrepareTextRolling(int, const std::string&) override {}
  void PreparePictureRolling(int) override {}
  // Reads the texts as a real paint would.
  void ShowCandidates(const std::vector<std::string_view>& candidates) override {
    for (std::string_view text : candidates) benchmark::DoNotOptimize(text.size() ? text[text.size() - 1] : 0);
  }
  PictureCheck ShowPrizePicture(const std::string&) override { return {}; }
  void ShowWinnerShow() override {}
};

}  // namespace kavrel
