#include "verify/entrant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "storage/entry_key.h"
#include "storage/receipt_log.h"
#include "storage/receipt_merkle.h"
#include "verify/verify_text.h"

namespace kavrel {

using verify::Norm;
using verify::Shown;

namespace {
constexpr std::size_t kSimilarShown = 5;

std::string Utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}  // namespace

EntrantAnswer LookUpEntrant(const VerifyReport& report, const std::string& entry) {
  EntrantAnswer answer;
  const auto& pool = report.sealedPool;
  const std::string person = EntryKey(entry);
  for (std::size_t i = 0; i < pool.size(); ++i)
    if (EntryKey(pool[i]) == person) answer.positions.push_back(i);
  if (!answer.InList()) {
    for (const auto& e : pool)
      if (!entry.empty() && Norm(e).find(Norm(entry)) != std::string::npos && answer.similar.size() < kSimilarShown)
        answer.similar.push_back(e);
    return answer;
  }
  for (const auto& b : report.standing)
    for (std::size_t i = 0; i < b.entries.size(); ++i) {
      if (EntryKey(b.entries[i]) != person) continue;
      std::string win = "won " + Shown(b.award);
      if (!b.prize.empty()) win += " (" + Shown(b.prize) + ")";
      win += " in batch " + std::to_string(b.index) + " at " + b.time;
      if (b.abandoned[i]) win += ", and gave the prize up";
      answer.wins.push_back(win);
    }
  return answer;
}

std::vector<std::string> EntrantLines(const VerifyReport& report, const std::string& entry,
                                      const EntrantAnswer& answer) {
  std::vector<std::string> lines;
  const std::string total = std::to_string(report.sealedPool.size());
  if (!answer.InList()) {
    lines.push_back("NOT IN THE LIST: " + Shown(entry) + " is no entry of the sealed list of " + total + " entries");
    for (const auto& e : answer.similar) lines.push_back("  an entry that contains it: " + Shown(e));
    return lines;
  }
  std::string where = "entry " + std::to_string(answer.positions.front() + 1);
  if (answer.positions.size() > 1) {
    where = "entries ";
    for (std::size_t i = 0; i < answer.positions.size(); ++i)
      where += (i ? ", " : "") + std::to_string(answer.positions[i] + 1);
    where += ": " + std::to_string(answer.positions.size()) + " tickets";
  }
  lines.push_back("IN THE LIST: " + Shown(entry) + " is in the sealed list of " + total + " entries (" + where + ")");
  if (answer.wins.empty()) lines.push_back("  won nothing in this draw");
  for (const auto& w : answer.wins) lines.push_back("  " + w);
  return lines;
}

ProofVerdict CheckProof(const std::string& proofText, const std::string& sealGiven, const std::string& entryGiven) {
  ProofVerdict verdict;
  QJsonParseError error;
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray(proofText.data(), static_cast<qsizetype>(proofText.size())), &error);
  const QJsonObject o = doc.object();
  const auto seal = ParseReceipt(Utf8(o.value(QStringLiteral("seal_line")).toString()));
  if (error.error != QJsonParseError::NoError || o.value(QStringLiteral("kavrel_proof")).toInt() != 1 || !seal ||
      seal->kind != ReceiptKind::Seal || seal->format < 2) {
    verdict.line = "CANNOT VERIFY: this is not a proof kavrel-verify wrote";
    return verdict;
  }
  MerkleProof proof;
  proof.index = static_cast<std::size_t>(o.value(QStringLiteral("index")).toInteger(-1));
  proof.size = static_cast<std::size_t>(o.value(QStringLiteral("size")).toInteger(-1));
  for (const auto& h : o.value(QStringLiteral("path")).toArray()) proof.path.push_back(h.toString().toStdString());
  const std::string shownEntry = FromQt(o.value(QStringLiteral("entry")).toString());
  const bool masked = o.value(QStringLiteral("masked")).toBool();
  const std::string entry = entryGiven.empty() ? shownEntry : entryGiven;
  const QString given = QString::fromStdString(sealGiven).trimmed().toLower();
  if (given.isEmpty()) {
    verdict.line =
        "CANNOT VERIFY: a proof holds only when its seal is the one shown before the draw: give that seal (or the "
        "draw's folder) after the proof file";
    return verdict;
  }
  verdict.status = 1;
  if (given.size() < 16 || !QString::fromStdString(seal->seal).startsWith(given)) {
    verdict.line = "MISMATCH: the proof's list was sealed as " + ShortSeal(seal->seal) + ", not as the seal given (" +
                   given.toStdString() + ")";
  } else if (SealOf(*seal) != seal->seal) {
    verdict.line = "MISMATCH: the seal line in the proof was edited: its fields do not give its seal";
  } else if (masked && entryGiven.empty()) {
    // The phone pages mask every answer about a person: the path leads from the full entry only.
    verdict.status = 3;
    verdict.line = "CANNOT VERIFY: the proof shows the entry masked as " + Shown(shownEntry) +
                   "; give the entry in full, as the list holds it: --entry TEXT";
  } else if (static_cast<long long>(proof.size) != seal->poolSize || !ProofHolds(entry, proof, seal->merkleRoot)) {
    verdict.line =
        "MISMATCH: the proof does not lead from " + Shown(entry) + " to the list sealed as " + ShortSeal(seal->seal);
  } else {
    verdict.status = 0;
    verdict.line = "OK: " + Shown(entry) + " is entry " + std::to_string(proof.index + 1) + " of the " +
                   std::to_string(proof.size) + " in the list sealed as " + ShortSeal(seal->seal) + ", the seal given";
  }
  return verdict;
}

}  // namespace kavrel
