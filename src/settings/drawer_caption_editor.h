#pragma once

#include <string>
#include <vector>

#include "engine/ports/prompter.h"
#include "storage/award_store.h"
#include "storage/program_dir.h"

namespace kavrel {

// The drawer captions of the "高级设置" window without widgets: the plan lines the captions refer
// to, the captions in list order, and the rules of adding, changing and saving them. Texts are
// GB18030 bytes.
class DrawerCaptionEditor {
 public:
  DrawerCaptionEditor(const ProgramDir& dir, Prompter& prompter);

  // Reads config\shezhijx.dat and config\person.dat (missing files read as empty).
  void Load();

  // One item per plan line: award name + "第" + batch number + "批"; item i is plan position i + 1.
  std::vector<std::string> BatchItems() const;
  std::size_t PlanSize() const { return plan_.size(); }

  // "欢迎xx(经理)领导抽取" + the award name of plan line index (0-based); empty when out of range.
  std::string DefaultCaption(std::size_t lineIndex) const;

  const std::vector<DrawerCaption>& Captions() const { return captions_; }
  // The list text of a caption: key + "：" + caption.
  static std::string ItemText(const DrawerCaption& caption);

  // Adds the caption for plan line index (0-based). A batch that already has a caption is
  // refused with a message; so is an index outside the plan. Returns true when added.
  bool Add(std::size_t lineIndex, const std::string& caption);
  // The list commands on caption index (0-based); without a selection (out of range) they say so.
  bool Modify(std::size_t index, const std::string& caption);
  bool Remove(std::size_t index);
  void ClearAll() { captions_.clear(); }

  // The combo item (0-based plan line) a caption was added for, or -1 when the plan has no such
  // line any more.
  int LineOfCaption(std::size_t index) const;

  // Writes config\person.dat; a failed write is reported and returns false, so the window stays
  // open with the captions still in it.
  bool Save();

 private:
  void Tell(const char* utf8Text, const char* utf8Caption, Icon icon);

  const ProgramDir& dir_;
  Prompter& prompter_;
  std::vector<PlanLine> plan_;
  std::vector<DrawerCaption> captions_;
};

}  // namespace kavrel
