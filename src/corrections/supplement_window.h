#pragma once

#include <QDialog>

#include "engine/supplement.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kavrel {

class ProgramDir;
class Prompter;

// "补奖设定": the operator picks an award of the table (or "其它奖项", an award made up on the spot
// with its own name and prize typed in), the number of extra winners and the number of batches. The window changes
// nothing itself: closed with "确定" (accepted) it hands Request() to the stage, which queues it with the engine's
// Supplement.
class SupplementWindow : public QDialog {
  Q_OBJECT

 public:
  // `currentAward`: the award the draw is at (on screen or announced), selected at opening when the
  // table has it.
  SupplementWindow(const ProgramDir& dir, const std::string& currentAward, Prompter& prompter,
                   QWidget* parent = nullptr);

  SupplementRequest Request() const;

  QComboBox* awards() const { return awards_; }
  void ConfirmPressed();  // 按钮_确定

 private:
  void ShowAward(int index);
  void PickPicture();

  const ProgramDir& dir_;
  Prompter& prompter_;
  SupplementChoice choice_;
  QComboBox* awards_;
  QLabel* customNameLabel_;
  QLineEdit* customName_;
  QLineEdit* prizeName_;
  QLineEdit* prizePicture_;
  QToolButton* pick_;
  QLineEdit* quota_;
  QLineEdit* batches_;
};

}  // namespace kavrel
