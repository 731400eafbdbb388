#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/draw_mode.h"
#include "engine/draw_observer.h"
#include "engine/draw_state.h"
#include "engine/ports/stage_hooks.h"
#include "storage/stage_settings.h"

namespace kavrel {

// What the views were last told of the draw, part by part, so that a notice can say which parts
// changed. Comparing what is there (rather than each command saying what it touched) cannot leave a
// part out; a notice costs a comparison of the plan's lines, which is microseconds at a thousand.
class DrawChangeTracker {
 public:
  // The parts that differ from the last call (every part at the first), remembering them as they are.
  DrawChanges Compare(const DrawSession& session);

 private:
  bool first_ = true;
  DrawPhase phase_ = DrawPhase::Ready;
  std::uint64_t winners_ = 0;
  std::vector<std::string> plan_;  // the lines' stored texts
  std::string currentLine_, recordedLine_;
  bool startFrom_ = false, group_ = false;
  int startFromIndex_ = 0, groupStart_ = 0, groupEnd_ = 0;
  std::size_t pool_ = 0;
  int batchNo_ = 0, drawnInAward_ = 0;
  bool drawStarted_ = false, undo_ = false;
  std::array<std::string, kStageElementKinds> texts_;
  bool receiptsActive_ = false, receiptsClosed_ = false;
  std::string receiptsHash_;
  DrawOptions options_;
  DrawMode mode_;
  bool revealing_ = false;
};

}  // namespace kavrel
