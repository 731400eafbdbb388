#pragma once

#include <QDialog>
#include <optional>

#include "engine/start_from.h"

class QComboBox;

namespace kavrel {

struct DrawState;
class Prompter;

// "从指定奖项抽": the widgets of the start-from choice. What the choice means for the draw is the
// engine's StartFromChoice; the window only shows it. The caller shows the ready state afterwards,
// whichever way the window was closed.
class StartFromWindow : public QDialog {
  Q_OBJECT

 public:
  StartFromWindow(const DrawState& state, Prompter& prompter, QWidget* parent = nullptr);

  QComboBox* combo() const { return combo_; }
  void Confirm();  // the OK button 按钮_确定
  // The line chosen with OK (its plan position; 0: none); nullopt while none was confirmed.
  std::optional<int> Chosen() const { return chosen_; }

 private:
  Prompter& prompter_;
  std::optional<int> chosen_;
  StartFromChoice choice_;
  QComboBox* combo_;
};

}  // namespace kavrel
