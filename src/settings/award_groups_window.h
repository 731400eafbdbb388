#pragma once

#include <QDialog>

#include "settings/award_group_editor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace kavrel {

// "奖项分组设定(设置奖项在哪个范围内产生)": limits the next recorded batch to a row range of the
// pool, shown beside it in a read-only grid. Nothing is written to a file.
class AwardGroupsWindow : public QDialog {
  Q_OBJECT

 public:
  AwardGroupsWindow(const DrawState& state, bool forwardOrder, Prompter& prompter, QWidget* parent = nullptr);

  const AwardGroupEditor& Editor() const { return editor_; }

 private:
  void BuildControls(const std::vector<std::string>& pool);
  void ShowGroup();

  void EnableToggled(bool on);
  void AwardChanged(int index);
  void AddPressed();
  void DeletePressed();
  void OkPressed();

  AwardGroupEditor editor_;
  QCheckBox* enable_ = nullptr;
  QTableView* grid_ = nullptr;
  QComboBox* awards_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* delete_ = nullptr;
  QListWidget* groups_ = nullptr;
};

}  // namespace kavrel
