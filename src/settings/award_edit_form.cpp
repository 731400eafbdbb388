#include "settings/award_edit_form.h"

#include "engine/split_quota.h"
#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

namespace {

void ShowNumberError(Prompter& prompter, const char* utf8) {
  prompter.Message(Gb(utf8), Gb("错误提示："), Buttons::Ok, Icon::Error);
}

const char* FieldLabel(AwardEditForm::Field field) {
  switch (field) {
    case AwardEditForm::Field::AwardName:
      return "奖项名称";
    case AwardEditForm::Field::PrizeName:
      return "奖品名称";
    case AwardEditForm::Field::PrizePicture:
      return "奖品图片的路径";
  }
  return "";
}

}  // namespace

// Neither separator byte can occur inside a GB18030 multi-byte character (trail bytes are
// 0x30-0x39 or 0x40 and above), so a plain byte search is exact.
std::optional<char> AwardEditForm::ForbiddenCharacter(Field field, const std::string& text) {
  if (text.find(',') != std::string::npos) return ',';
  if (field != Field::PrizePicture && text.find('-') != std::string::npos) return '-';
  return std::nullopt;
}

bool AwardEditForm::AcceptTyped(Field field, const std::string& text) {
  const auto bad = ForbiddenCharacter(field, text);
  if (!bad) return true;
  prompter_.Message(Gb(FieldLabel(field)) + Gb("不能包含字符“") + std::string(1, *bad) + Gb("”，请改用其他字符！"),
                    Gb("错误提示："), Buttons::Ok, Icon::Warning);
  return false;
}

std::optional<std::vector<long long>> AwardEditForm::Split(const std::string& quota, const std::string& batches) {
  const long long q = LeadingInteger(quota);
  const long long b = LeadingInteger(batches);
  if (q <= 0 || b <= 0) {
    ShowNumberError(prompter_, "输入的数字不符合要求，需要大于0的整数");
    return std::nullopt;
  }
  if (q < b) {
    ShowNumberError(prompter_, "批次不能大于中奖名额");
    return std::nullopt;
  }
  return SplitQuota(q, b);
}

std::optional<std::vector<long long>> AwardEditForm::CheckNumbers(const AwardEditTexts& texts) {
  buffer_.awardName = texts.awardName;
  buffer_.quota = texts.quota;
  buffer_.batchCount = texts.batchCount;
  return Split(texts.quota, texts.batchCount);
}

std::optional<std::vector<long long>> AwardEditForm::Confirm(AwardEditTexts& texts) {
  if (texts.prizeName.empty() || texts.awardName.empty()) {
    prompter_.Message(Gb("奖项名称或奖品名称不能这空！"), Gb("错误提示"), Buttons::Ok, Icon::Warning);
    return std::nullopt;
  }
  // Typed text is refused as it is typed; this catches what reached the boxes another way.
  if (!AcceptTyped(Field::AwardName, texts.awardName) || !AcceptTyped(Field::PrizeName, texts.prizeName) ||
      !AcceptTyped(Field::PrizePicture, texts.prizePicture))
    return std::nullopt;
  if (texts.quota.empty()) texts.quota = "1";
  if (texts.batchCount.empty()) texts.batchCount = "1";
  auto sizes = Split(texts.quota, texts.batchCount);
  if (!sizes) return std::nullopt;
  buffer_.awardName = texts.awardName;
  // Stored as plain decimals, so "007" does not reach the award file.
  texts.quota = std::to_string(LeadingInteger(texts.quota));
  texts.batchCount = std::to_string(LeadingInteger(texts.batchCount));
  buffer_.quota = texts.quota;
  buffer_.batchCount = texts.batchCount;
  buffer_.prizeName = texts.prizeName;
  buffer_.prizePicture = texts.prizePicture;
  buffer_.batchDetails = BatchDetails(*sizes);
  buffer_.confirmed = true;
  return sizes;
}

AwardEditTexts AwardEditForm::InitialTexts() const {
  if (buffer_.mode == AwardEditBuffer::Mode::Add) return {};
  return {buffer_.awardName, buffer_.quota, buffer_.batchCount, buffer_.prizeName, buffer_.prizePicture};
}

}  // namespace kavrel
