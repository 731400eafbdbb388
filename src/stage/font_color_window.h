#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPushButton>
#include <functional>
#include <optional>

#include "stage/stage_styler.h"

namespace kavrel {

// A colour picker (颜色选择器_…): a button filled with its colour; a click asks for another colour.
class ColourPicker : public QPushButton {
  Q_OBJECT

 public:
  using Chooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;

  ColourPicker(const QColor& colour, Chooser chooser, QWidget* parent);

  QColor Colour() const { return colour_; }
  // Sets the colour and reports it, as a choice in the colour dialog does.
  void SetColour(const QColor& colour);

 signals:
  void colourChanged(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  Chooser chooser_;
};

// "修改字体及颜色": restyles the stage while it is on screen. Every change reaches the stage at once; there
// is no OK or Cancel, and nothing is stored. The pickers and effect boxes open showing the stage's
// current colours and effects. The stage lays itself out again after the window closes.
class FontColorWindow : public QDialog {
  Q_OBJECT

 public:
  using FontChooser = std::function<std::optional<QFont>(const QFont& current, QWidget* parent)>;

  // The choosers default to the system's font and colour dialogs; tests pass their own.
  FontColorWindow(StageStyler& styler, QWidget* parent = nullptr, FontChooser fontChooser = {},
                  ColourPicker::Chooser colourChooser = {});

 private:
  void ChooseFont(StageElement row);

  StageStyler& styler_;
  FontChooser fontChooser_;
};

}  // namespace kavrel
