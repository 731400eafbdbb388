#pragma once

#include <QDialog>

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
  StartFromWindow(DrawState& state, Prompter& prompter, QWidget* parent = nullptr);

  QComboBox* combo() const { return combo_; }
  void Confirm();  // the OK button 按钮_确定

 private:
  DrawState& state_;
  Prompter& prompter_;
  StartFromChoice choice_;
  QComboBox* combo_;
};

}  // namespace kavrel
