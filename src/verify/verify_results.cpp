#include "verify/verify_results.h"

#include <algorithm>
#include <cstdio>

#include "storage/result_blocks.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify/verify_text.h"

namespace kavrel {

using verify::Norm;
using verify::Shown;

namespace {

// An entry as the result files write it, with the mark of a winner who gave up.
std::string Written(const VerifiedBatch& b, std::size_t i) {
  return b.entries[i] + (b.abandoned[i] ? AbandonedMark() : std::string());
}

struct Won {
  std::string award;
  std::string prize;
  std::string entry;
};

// Where two texts first differ, shown with a few bytes of the file's side.
std::string FirstDifference(const std::string& file, const std::string& expected) {
  const auto at = static_cast<std::size_t>(
      std::mismatch(file.begin(), file.end(), expected.begin(), expected.end()).first - file.begin());
  std::string shown;
  for (char c : file.substr(at, 24))
    shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return "byte " + std::to_string(at + 1) + (at < file.size() ? " (" + Shown(shown) + ")" : std::string(" (its end)"));
}

}  // namespace

std::optional<LocalDateTime> ReceiptTime(const std::string& receiptTime) {
  LocalDateTime t;
  if (std::sscanf(receiptTime.c_str(), "%d-%d-%dT%d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) !=
      6)
    return std::nullopt;
  return t;
}

ResultFilesCheck CompareResultFiles(const DrawEvidence& evidence, const std::vector<VerifiedBatch>& standing,
                                    const std::string* expectedText, bool checkTimes) {
  ResultFilesCheck check;
  auto fail = [&check](std::string problem) {
    check.problem = std::move(problem);
    return check;
  };
  const std::string datText = EvidenceText(evidence, evidence.resultDat);
  const auto datLines = ParseResultLog(datText);
  std::vector<Won> recorded;
  for (const auto& line : datLines)
    for (const auto& w : line.winners) recorded.push_back({Norm(line.awardName), Norm(line.prizeName), Norm(w)});
  std::vector<Won> replayed;
  for (const auto& b : standing)
    for (std::size_t i = 0; i < b.entries.size(); ++i) replayed.push_back({b.award, b.prize, Written(b, i)});
  const std::size_t common = std::min(recorded.size(), replayed.size());
  for (std::size_t i = 0; i < common; ++i) {
    const Won& got = recorded[i];
    const Won& want = replayed[i];
    if (got.award != want.award || got.entry != want.entry)
      return fail(evidence.resultDatName + ": winner " + std::to_string(i + 1) + " is " + Shown(got.entry) + " of " +
                  Shown(got.award) + ", the replay gives " + Shown(want.entry) + " of " + Shown(want.award));
    if (got.prize != want.prize)
      return fail(evidence.resultDatName + ": winner " + std::to_string(i + 1) + " (" + Shown(got.entry) + " of " +
                  Shown(got.award) + ") won the prize " + Shown(got.prize) + ", the receipts give " +
                  Shown(want.prize));
  }
  if (recorded.size() < replayed.size())
    return fail(evidence.resultDatName + " lacks winners the replay gives: " + std::to_string(replayed.size()) +
                " replayed, " + std::to_string(recorded.size()) + " recorded");
  // Bytes its lines do not account for (text after the last winner, a line end too many) were
  // written by hand.
  if (ResultLogText(datLines) != datText)
    return fail(evidence.resultDatName + " holds text that is no part of its result lines, at " +
                FirstDifference(datText, ResultLogText(datLines)));

  const std::string txtText = EvidenceText(evidence, evidence.resultTxt);
  const auto blocks = ParseResultBlocks(txtText);
  for (std::size_t i = 0; i < std::min(blocks.size(), standing.size()); ++i) {
    const auto& b = standing[i];
    const std::string at = evidence.resultTxtName + ": batch " + std::to_string(i + 1);
    if (Norm(blocks[i].awardName) != b.award)
      return fail(at + " is of award " + Shown(blocks[i].awardName) + ", the replay gives " + Shown(b.award));
    const auto& got = blocks[i].winners;
    for (std::size_t j = 0; j < std::min(got.size(), b.entries.size()); ++j)
      if (Norm(got[j]) != Written(b, j))
        return fail(at + ", winner " + std::to_string(j + 1) + " is " + Shown(got[j]) + ", the replay gives " +
                    Shown(Written(b, j)));
    if (got.size() != b.entries.size())
      return fail(at + " has " + std::to_string(got.size()) + " winners, the replay gives " +
                  std::to_string(b.entries.size()));
    const auto time = ReceiptTime(b.time);
    if (checkTimes && (!time || Norm(blocks[i].time) != Norm(FormatStopTime(*time))))
      return fail(at + " was written at " + Shown(blocks[i].time) + ", its receipt says " + b.time);
  }
  if (blocks.size() < standing.size())
    return fail(evidence.resultTxtName + " lacks batches the replay gives: " + std::to_string(standing.size()) +
                " replayed, " + std::to_string(blocks.size()) + " recorded");

  // What lies beyond the replayed batches: one batch, in both files or (a stop cut short between
  // the two files' renames) in one of them, can be a stop the program did not finish recording; the
  // caller decides.
  std::vector<std::string> beyondDat;
  for (std::size_t i = replayed.size(); i < recorded.size(); ++i) beyondDat.push_back(recorded[i].entry);
  std::vector<std::string> beyondTxt;
  for (std::size_t i = standing.size(); i < blocks.size(); ++i)
    for (const auto& w : blocks[i].winners) beyondTxt.push_back(Norm(w));
  const std::size_t txtExtra = blocks.size() - standing.size();
  const bool datOneAward = std::all_of(recorded.begin() + static_cast<std::ptrdiff_t>(replayed.size()), recorded.end(),
                                       [&](const Won& w) { return w.award == recorded[replayed.size()].award; });
  if (txtExtra == 1 && !beyondTxt.empty() && (beyondDat.empty() || beyondDat == beyondTxt) && datOneAward) {
    check.oneMore = true;
    check.beyondAward = Norm(blocks.back().awardName);
  } else if (txtExtra == 0 && !beyondDat.empty() && datOneAward) {
    check.oneMore = true;
    check.beyondAward = recorded[replayed.size()].award;
  }
  if (check.oneMore && !beyondDat.empty() && recorded[replayed.size()].award != check.beyondAward)
    check.oneMore = false;
  check.beyond = beyondDat.empty() ? beyondTxt : beyondDat;
  if (check.beyond.empty() && blocks.size() > standing.size())
    return fail(evidence.resultTxtName + " holds batches no receipt accounts for (" + std::to_string(blocks.size()) +
                " batches recorded, " + std::to_string(standing.size()) + " replayed)");

  // The whole of result.txt is what the receipts give: no edited text between the blocks, no stray bytes.
  if (expectedText) {
    const std::string file = Norm(txtText);
    const bool holds =
        check.beyond.empty() ? file == *expectedText : file.compare(0, expectedText->size(), *expectedText) == 0;
    if (!holds)
      return fail(evidence.resultTxtName + " holds text the receipts do not give, at " +
                  FirstDifference(file, *expectedText));
  }
  return check;
}

}  // namespace kavrel
