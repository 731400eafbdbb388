#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// A Merkle tree over the sealed pool's entries (in pool order), so that one entrant can be shown to
// be in the sealed list with a few hashes instead of the whole list. The tree is the one of
// Certificate Transparency (RFC 6962): leaf = SHA-256(0x00 || entry bytes), node =
// SHA-256(0x01 || left || right), a last node without a partner moves up unchanged; an empty list
// has the SHA-256 of nothing as its root. Entries are the stored bytes (GB18030); hashes are
// lower-case hexadecimal outside this file.

std::string MerkleRoot(const std::vector<std::string>& entries);

struct MerkleProof {
  std::size_t index = 0;          // 0-based leaf position
  std::size_t size = 0;           // leaves in the tree
  std::vector<std::string> path;  // sibling hashes from the leaf up (hexadecimal)
};
// The proof for the entry at `index` (< entries.size()).
MerkleProof ProveEntry(const std::vector<std::string>& entries, std::size_t index);
// The proof leads from `entry` to `rootHex`.
bool ProofHolds(std::string_view entry, const MerkleProof& proof, const std::string& rootHex);

}  // namespace kavrel
