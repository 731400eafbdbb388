#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace kavrel {

class Prompter;

// One choice of the start-from window: its text (GB18030) and its 1-based plan position.
struct StartFromChoice {
  std::string text;
  int planIndex = 0;
};

// "从指定奖项抽": lets the operator pick the plan line the next batch is drawn from. The window only
// asks; the caller applies the outcome to the draw and shows the ready state afterwards.
class StartFromWindow : public QDialog {
  Q_OBJECT

 public:
  enum class Outcome { Cancelled, Cleared, Chosen };

  StartFromWindow(const std::vector<StartFromChoice>& choices, Prompter& prompter, QWidget* parent = nullptr);

  Outcome outcome() const { return outcome_; }
  int chosenIndex() const { return chosenIndex_; }  // valid when Chosen

  QComboBox* combo() const { return combo_; }
  void Confirm();  // the OK button 按钮_确定

 private:
  Prompter& prompter_;
  QComboBox* combo_;
  Outcome outcome_ = Outcome::Cancelled;
  int chosenIndex_ = 0;
};

}  // namespace kavrel
