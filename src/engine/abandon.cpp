#include "engine/abandon.h"

#include "engine/draw_texts.h"
#include "engine/pick.h"
#include "storage/award_store.h"
#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

AbandonChoice::AbandonChoice(const std::vector<ResultLine>& log) {
  for (const auto& line : log) {
    // A line the files cannot have come from (an edit by hand, a blank line) would show an empty
    // award or nobody to give up; it is left out instead of being offered.
    if (line.awardName.empty() || line.winners.empty()) {
      ++skipped_;
      continue;
    }
    lines_.push_back(line);
  }
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) items_.push_back({it->awardName});
}

AbandonChoice::Line AbandonChoice::LineOf(const std::string& awardName) const {
  Line shown;
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
    if (it->awardName != awardName) continue;
    shown.prizeName = it->prizeName;
    const std::string& mark = AbandonedMark();
    for (const auto& recorded : it->winners) {
      Winner w{recorded, recorded, false};
      if (recorded.ends_with(mark)) {
        w.entry.resize(recorded.size() - mark.size());
        w.abandoned = true;
      }
      shown.winners.push_back(std::move(w));
    }
    break;
  }
  return shown;
}

std::string AbandonChoice::SkippedNote() const {
  if (skipped_ == 0) return {};
  return Gb("中奖结果文件 config\\result.dat 中有") + std::to_string(skipped_) + Gb("行无法读取，未列出。");
}

bool CheckAbandonRequest(const AbandonRequest& request, Prompter& prompter) {
  if (!request.redraw) return true;
  if (request.prizeName.empty() || request.awardName.empty()) {
    prompter.Message(Gb("还未选择弃奖奖项！"), Gb(texts::kInfoCaption), Buttons::Ok, Icon::None);
    return false;
  }
  return CheckQueuedNumbers(request.quotaText, request.batchText, prompter).has_value();
}

AbandonOutcome Abandon(const AbandonRequest& request, DrawState& state, const DrawOptions& options,
                       const ProgramDir& dir, Prompter& prompter, DrawFiles& files) {
  AbandonOutcome outcome;
  outcome.awardName = request.awardName;
  std::vector<long long> sizes;
  if (request.redraw) {
    if (!CheckAbandonRequest(request, prompter)) return outcome;
    sizes = *CheckQueuedNumbers(request.quotaText, request.batchText, prompter);
  }

  if (!request.entries.empty()) {
    const AbandonMarks marks = files.MarkGivenUp(dir, request.awardName, request.entries);
    if (!marks.written) {
      prompter.Message(Gb("中奖结果文件无法改写，弃奖未完成，请检查程序目录是否可写！"), Gb(texts::kErrorCaption),
                       Buttons::Ok, Icon::Error);
      return outcome;
    }
    outcome.abandoned = marks.marked;
  }
  // With repeats allowed a winner never left the pool: adding it again would give it two chances.
  if (request.returnToPool && !options.repeatAllowed) {
    for (const auto& entry : outcome.abandoned) {
      ReturnToPool(state, entry);
      outcome.returned.push_back(entry);
    }
  }

  if (request.redraw) {
    // The redraw shows the award's picture; a redraw of a redraw names no award of the table.
    std::string picture;
    for (const auto& row : LoadAwardTable(dir)) {
      if (row.name == request.awardName) {
        picture = row.prizePicture;
        break;
      }
    }
    const long long quota = LeadingInteger(request.quotaText);
    const int b = static_cast<int>(sizes.size());
    std::vector<QueuedBatch> lines;
    for (int i = 1; i <= b; ++i) {
      QueuedBatch q;
      q.batchNumber = options.forwardOrder ? i : b - i + 1;
      q.size = sizes[static_cast<std::size_t>(q.batchNumber) - 1];  // the smaller batch is numbered last
      q.line =
          QueuedPlanLine(Gb("补抽") + request.awardName, quota, b, q.batchNumber, q.size, request.prizeName, picture);
      lines.push_back(std::move(q));
    }
    outcome.queued = QueueBatches(state, options.forwardOrder, std::move(lines));
  }
  outcome.done = true;
  return outcome;
}

}  // namespace kavrel
