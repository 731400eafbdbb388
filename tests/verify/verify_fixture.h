#pragma once

#include <string>
#include <vector>

#include "engine_fixture.h"
#include "verify/draw_verifier.h"

namespace kavrel {

// A whole draw run through the controller, with every kind of receipt: batches, an undo, an abandon
// with its redraw, a supplementary draw and a prize change.
class VerifiedDraw : public EngineFixture {
 protected:
  void SetUp() override;
  // Runs the draw to its end. Its standing batches and winners are kBatches and kWinners.
  void RunWholeDraw();
  static constexpr int kBatches = 6;
  static constexpr int kWinners = 12;

  VerifyReport Verify() const { return VerifyDraw(EvidenceIn(root)); }
  std::vector<std::string> LogLines() const;
  void WriteLogLines(const std::vector<std::string>& lines, bool lastLineEnded = true);
  // The 1-based line number of the first receipt of this kind (and award, when given).
  int LineOf(const char* kind, const char* awardUtf8 = nullptr) const;
  // An abandon made the way the correction window makes it, reported through the controller.
  void Abandon(const std::string& award, const std::string& entry, const std::string& redrawLine);
  void QueueFront(const std::string& line);
};

}  // namespace kavrel
