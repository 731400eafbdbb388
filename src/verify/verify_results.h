#pragma once

#include <optional>
#include <string>
#include <vector>

#include "storage/local_date_time.h"
#include "verify/draw_verifier.h"

namespace kavrel {

// A receipt's time ("2026-12-09T20:00:00"); nullopt when it is not one.
std::optional<LocalDateTime> ReceiptTime(const std::string& receiptTime);

// What the result files hold beside the batches the replay left standing.
struct ResultFilesCheck {
  std::optional<std::string> problem;  // the first difference (UTF-8)
  // Winners beyond the replayed ones (as written, GB18030), and whether they are exactly one more
  // batch that both files agree about (its award in `beyondAward`).
  std::vector<std::string> beyond;
  bool oneMore = false;
  std::string beyondAward;
};

// Holds config\result.dat and result.txt to the batches the replay left standing (entries already
// normalised as the log holds them): awards, prizes and winners in order, and no text in result.dat
// its lines do not account for. With `expectedText` (the result.txt the receipts give, normalised),
// result.txt must be that text byte for byte, or that text followed by the batches beyond; with
// `checkTimes` each block's time must be its receipt's.
ResultFilesCheck CompareResultFiles(const DrawEvidence& evidence, const std::vector<VerifiedBatch>& standing,
                                    const std::string* expectedText, bool checkTimes);

}  // namespace kavrel
