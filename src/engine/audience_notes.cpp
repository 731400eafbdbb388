#include "engine/audience_notes.h"

#include "engine/draw_receipts.h"
#include "engine/draw_state.h"
#include "engine/pick.h"
#include "storage/codec.h"
#include "storage/receipt_log.h"

namespace kavrel {

AudienceNotes NotesForAudience(const DrawState& state, const DrawReceipts& receipts) {
  AudienceNotes notes;
  if (receipts.Active() && !receipts.AnyBatch()) {
    notes.seal = receipts.Seal();
    notes.lines.push_back(Gb("公证封印 ") + ShortSeal(receipts.Seal()));
    if (receipts.Reseals() > 0)
      notes.lines.push_back(Gb("第") + std::to_string(receipts.Reseals() + 1) + Gb("次封印（上一个封印 ") +
                            ShortSeal(receipts.PreviousSeal()) + Gb("）"));
    notes.lines.push_back(Gb("观众数字：") +
                          (receipts.AudienceNumber().empty() ? Gb("未取") : receipts.AudienceNumber()));
  }
  // The rest is about the batch about to be drawn, or rolling.
  if (state.WinnersShown() || state.plan.empty()) return notes;
  if (state.groupActive) {
    const PickRange range = CurrentPickRange(state);
    notes.lines.push_back(Gb("本批从第") + std::to_string(range.first) + Gb("–") + std::to_string(range.last) +
                          Gb("行产生（共") + std::to_string(range.Count()) + Gb("人）"));
  }
  if (receipts.Active()) {
    const int attempt = receipts.NextBatchInputs().attempt;
    if (attempt > 0)
      notes.lines.push_back(Gb("第") + std::to_string(attempt + 1) + Gb("次抽取（已撤销") + std::to_string(attempt) +
                            Gb("次）"));
  }
  if (state.startFromActive)
    notes.lines.push_back(Gb("本批由操作员指定：奖项计划第") + std::to_string(state.startFromIndex) + Gb("行"));
  return notes;
}

}  // namespace kavrel
