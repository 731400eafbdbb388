#pragma once

namespace kavrel {

// What covers the stage apart from the draw itself, for the operator's side to tell what the audience
// sees and what the next press will do.
struct StageSituation {
  enum class Results { None, WinnerShow, LatestBatch, List };

  bool locked = false;              // the screen lock covers the stage
  bool blackedOut = false;          // the stage is blacked out (画板_黑屏)
  Results results = Results::None;  // a result window (F6, F7, the lists) is open over the stage
};

}  // namespace kavrel
