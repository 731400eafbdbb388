#pragma once

#include <string>
#include <vector>

#include "engine_fixture.h"
#include "storage/receipt_log.h"
#include "verify/draw_verifier.h"

namespace kavrel {

// A whole draw run through the controller, with every kind of receipt: batches, an undo, an abandon
// with its redraw, a supplementary draw and a prize change.
class VerifiedDraw : public EngineFixture {
 protected:
  void SetUp() override;
  // Runs the draw to its end. Its standing batches, winners who kept their prize and winners who
  // gave it up are kBatches, kWinners and kGaveUp.
  void RunWholeDraw();
  static constexpr int kBatches = 6;
  static constexpr int kWinners = 11;
  static constexpr int kGaveUp = 1;

  VerifyReport Verify() const { return VerifyDraw(EvidenceIn(root)); }
  std::vector<std::string> LogLines() const;
  void WriteLogLines(const std::vector<std::string>& lines, bool lastLineEnded = true);
  // What a script forging the log does after editing receipt `from` (1-based) or anything later:
  // every later line's `prev` is computed again, so the chain holds.
  static void Rechain(std::vector<std::string>& lines, std::size_t from);
  // Line k (1-based) parsed, edited by `edit` and formatted back.
  template <class Edit>
  static void EditLine(std::vector<std::string>& lines, int k, Edit edit) {
    auto r = *ParseReceipt(lines[static_cast<std::size_t>(k) - 1]);
    edit(r);
    lines[static_cast<std::size_t>(k) - 1] = FormatReceipt(r);
  }
  // The 1-based line number of the first receipt of this kind (and award, when given).
  int LineOf(const char* kind, const char* awardUtf8 = nullptr) const;
  // An abandon made the way the correction window makes it, reported through the controller.
  void Abandon(const std::string& award, const std::string& entry, const std::string& redrawLine);
  void QueueFront(const std::string& line);
};

}  // namespace kavrel
