#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "engine/prize_change.h"

class QComboBox;
class QLineEdit;

namespace kavrel {

class PicturePanel;
class ProgramDir;
class Prompter;

// "临时修改奖品名称": a new prize name and picture for one batch not yet drawn. The window changes
// nothing itself: closed with "确定" (accepted) it hands Request() to the stage, which applies it with
// the engine's ChangePrize.
class PrizeChangeWindow : public QDialog {
  Q_OBJECT

 public:
  // `nextPosition`: the plan position of the batch the draw is at, selected at opening.
  PrizeChangeWindow(const ProgramDir& dir, const std::vector<PlanLine>& plan, std::size_t nextPosition,
                    Prompter& prompter, QWidget* parent = nullptr);

  PrizeChangeRequest Request() const;

  QComboBox* batches() const { return batches_; }
  const PicturePanel* preview() const { return preview_; }
  void ConfirmPressed();  // 按钮_确定

 private:
  void ShowBatch(int index);
  void ShowPicture(const std::string& gbPath);
  void PickPicture();

  const ProgramDir& dir_;
  Prompter& prompter_;
  PrizeChangeChoice choice_;
  QComboBox* batches_;
  QLineEdit* prizeName_;
  QLineEdit* prizePicture_;
  PicturePanel* preview_;
};

}  // namespace kavrel
