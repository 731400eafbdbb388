#pragma once

#include <string>
#include <vector>

#include "verify/draw_verifier.h"

namespace kavrel {

// "Was I in the draw?": one entry looked up in a replayed draw. Texts are GB18030.
struct EntrantAnswer {
  std::vector<std::size_t> positions;  // 0-based positions in the sealed pool: one per ticket
  std::vector<std::string> similar;    // entries that contain the text, when it is no entry itself (a few)
  std::vector<std::string> wins;       // what it won, one line each (UTF-8)
  bool InList() const { return !positions.empty(); }
};
EntrantAnswer LookUpEntrant(const VerifyReport& report, const std::string& entry);

// The lines kavrel-verify prints for the answer (UTF-8).
std::vector<std::string> EntrantLines(const VerifyReport& report, const std::string& entry,
                                      const EntrantAnswer& answer);

// Checks a proof file's text against the seal the draw showed (hexadecimal, whole or its first 16
// digits or more): the verdict line (UTF-8) and its exit status (0 holds, 1 does not or was sealed
// otherwise, 3 unreadable or no seal given).
struct ProofVerdict {
  std::string line;
  int status = 3;
};
// `entryGiven` (GB18030, "" for none): the entry in full, for a proof that shows it masked.
ProofVerdict CheckProof(const std::string& proofText, const std::string& sealGiven,
                        const std::string& entryGiven = std::string());

}  // namespace kavrel
