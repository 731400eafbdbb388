#include "verify/verify_results.h"

#include <algorithm>
#include <cstdio>

#include "storage/result_blocks.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify/verify_text.h"

namespace kavrel {

using verify::Norm;

namespace {

// A receipt's "2026-12-09T20:00:00" as result.txt writes the stop's time.
std::string StopTimeOf(const std::string& receiptTime) {
  LocalDateTime t;
  if (std::sscanf(receiptTime.c_str(), "%d-%d-%dT%d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) !=
      6)
    return {};
  return FormatStopTime(t);
}

// An entry as the result files write it, with the mark of a winner who gave up.
std::string Written(const VerifiedBatch& b, std::size_t i) {
  return b.entries[i] + (b.abandoned[i] ? AbandonedMark() : std::string());
}

}  // namespace

std::optional<std::string> CompareResultFiles(const DrawEvidence& evidence, const std::vector<VerifiedBatch>& standing,
                                              bool allowOneMore, bool checkTimes) {
  const std::string datText = ReadTextFile(evidence.resultDat);
  std::vector<std::pair<std::string, std::string>> recorded;
  for (const auto& line : ParseResultLog(datText))
    for (const auto& w : line.winners) recorded.emplace_back(Norm(line.awardName), Norm(w));
  std::vector<std::pair<std::string, std::string>> replayed;
  for (const auto& b : standing)
    for (std::size_t i = 0; i < b.entries.size(); ++i) replayed.emplace_back(Norm(b.award), Written(b, i));
  const std::size_t common = std::min(recorded.size(), replayed.size());
  for (std::size_t i = 0; i < common; ++i)
    if (recorded[i] != replayed[i])
      return evidence.resultDatName + ": winner " + std::to_string(i + 1) + " is " + verify::Shown(recorded[i].second) +
             " of " + verify::Shown(recorded[i].first) + ", the replay gives " + verify::Shown(replayed[i].second) +
             " of " + verify::Shown(replayed[i].first);
  const bool datExtra = recorded.size() > replayed.size();
  if (recorded.size() < replayed.size())
    return evidence.resultDatName + " lacks winners the replay gives: " + std::to_string(replayed.size()) +
           " replayed, " + std::to_string(recorded.size()) + " recorded";

  const auto blocks = ParseResultBlocks(ReadTextFile(evidence.resultTxt));
  for (std::size_t i = 0; i < std::min(blocks.size(), standing.size()); ++i) {
    const auto& b = standing[i];
    const std::string at = evidence.resultTxtName + ": batch " + std::to_string(i + 1);
    if (Norm(blocks[i].awardName) != Norm(b.award))
      return at + " is of award " + verify::Shown(blocks[i].awardName) + ", the replay gives " + verify::Shown(b.award);
    const auto& got = blocks[i].winners;
    for (std::size_t j = 0; j < std::min(got.size(), b.entries.size()); ++j)
      if (Norm(got[j]) != Written(b, j))
        return at + ", winner " + std::to_string(j + 1) + " is " + verify::Shown(got[j]) + ", the replay gives " +
               verify::Shown(Written(b, j));
    if (got.size() != b.entries.size())
      return at + " has " + std::to_string(got.size()) + " winners, the replay gives " +
             std::to_string(b.entries.size());
    if (checkTimes && Norm(blocks[i].time) != Norm(StopTimeOf(b.time)))
      return at + " was written at " + verify::Shown(blocks[i].time) + ", its receipt says " + b.time;
  }
  if (blocks.size() < standing.size())
    return evidence.resultTxtName + " lacks batches the replay gives: " + std::to_string(standing.size()) +
           " replayed, " + std::to_string(blocks.size()) + " recorded";
  const bool txtExtra = blocks.size() > standing.size();
  // With the last receipt cut short, the result files may hold the one batch it was written for.
  if ((txtExtra || datExtra) && !(allowOneMore && blocks.size() <= standing.size() + 1))
    return "the result files hold winners no receipt accounts for (" + std::to_string(blocks.size()) +
           " batches recorded, " + std::to_string(standing.size()) + " replayed)";
  return std::nullopt;
}

}  // namespace kavrel
