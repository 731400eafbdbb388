// Where kavrel-verify finds a draw's files, and how it tells what it found.
#include "storage/file_step.h"
#include "storage/program_dir.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"
#include "verify/draw_verifier.h"

namespace kavrel {

DrawEvidence EvidenceIn(const std::filesystem::path& folder) {
  DrawEvidence e;
  if (std::filesystem::exists(folder / "config" / "receipts.log") ||
      std::filesystem::exists(folder / "config" / "set.dat")) {
    const auto config = folder / "config";
    e.receipts = config / "receipts.log";
    // The copy of the sealed list is replayed; the list the program draws from must agree with it.
    e.lists = {config / "receipts-list.dat", config / "set.dat"};
    e.listNames = {"config\\receipts-list.dat", "config\\set.dat"};
    e.key = config / "receipts-key.dat";
    e.keyName = "config\\receipts-key.dat";
    e.resultDat = config / "result.dat";
    e.resultDatName = "config\\result.dat";
    e.exitRecord = config / "exit.ini";
    // A correction cut short by a crash: the next start puts its files back as they were before it,
    // so that is the draw to check.
    const ProgramDir dir(folder);
    for (auto [suffix, path] :
         {std::pair{ProgramDir::kReceiptsLog, &e.receipts}, std::pair{ProgramDir::kReceiptsKey, &e.key},
          std::pair{ProgramDir::kResultDat, &e.resultDat}, std::pair{ProgramDir::kExitIni, &e.exitRecord}})
      if (const auto before = FileBeforeInterruptedStep(dir, suffix)) {
        *path = before->path;
        if (before->size) e.lengths[before->path] = *before->size;
      }
    e.resultTxt = folder / "result.txt";
    if (const auto before = FileBeforeInterruptedStep(dir, ProgramDir::kResultTxt)) {
      e.resultTxt = before->path;
      if (before->size) e.lengths[before->path] = *before->size;
    }
    e.resultTxtName = "result.txt";
    // A move into history cut short: the next start finishes it, so a file already moved is read where
    // it went (the draw is whole, half in each place, until then).
    for (const auto& [from, to] : InterruptedMove(dir)) {
      const auto same = [&](const std::filesystem::path& p) {
        return std::filesystem::absolute(p).lexically_normal() == std::filesystem::absolute(from).lexically_normal();
      };
      if (FileExists(from) || !FileExists(to)) continue;
      for (auto* path : {&e.receipts, &e.key, &e.resultDat, &e.resultTxt, &e.exitRecord, &e.lists.front()})
        if (same(*path)) *path = to;
    }
    return e;
  } else {
    e.receipts = folder / "receipts.log";
    e.lists = {folder / "receipts-list.dat"};
    e.listNames = {"receipts-list.dat"};
    e.key = folder / "receipts-key.dat";
    e.keyName = "receipts-key.dat";
    e.resultDat = folder / "result.dat";
    e.resultDatName = "result.dat";
  }
  e.resultTxt = folder / "result.txt";
  e.resultTxtName = "result.txt";
  return e;
}

std::string EvidenceText(const DrawEvidence& evidence, const std::filesystem::path& path) {
  std::string text = ReadTextFile(path);
  if (const auto length = evidence.lengths.find(path); length != evidence.lengths.end() && text.size() > length->second)
    text.resize(static_cast<std::size_t>(length->second));
  return text;
}

ReceiptLines EvidenceReceipts(const DrawEvidence& evidence) {
  if (!FileExists(evidence.receipts)) return {};
  return ReceiptLinesOf(EvidenceText(evidence, evidence.receipts));
}

std::string ReportLine(const VerifyReport& r) {
  std::string counts = std::to_string(r.batches) + " batches, " + std::to_string(r.winners) + " winners";
  if (r.gaveUp > 0) counts += ", " + std::to_string(r.gaveUp) + " gave up";
  counts += ", seal " + ShortSeal(r.seal);
  switch (r.outcome) {
    case VerifyOutcome::Ok:
      return "OK: " + counts + (r.closingHash.empty() ? std::string() : ", closed " + ShortSeal(r.closingHash));
    case VerifyOutcome::NotClosed:
      return "NOT CLOSED: " + counts + " verified to line " + std::to_string(r.line) +
             "; the log has no closing line, so batches after line " + std::to_string(r.line) +
             " may have been cut (compare the closing QR code of the draw)";
    case VerifyOutcome::Truncated:
      return "TRUNCATED: " + r.problem + "; the receipts before it verify: " + counts;
    case VerifyOutcome::Interrupted:
      return "INTERRUPTED, NOT TAMPERED: " + r.problem + "; the receipts before it verify: " + counts;
    case VerifyOutcome::Uncommitted:
      return "UNCOMMITTED: " + counts +
             " replay from older receipts, which prove no commitment: each batch's generator state was recorded "
             "at its stop, not fixed before the draw, so the winners could have been chosen";
    case VerifyOutcome::Mismatch:
      return "MISMATCH" + (r.line > 0 ? " at receipts.log line " + std::to_string(r.line) : std::string()) + ": " +
             r.problem;
    case VerifyOutcome::Unusable:
      break;
  }
  return "CANNOT VERIFY: " + r.problem;
}

std::vector<std::string> ReportDetails(const VerifyReport& r) {
  std::vector<std::string> lines;
  if (r.seal.empty()) return lines;
  lines.push_back("seal:       " + r.seal);
  lines.push_back(
      "sealed:     " + (r.sealTime.empty() ? std::string("at no recorded time") : r.sealTime) + " by " +
      (r.sealVersion.empty() ? std::string("a program that recorded no version") : "kavrel-draw " + r.sealVersion) +
      " (a rehearsal's seal has another time)");
  if (r.seenChecked > 0)
    lines.push_back("seen:       " + std::to_string(r.seenChecked) +
                    " chain hashes seen during the draw are lines of this log: it grew only at its end");
  if (r.reseals > 0)
    lines.push_back("re-sealed:  seal " + std::to_string(r.reseals + 1) +
                    " of this event: the seals before it had nothing drawn under them; the last was " + r.previousSeal);
  if (!r.closingHash.empty()) lines.push_back("closing:    " + r.closingHash + " (" + r.closeReason + ")");
  if (r.format >= 2) {
    lines.push_back("randomness: each batch's winners follow from the draw key sealed by its SHA-256 (key from " +
                    (r.keyFrom.empty() ? std::string("nowhere") : r.keyFrom) +
                    "), the audience number, the batch and the attempt");
    lines.push_back("audience:   " + (r.audienceNumber.empty() ? std::string("no number") : r.audienceNumber));
    std::string list = "list:       " + std::to_string(r.sealedPool.size()) + " entries sealed; ";
    if (r.duplicates == 0)
      list += "no repeated entries";
    else
      list += std::to_string(r.duplicates) + " extra copies of repeated entries " +
              (r.duplicatesKept ? "kept as extra tickets" : "removed");
    lines.push_back(list);
    lines.push_back(r.presentOnly ? "signed in:  only those signed in were drawn from: " +
                                        std::to_string(r.presentCount) + " entries of the list were sealed"
                                  : "signed in:  not required: the whole list was sealed");
  } else if (r.format == 1) {
    lines.push_back(
        "randomness: older receipts: each batch replays from the generator state it recorded, which was not "
        "committed before the draw");
  }
  for (const auto& action : r.actions) lines.push_back("action:     " + action);
  if (r.format >= 2 || !r.actions.empty()) {
    const int corrections = r.abandons + r.supplements + r.prizeChanges;
    lines.push_back("actions:    " + std::to_string(r.undos) + " undos, " + std::to_string(r.groups) +
                    " batches from an award group, " + std::to_string(r.startFroms) + " start-froms, " +
                    std::to_string(corrections) + " corrections (" + std::to_string(r.abandons) + " gave up, " +
                    std::to_string(r.supplements) + " supplementary draws, " + std::to_string(r.prizeChanges) +
                    " prize changes), " + std::to_string(r.ruleChanges) + " repeat rule changes" +
                    (r.reopens ? ", " + std::to_string(r.reopens) + " reopened after the close" : std::string()) +
                    ", " + std::to_string(r.reseals) + " re-seals before the first batch");
  }
  if (!r.unchecked.empty()) {
    std::string names;
    for (const auto& w : r.unchecked) names += (names.empty() ? "" : ", ") + w;
    lines.push_back("unchecked:  " + std::to_string(r.unchecked.size()) +
                    " winners in the result files that no verified receipt accounts for: " + names);
  }
  return lines;
}

int ExitStatus(const VerifyReport& r) {
  switch (r.outcome) {
    case VerifyOutcome::Ok:
      return 0;
    case VerifyOutcome::Mismatch:
      return 1;
    case VerifyOutcome::Truncated:
      return 2;
    case VerifyOutcome::NotClosed:
      return 4;
    case VerifyOutcome::Interrupted:
      return 6;
    case VerifyOutcome::Uncommitted:
      return 7;
    case VerifyOutcome::Unusable:
      break;
  }
  return 3;
}

}  // namespace kavrel
