#include "settings/award_table_model.h"

#include <utility>

#include "engine/draw_texts.h"
#include "storage/codec.h"
#include "storage/participant_store.h"

namespace kavrel {

namespace {

void ShowWriteFailure(Prompter& prompter) {
  prompter.Message(Gb("奖项设置保存失败，请检查程序文件夹的config目录是否可以写入！"), Gb("错误提示："), Buttons::Ok,
                   Icon::Error);
}

}  // namespace

AwardTableModel::AwardTableModel(AwardSettingsContext context) : ctx_(context) {}

void AwardTableModel::Load() {
  rows_ = LoadAwardTable(ctx_.dir);
  saveError_ = false;
}

void AwardTableModel::Add(const AwardRow& row) {
  rows_.push_back(row);
  Save();
}

void AwardTableModel::Modify(std::size_t index, const AwardRow& row) {
  if (index >= rows_.size()) return;
  rows_[index] = row;
  Save();
}

void AwardTableModel::Delete(std::size_t index) {
  if (index >= rows_.size()) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  Save();
}

bool AwardTableModel::MoveUp(std::size_t index) {
  if (index == 0 || index >= rows_.size()) return false;
  std::swap(rows_[index], rows_[index - 1]);
  Save();
  return true;
}

bool AwardTableModel::MoveDown(std::size_t index) {
  if (index + 1 >= rows_.size()) return false;
  std::swap(rows_[index], rows_[index + 1]);
  Save();
  return true;
}

bool AwardTableModel::Save() {
  saveError_ = false;
  ctx_.dir.EnsureConfigDir();
  const SaveAwardResult result = SaveAwardTable(ctx_.dir, ctx_.settings, rows_);
  switch (result.status) {
    case SaveAwardResult::Status::InvalidRow: {
      ctx_.prompter.Message(Gb("第") + std::to_string(result.invalidRow) + Gb("行的奖项设定有误，将自动删除此行！"),
                            Gb("错误提示："), Buttons::Ok, Icon::Error);
      const auto at = static_cast<std::size_t>(result.invalidRow - 1);
      if (at < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
      saveError_ = true;
      return false;
    }
    case SaveAwardResult::Status::WriteFailed:
      // The rows stay in the list; "确定" and "取消" try the save again.
      ShowWriteFailure(ctx_.prompter);
      saveError_ = true;
      return false;
    case SaveAwardResult::Status::Ok:
      break;
  }
  ctx_.options.totalQuota = result.quotaSum;
  BuildBatchPlan();
  return !saveError_;
}

void AwardTableModel::BuildBatchPlan() {
  if (DrawGoesOn() && ctx_.prompter.Message(Gb(texts::kRestartQuestion), Gb("提示信息："), Buttons::OkCancel,
                                            Icon::Question) == Answer::Ok)
    restartRequested_ = true;
  // The plan file always follows the table, whatever the answer: a stale plan would make the
  // next restart draw deleted awards and skip new ones. Cancel only keeps the running draw's
  // plan, which lives in memory.
  if (!WriteBatchPlan(ctx_.dir, rows_, ctx_.options.forwardOrder)) {
    ShowWriteFailure(ctx_.prompter);
    saveError_ = true;
  }
}

void AwardTableModel::SetDrawOrder(int index) {
  ctx_.options.forwardOrder = index == 0;
  // After a failed save the files lag behind the list; saving the list brings both up to date.
  if (saveError_)
    Save();
  else
    BuildBatchPlan();
  ctx_.settings.WriteInt(TitleSection(), DrawOrderKey(), index);
}

bool AwardTableModel::QuotaExceedsList() const {
  if (DrawGoesOn()) return false;
  // The participants the draw will start with once the window closes (it resets from set.dat).
  // With no list yet there is nothing to compare: the draw itself asks for a list first.
  const auto entries = LoadPool(ctx_.dir);
  if (!entries) return false;
  return ctx_.options.totalQuota > 0 && static_cast<std::size_t>(ctx_.options.totalQuota) > entries->size();
}

bool AwardTableModel::CloseWithOk(const TitleOptions& titles) {
  if (saveError_) Save();
  if (!SaveTitleOptions(ctx_.settings, titles))
    ctx_.prompter.Message(Gb("标题设置保存失败，请检查程序文件夹的config目录是否可以写入！"), Gb("错误提示："),
                          Buttons::Ok, Icon::Error);
  // The pool of a draw under way was sealed with it; the choice is for the next fresh draw.
  if (titles.presentOnly != ctx_.options.presentOnly && DrawGoesOn())
    ctx_.prompter.Message(Gb("“只抽已签到人员”的更改从下一场抽奖起生效：本场抽奖的名单在开始时已经封存。"
                             "要现在生效，请按F1重新开始抽奖。"),
                          Gb("提示信息："), Buttons::Ok, Icon::Information);
  if (QuotaExceedsList()) {
    ctx_.prompter.Message(Gb("设定中奖名额大于总抽奖人数，请修正！"), Gb("操作提示："), Buttons::Ok, Icon::Warning);
    return false;
  }
  return true;
}

bool AwardTableModel::CloseWithCancel() {
  if (saveError_) Save();
  return CloseRequested();
}

bool AwardTableModel::CloseRequested() {
  // Leaving is never refused: the operator may have opened the window only to look, or to
  // change something unrelated, and must be able to get back to the stage.
  if (QuotaExceedsList())
    ctx_.prompter.Message(Gb("设定中奖名额大于总抽奖人数，开始抽奖前请修正！"), Gb("操作提示："), Buttons::Ok,
                          Icon::Warning);
  return true;
}

}  // namespace kavrel
