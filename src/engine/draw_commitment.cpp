// The draw controller's part in committed randomness: the duplicates a fresh pool is sealed with, the
// audience number, and what a resume is told about the receipts it continues.
#include "engine/draw_controller.h"
#include "engine/draw_texts.h"
#include "engine/pool_duplicates.h"
#include "engine/receipt_texts.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

void ReplaceOnce(std::string& text, const std::string& marker, const std::string& with) {
  const std::size_t at = text.find(marker);
  if (at != std::string::npos) text.replace(at, marker.size(), with);
}

// What an operator can read of an entry in a message: a whole line of a list may be long.
std::string Shortened(const std::string& entry) {
  constexpr std::size_t kMax = 40;
  if (entry.size() <= kMax) return entry;
  std::string cut = FromQt(ToQt(entry).left(20));
  return cut + "...";
}

constexpr std::size_t kMaxAudienceDigits = 18;

}  // namespace

DrawController::PoolChoice DrawController::ChooseDuplicates(std::vector<std::string>& pool) {
  PoolChoice choice;
  const Duplicates found = FindDuplicates(pool);
  choice.duplicates = found.extraCopies;
  if (found.extraCopies == 0) return choice;
  // The same list again (a restart, a reload): the operator has answered already.
  const std::string asked = std::to_string(found.extraCopies) + "/" + std::to_string(pool.size()) + "/" + found.first;
  if (asked != duplicatesAsked_) {
    std::string text = Gb(texts::kDuplicatesQuestion);
    ReplaceOnce(text, "%d", std::to_string(found.extraCopies));
    ReplaceOnce(text, "%m", std::to_string(found.entries));
    ReplaceOnce(text, "%s", Shortened(found.first));
    duplicatesKept_ = prompter_.Message(text, Gb(texts::kInfoCaption), Buttons::YesNo, Icon::Question) != Answer::Yes;
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
  }
  std::string shown = Gb(text);
  const std::string n = std::to_string(number);
  ReplaceOnce(shown, "%d", n);
  ReplaceOnce(shown, "%n", std::to_string(found.batchesRecorded));
  ReplaceOnce(shown, "%d", n);
  prompter_.Message(shown, Gb(texts::kResumeCaption), Buttons::Ok, Icon::Warning);
}

}  // namespace kavrel
