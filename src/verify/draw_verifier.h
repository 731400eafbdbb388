#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "storage/receipt_log.h"

namespace kavrel {

// The files one draw is checked from: a program folder (config\receipts.log, config\set.dat and the
// copy of the sealed list config\receipts-list.dat, config\receipts-key.dat while the draw is open,
// config\result.dat, result.txt) or a history folder (the same files side by side).
struct DrawEvidence {
  std::filesystem::path receipts;
  std::vector<std::filesystem::path> lists;  // every list that must give the sealed pool; the first is replayed
  std::vector<std::string> listNames;        // how the report names them
  std::filesystem::path key;
  std::filesystem::path resultDat;
  std::filesystem::path resultTxt;
  std::filesystem::path exitRecord;  // the resume record (a program folder only; empty for history/)
  std::string keyName;
  std::string resultDatName;
  std::string resultTxtName;
  // Chain hashes (SHA-256 of a line, or its first 16 hexadecimal digits or more) that someone saw
  // while the draw went on: on a phone's 公证 card, or photographed from the stage. Each must be a
  // line of the log; one that is not means the record was rewritten after it was seen.
  std::vector<std::string> seen;
  // Files a step cut short had appended to (a stop's results and receipt): only their first bytes
  // are the draw as it stood before the step.
  std::map<std::filesystem::path, std::uintmax_t> lengths;
};
DrawEvidence EvidenceIn(const std::filesystem::path& folder);
// A file of the evidence as the draw left it ("" when missing), and the lines of its receipts.
std::string EvidenceText(const DrawEvidence& evidence, const std::filesystem::path& path);
ReceiptLines EvidenceReceipts(const DrawEvidence& evidence);

enum class VerifyOutcome {
  Ok,         // every receipt replays, the result files hold exactly the replayed winners, the log is closed
  Mismatch,   // the first thing that does not follow from the list and the receipts
  Truncated,  // the log's last line was cut short; everything before it verifies
  Unusable,   // no log, no list to replay it against, or (an open draw) no key to replay its picks
  NotClosed,  // everything verifies, but the log has no closing line: lines after its end may have been cut
  // Everything verifies, but the result files hold one batch more, whose receipt the program never
  // wrote: it stopped while recording that batch (the resume record agrees), and its next start takes
  // the batch back. Not a forgery, but that batch's winners are not checked.
  Interrupted,
  // Receipts of the first kind replay, but they prove no commitment: each batch's generator state was
  // recorded at its stop, not fixed before the draw, so the winners could have been chosen.
  Uncommitted,
};

// A batch standing after the replay (undone ones are gone); texts as the log holds them (GB18030).
struct VerifiedBatch {
  int index = 0;
  std::string award;
  std::string prize;
  std::string time;
  std::vector<std::string> entries;
  std::vector<bool> abandoned;
};

struct VerifyReport {
  VerifyOutcome outcome = VerifyOutcome::Unusable;
  int line = 0;         // the log line a mismatch was found at (0: in a result file or the list)
  std::string problem;  // what was found (UTF-8), empty when Ok
  int batches = 0;      // batches standing after the replay (undone ones do not count)
  int winners = 0;      // their winners who kept their prize
  int gaveUp = 0;       // their winners who gave it up
  std::string seal;     // the full seal (hexadecimal)

  int format = 0;           // of the log: 1 recorded generator states, 2 committed draw key
  int lines = 0;            // lines of the log replayed
  std::string closingHash;  // SHA-256 of the closing line, when the log ends with one
  std::string closeReason;
  std::string keyFrom;  // where the draw key came from (format 2): "line K" or the key file's name
  std::string audienceNumber;
  long long duplicates = 0;
  bool duplicatesKept = false;
  bool presentOnly = false;             // the draw was among those signed in: the sealed list is theirs
  long long presentCount = 0;           // how many entries of the list had signed in
  std::vector<std::string> sealedPool;  // the pool the seal covers, in order
  std::vector<VerifiedBatch> standing;
  std::string sealTime;     // when the seal was fixed, as the log holds it
  std::string sealVersion;  // the program that fixed it ("" for the first receipts, which kept none)

  // Every operator action the receipts record that changes who can win, one line each with the batch
  // it took effect at (UTF-8), and how many of each.
  std::vector<std::string> actions;
  int undos = 0;
  int groups = 0;  // batches drawn from a part of the pool only
  int startFroms = 0;
  int abandons = 0;
  int supplements = 0;
  int prizeChanges = 0;
  int ruleChanges = 0;
  int reopens = 0;
  int seenChecked = 0;       // hashes seen during the draw, each found in the log
  int reseals = 0;           // seals of this event before this one with nothing drawn under them
  std::string previousSeal;  // the last of them  // corrections after the draw had finished and closed
  // Winners the result files hold that no verified receipt accounts for (UTF-8, quoted).
  std::vector<std::string> unchecked;
};

// Rebuilds the pool from the list, replays every receipt (hashes, chain, the plan, each batch's pick
// from its committed inputs or recorded generator state, undo and the corrections) and compares the
// result files with the replay.
VerifyReport VerifyDraw(const DrawEvidence& evidence);

// The one line kavrel-verify prints first for a report (UTF-8, no line end), the lines of detail that
// follow it, and its exit status.
std::string ReportLine(const VerifyReport& report);
std::vector<std::string> ReportDetails(const VerifyReport& report);
int ExitStatus(const VerifyReport& report);

}  // namespace kavrel
