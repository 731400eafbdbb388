#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;

// config\receipts.log: one JSON object per line (CR LF), telling the whole story of a draw so that
// anyone can replay it afterwards. Line 1 is the event seal; every later line is a receipt that
// carries the SHA-256 of the line before it (the first receipt carries the seal itself), so a line
// edited, removed or moved breaks the chain. Texts inside are UTF-8 (JSON); the data's GB18030 bytes
// are converted on the way in and out.

// Lower-case hexadecimal SHA-256 of bytes.
std::string Sha256Hex(std::string_view bytes);

// SHA-256 of a list of texts (pool entries, plan lines) in order; each item is length-prefixed so
// that no two different lists hash alike.
std::string ListSha256(const std::vector<std::string>& items);

// The event seal: SHA-256 over the pool's and the plan's list hashes.
std::string EventSeal(const std::string& poolSha256, const std::string& planSha256);

// How the seal is shown to the audience: its first 16 hexadecimal digits.
std::string ShortSeal(const std::string& seal);

enum class ReceiptKind { Seal, Batch, Undo, Abandon, Supplement, PrizeChange };
const char* ReceiptKindName(ReceiptKind kind);

struct ReceiptWinner {
  int position = 0;   // 1-based pool position at the stop
  std::string entry;  // GB18030
};

// One line of the log. Which fields mean something depends on the kind; texts are GB18030.
struct Receipt {
  ReceiptKind kind = ReceiptKind::Batch;
  int seq = 0;       // line number in the log (the seal is 1)
  std::string time;  // "2026-12-09T18:05:09"
  std::string prev;  // SHA-256 of the previous line, or the seal for the first receipt

  // Seal.
  std::string seal;
  std::string poolSha256;  // also: the pool at the start of a batch's roll
  std::string planSha256;
  std::vector<std::string> plan;
  long long poolSize = 0;  // seal and batch

  // Batch.
  int batchIndex = 0;  // 1-based count of batch receipts in the log
  std::string award;   // also undo and abandon
  std::string prize;
  int batchSize = 0;
  int groupFirst = 0;  // the pool positions the pick drew from
  int groupLast = 0;
  bool repeatAllowed = false;
  std::uint32_t generatorState = 0;  // the random generator's state when the final tick began picking
  std::vector<ReceiptWinner> winners;

  // Undo and abandon: the entries taken back or abandoned, and those put back at the end of the pool
  // in that order.
  std::vector<std::string> entries;
  std::vector<std::string> returned;
  // Abandon (redraw) and supplement: plan lines queued; prize change: the line before and after.
  std::vector<std::string> queued;
  int planIndex = 0;
  std::string lineBefore;
  std::string lineAfter;
};

std::string TimeText(const LocalDateTime& when);

// The receipt as one JSON line (no line end), and back. Parsing fails (nullopt) on anything that is
// not a complete object of a known kind.
std::string FormatReceipt(const Receipt& receipt);
std::optional<Receipt> ParseReceipt(std::string_view line);

// The log's lines as stored (line ends removed). `unterminated` tells that the last line had no line
// end: a write that stopped part-way.
struct ReceiptLines {
  bool found = false;
  std::vector<std::string> lines;
  bool unterminated = false;
};
ReceiptLines ReadReceiptLines(const std::filesystem::path& path);

// What the windows and exports print of a draw's log: its seal and the SHA-256 of its last line
// (both empty when there is no log or it does not begin with a seal).
struct ReceiptSummary {
  std::string seal;
  std::string lastHash;
};
ReceiptSummary SummarizeReceipts(const std::filesystem::path& path);

// The text of a log made of these lines.
std::string ReceiptLogText(const std::vector<std::string>& lines);

}  // namespace kavrel
