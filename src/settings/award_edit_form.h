#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/ports/prompter.h"

namespace kavrel {

// The six texts exchanged between the award list and the award edit dialog, plus the dialog's
// mode and outcome. Texts are GB18030 bytes like every data text.
struct AwardEditBuffer {
  enum class Mode { Add = 1, Modify = 2 };
  std::string awardName;
  std::string quota;
  std::string batchCount;
  std::string batchDetails;
  std::string prizeName;
  std::string prizePicture;
  Mode mode = Mode::Add;
  bool confirmed = false;
  std::string rollStyle;  // how the award's batches roll on the stage ("经典", "球体", "卡片墙"; empty: classic)
  bool highlight = false;  // the evening's highlight: every batch of it is revealed slowly on the stage
};

// What the award edit dialog shows, as plain texts, so that its checks run without a screen.
struct AwardEditTexts {
  std::string awardName;
  std::string quota;
  std::string batchCount;
  std::string prizeName;
  std::string prizePicture;
};

// The rules of the award edit dialog: the number check with its messages, the batch split and
// the acceptance on "确认". Messages go through the Prompter.
class AwardEditForm {
 public:
  enum class Field { AwardName, PrizeName, PrizePicture };

  AwardEditForm(Prompter& prompter, AwardEditBuffer& buffer) : prompter_(prompter), buffer_(buffer) {}

  // The separator a text must not hold: "," splits config\jiangx.dat and "-" splits the result
  // file (which stores award and prize names), so either would corrupt a file later. The picture
  // path is only ever stored in the award files, so only "," is refused there.
  static std::optional<char> ForbiddenCharacter(Field field, const std::string& text);

  // Shows the refusal message for text typed into field, when it holds a forbidden character.
  // Returns true when the text is acceptable.
  bool AcceptTyped(Field field, const std::string& text);

  // The number check run when a name or number box loses the focus (only when both number boxes
  // hold text) and when the dialog opens to modify an award. Copies the three texts into the
  // buffer, reports invalid numbers and returns the split, or nullopt (and an empty split list)
  // when the numbers are invalid.
  std::optional<std::vector<long long>> CheckNumbers(const AwardEditTexts& texts);

  // "确认": fills empty number boxes with "1" (texts is updated so the dialog can show it),
  // refuses what would make an unusable award, and on success fills the buffer, marks it
  // confirmed and returns the split that the dialog shows.
  std::optional<std::vector<long long>> Confirm(AwardEditTexts& texts);

  // The texts the dialog starts with: empty when adding, the buffer's when modifying.
  AwardEditTexts InitialTexts() const;

 private:
  std::optional<std::vector<long long>> Split(const std::string& quota, const std::string& batches);

  Prompter& prompter_;
  AwardEditBuffer& buffer_;
};

}  // namespace kavrel
