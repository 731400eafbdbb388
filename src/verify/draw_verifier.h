#pragma once

#include <filesystem>
#include <string>

namespace kavrel {

// The files one draw is checked from: a program folder (config\receipts.log, config\set.dat,
// config\result.dat, result.txt) or a history folder (the same files side by side, with the list
// the seal covered as receipts-list.dat).
struct DrawEvidence {
  std::filesystem::path receipts;
  std::filesystem::path list;
  std::filesystem::path resultDat;
  std::filesystem::path resultTxt;
  std::string listName;  // how the report names the list file
  std::string resultDatName;
  std::string resultTxtName;
};
DrawEvidence EvidenceIn(const std::filesystem::path& folder);

enum class VerifyOutcome {
  Ok,         // every receipt replays and the result files hold exactly the replayed winners
  Mismatch,   // the first thing that does not follow from the list and the receipts
  Truncated,  // the log's last line was cut short; everything before it verifies
  Unusable,   // no log, or no list to replay it against
};

struct VerifyReport {
  VerifyOutcome outcome = VerifyOutcome::Unusable;
  int line = 0;         // the log line a mismatch was found at (0: in a result file or the list)
  std::string problem;  // what was found (UTF-8), empty when Ok
  int batches = 0;      // batches standing after the replay (undone ones do not count)
  int winners = 0;      // their winners
  std::string seal;     // the full seal (hexadecimal)
};

// Rebuilds the pool from the list, replays every receipt (hashes, chain, the pick from the recorded
// generator state, undo and abandon) and compares the result files with the replay.
VerifyReport VerifyDraw(const DrawEvidence& evidence);

// The one line kavrel-verify prints for a report (UTF-8, no line end), and its exit status.
std::string ReportLine(const VerifyReport& report);
int ExitStatus(const VerifyReport& report);

}  // namespace kavrel
