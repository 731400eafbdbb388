#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "engine/ports/prompter.h"
#include "engine/random_source.h"
#include "lists/list_table.h"
#include "lists/list_tools.h"
#include "lists/work_runner.h"
#include "lists/workbook/workbook.h"

namespace kavrel {

class Clock;
class ProgramDir;
class Prompter;

// What the list editor needs from the program: where the files are, who answers questions, the
// clock for the shuffle's seed, whether a draw is under way (a save then asks to restart it) and the
// search that lives for the whole run.
struct ListEditorContext {
  const ProgramDir& dir;
  Prompter& prompter;
  const Clock& clock;
  bool drawUnderWay;  // a batch has been recorded since the last reset (DrawState::drawStarted)
  FindState& find;
};

// The list editor's commands without the window: the table, its questions and reports, the save,
// and the config\imdata.dat snapshot. The window forwards menu items here and shows the result.
class ListEditor {
 public:
  ListEditor(ListEditorContext context, WorkRunner& runner);

  ListTable& Table() { return table_; }
  Prompter& Asker() { return ctx_.prompter; }
  const ProgramDir& Dir() const { return ctx_.dir; }
  const ListTable& Table() const { return table_; }
  bool ListChanged() const { return listChanged_; }
  // A save completed after the operator agreed to start the draw under way over: the caller resets
  // the draw from the new list once the window has closed.
  bool RestartRequested() const { return restartRequested_; }
  bool AutoDedupe() const { return autoDedupe_; }
  void SetAutoDedupe(bool on) { autoDedupe_ = on; }
  std::string CountLine() const { return CountLineText(table_.DataRowCount()); }

  // Loads config\imdata.dat; without one the list the draw uses (config\set.dat) is shown. A
  // damaged or newer file is said once (the draw's list is shown instead); a table saved with
  // another list than the one on disk lets the operator choose which to show.
  void Open();
  // Open showed the draw's list instead of a saved table (its columns have no widths of their own).
  bool ShowsDrawList() const { return showsDrawList_; }

  // "清除全部名单(C)": asks first; the snapshot is written only by a save.
  void ClearAllAsked();
  // "导入TXT(T)": the file picker, then the import; the table stays as it was when the picker is
  // cancelled or the file cannot be read or is not text. True when the table was filled.
  bool ImportText();
  bool ImportTextFile(const std::string& gbPath);
  // "导入Excel(E)": the reminder, the file dialog, the sheet box, then the read on the runner
  // (`progress` counts up, `cancel` stops it), the outcome reported. The table and the snapshot stay
  // as they were unless the whole sheet was read. True when the table was filled.
  bool ImportWorkbook(const workbook::ProgressFn& progress = {}, const std::atomic<bool>* cancel = nullptr);
  // A read sheet into the table: header cells and data rows (GB18030) in columns 1…, row numbers in
  // column 0, formatted as a workbook import is; the list is marked changed.
  void ImportSheet(std::vector<std::string> header, std::vector<std::vector<std::string>> rows);
  // "生成有序号码(L)": true when numbers were generated (the generator window then closes).
  bool Generate(const GeneratorInput& input);
  void PadEqualLength();
  void PadTwoCharNames();
  void Shuffle();
  void DeleteBlankRows();
  void DeleteDuplicateRows();
  // "查找(F)" / "查找下一个(N)": the row for the cursor (column 1) when found.
  std::optional<int> Find();

  // SaveParticipantList: true when both files were written.
  bool Save();
  // The close questions: true when the window may close.
  bool CloseRequested();

  // The edit guard around the table's own cell editor. BeginCellEdit is false for cells that are
  // not edited (header, row numbers, outside the table).
  bool BeginCellEdit(int row, int column);
  void EndCellEdit(int row, int column);

  // Edit commands on a rectangle of cells, or on the cursor's row.
  std::string Copy(int row0, int col0, int row1, int col1) const;
  void Cut(int row0, int col0, int row1, int col1);
  void Paste(int row, int column, const std::string& gbText);
  bool DeleteRowAsked(int row);

 private:
  void Message(const char* text, const char* caption, Icon icon) const;
  void MarkChanged() { listChanged_ = true; }
  std::optional<std::vector<int>> AskDisplayColumns();
  std::string ColumnGuide() const;
  // The duplicate rows listed and the removal offered before a save; false when the save is off.
  bool OfferDuplicateRemoval();
  // Saving a list without a single entry over a list that has some: false when declined.
  bool ConfirmEmptyList();
  // The table becomes the list the draw uses (config\set.dat, one column); false when there is none.
  bool ShowDrawList();
  // A table whose link names another set.dat than the one on disk: the operator picks which to show.
  void CheckLinkToDrawList(const std::string& link);
  bool ReplaceDashes(const std::vector<int>& columns);
  int RemoveDuplicatesReported();

  ListEditorContext ctx_;
  WorkRunner& runner_;
  RandomSource random_;
  ListTable table_;
  bool listChanged_ = false;
  bool restartRequested_ = false;
  bool autoDedupe_ = true;
  bool showsDrawList_ = false;
  struct EditMemory {
    int row = -1;
    int column = -1;
    std::string text;
  } edit_;
};

}  // namespace kavrel
