// The draw controller's part in committed randomness: the duplicates a fresh pool is sealed with, the
// audience number, and what a resume is told about the receipts it continues.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "engine/draw_controller.h"
#include "engine/draw_texts.h"
#include "engine/pool_duplicates.h"
#include "engine/receipt_texts.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

void ReplaceOnce(std::string& text, const std::string& marker, const std::string& with) {
  const std::size_t at = text.find(marker);
  if (at != std::string::npos) text.replace(at, marker.size(), with);
}

// Fills the markers of a text in the order they stand in it; what one puts in is never searched for
// the next (an entry may hold "%d").
std::string FillInOrder(std::string text, std::initializer_list<std::pair<const char*, std::string>> values) {
  std::size_t from = 0;
  for (const auto& [marker, with] : values) {
    const std::size_t at = text.find(marker, from);
    if (at == std::string::npos) continue;
    text.replace(at, std::strlen(marker), with);
    from = at + with.size();
  }
  return text;
}

// What an operator can read of an entry in a message: a whole line of a list may be long.
std::string Shortened(const std::string& entry) {
  constexpr std::size_t kMax = 40;
  if (entry.size() <= kMax) return entry;
  std::string cut = FromQt(ToQt(entry).left(20));
  return cut + "...";
}

constexpr std::size_t kMaxAudienceDigits = 18;

// A share of the list as the question shows it: "30", "2.5", "0.01".
std::string Percent(long long part, std::size_t whole) {
  const double p = whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, p >= 10 ? "%.0f" : p >= 0.1 ? "%.1f" : "%.2f", p);
  std::string text = buffer;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// The lines of the duplicates question that tell how many tickets the most repeated entries hold.
std::string ShareLines(const Duplicates& found, std::size_t listSize) {
  std::string lines;
  for (const RepeatedEntry& r : found.most) {
    lines += FillInOrder(
        Gb(texts::kDuplicateShare),
        {{"%s", Shortened(r.entry)}, {"%d", std::to_string(r.copies)}, {"%p", Percent(r.copies, listSize)}});
  }
  const long long more = found.entries - static_cast<long long>(found.most.size());
  if (more > 0) {
    std::string line = Gb(texts::kMoreDuplicates);
    ReplaceOnce(line, "%d", std::to_string(more));
    lines += line;
  }
  return lines;
}

}  // namespace

std::string DrawController::SealedDuplicatesNote() const {
  if (!receipts_.Active()) return {};
  const ReceiptLines lines = ReadReceiptLines(dir_.Path(ProgramDir::kReceiptsLog));
  const auto seal = lines.lines.empty() ? std::nullopt : ParseReceipt(lines.lines.front());
  if (!seal || seal->kind != ReceiptKind::Seal || seal->duplicates <= 0) return {};
  if (!seal->duplicatesKept)
    return FillInOrder(Gb(texts::kSealedDuplicatesRemoved), {{"%d", std::to_string(seal->duplicates)}});
  const std::vector<std::string> list =
      PoolEntries(DecodeExternalText(ReadTextFile(dir_.Path(ProgramDir::kSealedList))), nullptr, seal->entryRules);
  const Duplicates found =
      FindDuplicates(list, seal->entryRules >= 1 ? DuplicateRule::SameEntryKey : DuplicateRule::SameBytes);
  return FillInOrder(Gb(texts::kSealedDuplicatesKept), {{"%d", std::to_string(seal->duplicates)}}) +
         ShareLines(found, list.size());
}

DrawController::PoolChoice DrawController::ChooseDuplicates(std::vector<std::string>& pool) {
  PoolChoice choice;
  const Duplicates found = FindDuplicates(pool);
  choice.duplicates = found.extraCopies;
  if (found.extraCopies == 0) return choice;
  // The same list again (a restart, a reload): the operator has answered already.
  const std::string asked = std::to_string(found.extraCopies) + "/" + std::to_string(pool.size()) + "/" + found.first;
  if (asked != duplicatesAsked_) {
    const std::string text = FillInOrder(Gb(texts::kDuplicatesQuestion), {{"%d", std::to_string(found.extraCopies)},
                                                                          {"%m", std::to_string(found.entries)},
                                                                          {"%s", Shortened(found.first)},
                                                                          {"%l", ShareLines(found, pool.size())}});
    // Enter keeps everyone: removing a person takes a deliberate 是.
    duplicatesKept_ = prompter_.MessageWithFocus(text, Gb(texts::kInfoCaption), Buttons::YesNo, Icon::Question,
                                                 Answer::No) != Answer::Yes;
    duplicatesAsked_ = asked;
  }
  choice.kept = duplicatesKept_;
  if (!choice.kept) {
    choice.list = pool;
    RemoveExtraCopies(pool);
  }
  return choice;
}

void DrawController::AudienceNumberPressed() {
  if (state_.Rolling()) return Message("正在抽奖中，请先停止本轮抽奖！", texts::kOperationCaption, Icon::Information);
  if (!receipts_.Active())
    return Message("本场抽奖没有公证记录，无法记录现场随机数。重新开始抽奖后即可在第一轮之前输入。",
                   texts::kOperationCaption, Icon::Information);
  if (!receipts_.AudienceNumber().empty()) {
    prompter_.Message(Gb("本场抽奖的现场随机数已经记录为 ") + receipts_.AudienceNumber() + Gb("，不能再更改。"),
                      Gb(texts::kOperationCaption), Buttons::Ok, Icon::Information);
    return;
  }
  if (!receipts_.AudienceNumberOpen())
    return Message("现场随机数只能在第一轮抽奖之前输入：本场抽奖已经抽出了中奖者。", texts::kOperationCaption,
                   Icon::Information);
  const auto typed = prompter_.InputText(
      Gb("现场随机数"),
      Gb("请输入现场观众喊出的一个数字（1至18位）。它将和公证封印中的抽奖密钥一起决定以后每一轮的中奖者，"
         "并记入公证记录："),
      std::string());
  if (!typed) return;
  std::string digits;
  for (char c : *typed)
    if (c != ' ' && c != '\t') digits += c;
  const bool valid = !digits.empty() && digits.size() <= kMaxAudienceDigits &&
                     digits.find_first_not_of("0123456789") == std::string::npos;
  if (!valid) return Message("现场随机数只能是1至18位数字，请重新输入！", texts::kErrorCaption, Icon::Warning);
  if (prompter_.Message(Gb("现场随机数为 ") + digits + Gb("，确认记录吗？记录后不能更改。"),
                        Gb(texts::kOperationCaption), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;
  if (!receipts_.SetAudienceNumber(digits, clock_.Now()))
    return Message(texts::kReceiptFailed, texts::kErrorCaption, Icon::Warning);
  NotifyChanged();
}

void DrawController::TellReceiptsAtResume(const ResumeReceipts& found) {
  const char* text = nullptr;
  int number = found.batchesRecorded;
  switch (found.state) {
    case LogAtResume::Continued:
      return;
    case LogAtResume::Missing:
      text = texts::kReceiptsMissingAtResume;
      break;
    case LogAtResume::Damaged:
      text = texts::kReceiptsDamagedAtResume;
      number = found.line;
      break;
    case LogAtResume::Cut:
      text = texts::kReceiptsCutAtResume;
      number = found.batchesInLog;
      break;
    case LogAtResume::KeyLost:
      text = texts::kReceiptsKeyLostAtResume;
      break;
    case LogAtResume::OlderKind:
      text = texts::kReceiptsOlderAtResume;
      break;
    case LogAtResume::Foreign:
      text = texts::kReceiptsForeignAtResume;
      break;
    case LogAtResume::ListDamaged:
      text = texts::kSealedListDamagedAtResume;
      break;
  }
  std::string shown = Gb(text);
  const std::string n = std::to_string(number);
  ReplaceOnce(shown, "%d", n);
  ReplaceOnce(shown, "%n", std::to_string(found.batchesRecorded));
  ReplaceOnce(shown, "%d", n);
  ReplaceOnce(shown, "%s", ShortSeal(found.foreignSeal));
  prompter_.Message(shown, Gb(texts::kResumeCaption), Buttons::Ok, Icon::Warning);
}

}  // namespace kavrel
