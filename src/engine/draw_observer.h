#pragma once

namespace kavrel {

class DrawSession;

// A view of the draw: the stage, the operator console, anything else that shows where the draw stands.
// Told after every change of the phase, the progress, the winners shown, the marquee or the plan
// position (never per roll tick); it reads what it shows from the session, so no view keeps a copy of
// its own and no view reads another.
class DrawObserver {
 public:
  virtual ~DrawObserver() = default;
  virtual void DrawChanged(const DrawSession& session) = 0;
};

}  // namespace kavrel
