#pragma once

#include <string>
#include <vector>

#include "storage/receipt_merkle.h"
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

// A proof that one entry is in the sealed list, which its holder can check with the seal alone: the
// seal line (whose fields give the seal and hold the list's Merkle root) and the entry's Merkle path.
// JSON, one object.
std::string ProofText(const std::string& sealLine, const std::string& entry, const MerkleProof& proof);

// Checks a proof file's text: the verdict line (UTF-8) and its exit status (0 holds, 1 does not, 3
// unreadable).
struct ProofVerdict {
  std::string line;
  int status = 3;
};
ProofVerdict CheckProof(const std::string& proofText);

}  // namespace kavrel
