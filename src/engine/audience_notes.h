#pragma once

#include <string>
#include <vector>

namespace kavrel {

class DrawReceipts;
struct DrawState;

// What anyone in the room must be able to see for the draw to be checked without trusting the
// operator: before the first batch, the seal (and how many seals came before it) with the audience
// number; before and during each roll, every choice of the operator that changes who can win it (a
// group of rows, a batch drawn again after undos, a line picked by start-from). Texts are GB18030.
struct AudienceNotes {
  std::string seal;  // the full seal while nothing is drawn under it (for a QR code), else ""
  std::vector<std::string> lines;
  bool operator==(const AudienceNotes&) const = default;
};
AudienceNotes NotesForAudience(const DrawState& state, const DrawReceipts& receipts);

}  // namespace kavrel
