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

// The event seal of the first receipts (format 1): SHA-256 over the pool's and the plan's list hashes.
std::string EventSeal(const std::string& poolSha256, const std::string& planSha256);

// How the seal is shown to the audience: its first 16 hexadecimal digits.
std::string ShortSeal(const std::string& seal);

enum class ReceiptKind { Seal, Batch, Undo, Abandon, Supplement, PrizeChange, Audience, Rule, Close, Reopen };
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
  // 1: the first receipts (each batch records the generator state its pick started from);
  // 2: committed randomness (a batch's pick follows from the sealed draw key, revealed at the close).
  int format = 1;
  std::string seal;
  std::string poolSha256;  // also: the pool at the start of a batch's roll (format 1)
  std::string planSha256;
  std::vector<std::string> plan;
  long long poolSize = 0;  // seal and batch
  // Format 2: the program's version, a fresh nonce (hexadecimal), SHA-256 of the draw key, the Merkle
  // root of the pool's entries, the extra copies of entries the list held and whether they were kept
  // as extra tickets (or removed), and the repeat rule the draw starts with (`repeatAllowed`).
  std::string version;
  std::string nonce;
  std::string keySha256;
  std::string merkleRoot;
  long long duplicates = 0;
  bool duplicatesKept = false;
  // Format 2, only when the draw was among those signed in: the sealed list is the entries of the list
  // present in config\signin.dat when the seal was fixed, `presentCount` of them (extra copies included).
  // Absent from every seal made without that choice, so those stay as they always were.
  bool presentOnly = false;
  long long presentCount = 0;
  // Format 2: the rules the list's lines became entries by (kEntryRules of the participant store when
  // the seal was made). Absent (0) from the seals made before entries were kept to one line each and
  // compared by EntryKey; those are checked by the rules they were made with.
  int entryRules = 0;
  // Format 2: how many seals of this event came before this one without a batch drawn under them
  // (a new seal over a changed list or plan, or the operator's F1), and the last of them. Absent (0)
  // from a first seal.
  int reseal = 0;
  std::string previousSeal;

  // Batch.
  int batchIndex = 0;  // 1-based count of batch receipts in the log
  std::string award;   // also undo and abandon
  std::string prize;
  int batchSize = 0;
  int groupFirst = 0;  // the pool positions the pick drew from
  int groupLast = 0;
  bool repeatAllowed = false;        // also seal and rule (format 2)
  std::uint32_t generatorState = 0;  // format 1: the generator's state when the final tick began picking
  std::vector<ReceiptWinner> winners;
  // Format 2: how often a batch of this index was undone before, and the plan line it was drawn from
  // with its 1-based position in the plan at the stop, whether a start-from choice picked it, and the
  // plan's direction (also on abandon and supplement: where the queued lines went).
  int attempt = 0;
  int planPosition = 0;  // also undo: where the line went back
  std::string planLine;  // also undo
  bool startFrom = false;
  bool forwardOrder = true;

  // Undo and abandon: the entries taken back or abandoned, and those put back at the end of the pool
  // in that order.
  std::vector<std::string> entries;
  std::vector<std::string> returned;
  // Abandon (redraw) and supplement: plan lines queued; prize change: the line before and after.
  std::vector<std::string> queued;
  int planIndex = 0;
  std::string lineBefore;
  std::string lineAfter;

  // Audience: the number called out by the audience before the first press, mixed into every batch.
  std::string audienceNumber;
  // Close: the draw key revealed (hexadecimal) and why the draw ended ("finished", "restart",
  // "put_aside").
  std::string drawKey;
  std::string reason;
  // Reopen: a correction after a finished draw's closing line. The closing line made the key public,
  // so what follows is drawn under a fresh key, sealed here by its SHA-256 (`keySha256`) before
  // anything uses it and revealed by the next closing line.
};

// The seal a seal line's fields give (either format); the line is sound when this equals its `seal`.
std::string SealOf(const Receipt& seal);

// The program's version as the build states it.
const char* ProgramVersion();

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
// The same from a log's text.
ReceiptLines ReceiptLinesOf(const std::string& text);

// What the windows and exports print of a draw's log: its seal and the SHA-256 of its last line
// (both empty when there is no log or it does not begin with a seal); `closed` when that last line
// is a closing line, which then makes lastHash the draw's closing hash.
struct ReceiptSummary {
  std::string seal;
  std::string lastHash;
  bool closed = false;
  std::string audienceNumber;
};
ReceiptSummary SummarizeReceipts(const std::filesystem::path& path);

// The text of a log made of these lines.
std::string ReceiptLogText(const std::vector<std::string>& lines);

// Lower-case hexadecimal of raw bytes, and back (nullopt unless the text is hexadecimal, of even length).
std::string HexOf(std::string_view raw);
std::optional<std::string> RawOfHex(std::string_view hex);

// config\receipts-key.dat: the draw key of a draw not yet closed, one line of 64 hexadecimal digits.
// Reading gives the raw key, or nullopt when the file is missing or holds anything else.
bool WriteDrawKey(const std::filesystem::path& path, std::string_view rawKey);
std::optional<std::string> ReadDrawKey(const std::filesystem::path& path);

}  // namespace kavrel
