#include "storage/receipt_merkle.h"

#include <QCryptographicHash>

namespace kavrel {

namespace {

using Digest = std::string;  // 32 raw bytes

// One hash object reused for every node: a large list has hundreds of thousands of them, and the
// per-call set-up is most of a small message's cost.
class Hasher {
 public:
  Digest Leaf(std::string_view entry) {
    hash_.reset();
    hash_.addData(QByteArrayView("\x00", 1));
    hash_.addData(QByteArrayView(entry.data(), static_cast<qsizetype>(entry.size())));
    return Take();
  }
  Digest Node(const Digest& left, const Digest& right) {
    hash_.reset();
    hash_.addData(QByteArrayView("\x01", 1));
    hash_.addData(QByteArrayView(left.data(), static_cast<qsizetype>(left.size())));
    hash_.addData(QByteArrayView(right.data(), static_cast<qsizetype>(right.size())));
    return Take();
  }

 private:
  Digest Take() {
    const QByteArrayView r = hash_.resultView();
    return Digest(r.data(), static_cast<std::size_t>(r.size()));
  }
  QCryptographicHash hash_{QCryptographicHash::Sha256};
};

std::string Hex(const Digest& d) {
  return QByteArray(d.data(), static_cast<qsizetype>(d.size())).toHex().toStdString();
}
Digest Raw(const std::string& hex) {
  const QByteArray bytes = QByteArray::fromHex(QByteArray(hex.data(), static_cast<qsizetype>(hex.size())));
  return Digest(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Hashes the level above `level` in place (pairs joined, a lone last node moved up).
void Up(Hasher& h, std::vector<Digest>& level) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < level.size(); i += 2)
    level[out++] = i + 1 < level.size() ? h.Node(level[i], level[i + 1]) : std::move(level[i]);
  level.resize(out);
}

std::vector<Digest> Leaves(Hasher& h, const std::vector<std::string>& entries) {
  std::vector<Digest> level;
  level.reserve(entries.size());
  for (const auto& e : entries) level.push_back(h.Leaf(e));
  return level;
}

}  // namespace

std::string MerkleRoot(const std::vector<std::string>& entries) {
  if (entries.empty()) return QCryptographicHash::hash(QByteArray(), QCryptographicHash::Sha256).toHex().toStdString();
  Hasher h;
  std::vector<Digest> level = Leaves(h, entries);
  while (level.size() > 1) Up(h, level);
  return Hex(level.front());
}

MerkleProof ProveEntry(const std::vector<std::string>& entries, std::size_t index) {
  MerkleProof proof;
  proof.index = index;
  proof.size = entries.size();
  if (index >= entries.size()) return proof;
  Hasher h;
  std::vector<Digest> level = Leaves(h, entries);
  std::size_t i = index;
  while (level.size() > 1) {
    const std::size_t sibling = i % 2 == 1 ? i - 1 : i + 1;
    if (sibling < level.size()) proof.path.push_back(Hex(level[sibling]));
    Up(h, level);
    i /= 2;
  }
  return proof;
}

bool ProofHolds(std::string_view entry, const MerkleProof& proof, const std::string& rootHex) {
  if (proof.index >= proof.size) return false;
  Hasher h;
  Digest node = h.Leaf(entry);
  std::size_t i = proof.index, n = proof.size, k = 0;
  while (n > 1) {
    const bool hasSibling = i % 2 == 1 || i + 1 < n;
    if (hasSibling) {
      if (k >= proof.path.size() || proof.path[k].size() != 64) return false;
      const Digest sibling = Raw(proof.path[k++]);
      node = i % 2 == 1 ? h.Node(sibling, node) : h.Node(node, sibling);
    }
    i /= 2;
    n = (n + 1) / 2;
  }
  return k == proof.path.size() && Hex(node) == rootHex;
}

}  // namespace kavrel
