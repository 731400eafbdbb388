#pragma once

#include <QDialog>

#include "engine/abandon.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kavrel {

class Prompter;

// "弃奖": the operator ticks the winners of one award who give up their prize, chooses whether they
// return to the pool and whether a redraw is queued. The window changes nothing itself: closed with
// "弃奖" (accepted) it hands Request() to the stage, which carries it out with the engine's Abandon.
class AbandonWindow : public QDialog {
  Q_OBJECT

 public:
  // `results`: the winners recorded so far, one line per award as the draw keeps them.
  AbandonWindow(const std::vector<ResultLine>& results, Prompter& prompter, QWidget* parent = nullptr);

  AbandonRequest Request() const;

  QComboBox* awards() const { return awards_; }
  QListWidget* winners() const { return winners_; }
  void AbandonPressed();  // 按钮_弃奖

 private:
  void ShowAward(int index);
  void UpdateRedrawFields();
  int TickedCount() const;

  Prompter& prompter_;
  AbandonChoice choice_;
  std::string shownAward_;
  QComboBox* awards_;
  QLineEdit* prizeName_;
  QListWidget* winners_;
  QCheckBox* returnToPool_;
  QCheckBox* redraw_;
  QLineEdit* quota_;
  QLineEdit* batches_;
  QLabel* note_;
};

}  // namespace kavrel
