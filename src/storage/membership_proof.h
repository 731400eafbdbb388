#pragma once

#include <string>

#include "storage/receipt_merkle.h"

namespace kavrel {

// A proof that one entry is in a sealed list, which its holder can check with the seal alone: the
// seal line (whose fields give the seal and hold the list's Merkle root) and the entry's Merkle path.
// One JSON object, UTF-8; `entry` is the stored bytes (GB18030), `sealLine` the log's first line.
// kavrel-verify --proof and the phone pages write it here, kavrel-verify --check-proof reads it.
// `masked`: `entry` is shown masked (the phone pages'), so the proof's holder must give the entry in full
// to check it.
std::string MembershipProofJson(const std::string& sealLine, const std::string& entry, const MerkleProof& proof,
                                bool masked = false);

}  // namespace kavrel
