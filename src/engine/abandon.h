#pragma once

#include <string>
#include <vector>

#include "engine/draw_files.h"
#include "engine/draw_state.h"
#include "engine/ports/prompter.h"
#include "engine/queued_batches.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/stage_settings.h"

namespace kavrel {

// What the abandon window "弃奖" shows, without widgets: one item per readable line of
// config\result.dat, newest first, and the winners of the line an item stands for.
class AbandonChoice {
 public:
  struct Item {
    std::string awardName;
  };
  struct Winner {
    std::string recorded;    // the field as recorded, mark included
    std::string entry;       // the entry without the mark
    bool abandoned = false;  // already marked: shown, but cannot be given up again
  };
  struct Line {
    std::string prizeName;
    std::vector<Winner> winners;
  };

  explicit AbandonChoice(const std::vector<ResultLine>& log);

  const std::vector<Item>& Items() const { return items_; }
  // The newest line of that award (an award drawn again after others has several lines; only the
  // newest can be marked). Empty when no line has that name.
  Line LineOf(const std::string& awardName) const;
  // Lines without an award name or a winner are not offered; how many, and the note saying so
  // (empty when none).
  int SkippedLines() const { return skipped_; }
  std::string SkippedNote() const;

 private:
  std::vector<ResultLine> lines_;  // readable lines, file order
  std::vector<Item> items_;
  int skipped_ = 0;
};

// What the operator asked for when pressing "弃奖".
struct AbandonRequest {
  std::string awardName;             // the line shown
  std::string prizeName;             // 编辑框_奖品名称; empty when no line is shown
  std::vector<std::string> entries;  // the ticked winners in list order, without the mark
  bool returnToPool = true;          // 选择框_弃奖后处理方式
  bool redraw = false;               // 选择框_弃奖后是否补抽
  std::string quotaText;             // 编辑框_补抽名额
  std::string batchText;             // 编辑框_批次
};

// The checks of "弃奖" that keep the window open: a redraw needs a line shown and a usable quota and
// batch count. Tells the operator what is wrong; true when the request can be carried out.
bool CheckAbandonRequest(const AbandonRequest& request, Prompter& prompter);

// Everything one abandon did.
struct AbandonOutcome {
  bool done = false;  // false: refused or the files could not be rewritten; nothing changed
  std::string awardName;
  std::vector<std::string> abandoned;  // entries marked "(已弃奖)" in both result files
  std::vector<std::string> returned;   // entries appended to the pool
  std::vector<QueuedBatch> queued;     // redraw lines, in the order they were made
};

// Carries out "弃奖": marks the winners in config\result.dat and result.txt, returns them to the pool
// (when asked and when winners leave the pool at all) and queues the redraw "补抽" + award as the
// next batches. Only winners actually marked are returned. A failed write is reported and changes
// nothing else (the marks go through `files`, the draw's file seam). The caller shows the ready state when planChanged
// is set and rewrites the resume record either way.
AbandonOutcome Abandon(const AbandonRequest& request, DrawState& state, const DrawOptions& options,
                       const ProgramDir& dir, Prompter& prompter, DrawFiles& files = DrawFiles::Real());

}  // namespace kavrel
