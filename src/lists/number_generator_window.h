#pragma once

#include <QDialog>
#include <array>

#include "lists/list_tools.h"

class QCheckBox;
class QLineEdit;

namespace kavrel {

class ListEditor;

// "生成号码": prefix, suffix, first and last number and the exclusions; "生成" fills the list and
// closes the window. Closing by the title bar generates nothing.
class NumberGeneratorWindow : public QDialog {
  Q_OBJECT

 public:
  NumberGeneratorWindow(ListEditor& editor, QWidget* parent = nullptr);

  GeneratorInput Input() const;

 private:
  void GeneratePressed();

  ListEditor& editor_;
  QLineEdit* prefix_ = nullptr;
  QLineEdit* suffix_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  QCheckBox* clear_ = nullptr;
  QCheckBox* exclude4_ = nullptr;
  std::array<QCheckBox*, 10> digits_{};
};

}  // namespace kavrel
