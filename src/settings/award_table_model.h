#pragma once

#include <cstddef>
#include <vector>

#include "engine/ports/prompter.h"
#include "settings/title_options.h"
#include "storage/award_store.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"

namespace kavrel {

// What the award settings window works with. The window edits the award files and the titles;
// whether the draw should start over it reports to its caller (RestartRequested) rather than
// changing the draw's state itself.
struct AwardSettingsContext {
  const ProgramDir& dir;
  Settings& settings;
  Prompter& prompter;
  bool drawUnderWay;     // a batch has been recorded since the last reset (DrawState::drawStarted)
  DrawOptions& options;  // forwardOrder and totalQuota change here
};

// The award list of the settings window and its rules, without widgets: every change is saved at
// once to config\jiangx.dat and config\shezhijx.dat, and the window's three ways of closing are
// decided here.
class AwardTableModel {
 public:
  explicit AwardTableModel(AwardSettingsContext context);

  // Reads config\jiangx.dat (a missing file gives an empty list).
  void Load();

  const std::vector<AwardRow>& Rows() const { return rows_; }
  bool SaveErrorMarked() const { return saveError_; }
  // The operator agreed to start the draw under way over: the caller resets the draw once the
  // window has closed. Asked once; later saves in the same window count as part of that restart.
  bool RestartRequested() const { return restartRequested_; }

  // List commands; each saves the list when it changed it. Indexes are 0-based; an index out of
  // range (no selection) does nothing. The moves return whether rows were exchanged.
  void Add(const AwardRow& row);
  void Modify(std::size_t index, const AwardRow& row);
  void Delete(std::size_t index);
  bool MoveUp(std::size_t index);
  bool MoveDown(std::size_t index);

  // The draw-order combo box changed: the plan is rebuilt at once and the index stored at once.
  void SetDrawOrder(int index);

  // Saves the list: a row with an empty name, quota, batch count or detail is removed with a
  // message and nothing is written; otherwise the table, "中奖名额" and the plan are written.
  // Returns true when everything was written.
  bool Save();

  // The three ways of closing; true when the window may close. "确定" writes the titles first.
  bool CloseWithOk(const TitleOptions& titles);
  bool CloseWithCancel();
  bool CloseRequested();

  // The restart of the draw while it is under way is offered on every save; the plan file is
  // always rewritten from the table, the answer only decides whether the draw starts over.
  void BuildBatchPlan();

 private:
  // The total quota exceeds the participants a fresh draw would have. Only checked while no
  // draw is under way: mid-event the remaining pool is smaller than the quotas by design.
  bool QuotaExceedsList() const;
  // A draw goes on after the window closes: one was under way and no restart was agreed to.
  bool DrawGoesOn() const { return ctx_.drawUnderWay && !restartRequested_; }

  AwardSettingsContext ctx_;
  std::vector<AwardRow> rows_;
  bool saveError_ = false;
  bool restartRequested_ = false;
};

}  // namespace kavrel
