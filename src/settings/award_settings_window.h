#pragma once

#include <QDialog>
#include <vector>

#include <map>
#include <string>

#include "settings/award_edit_form.h"
#include "settings/award_table_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kavrel {

// "主副标题和奖项设置": the award list, saved at every change, and the stage's title and option
// controls, saved when the window is closed with "确定".
class AwardSettingsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AwardSettingsWindow(AwardSettingsContext context, QWidget* parent = nullptr);

  // Closed with "确定" (the stage then reloads its settings).
  bool Confirmed() const { return confirmed_; }

  const AwardTableModel& Model() const { return model_; }

 public slots:
  // Escape and the title-bar close button end here.
  void reject() override;

 private:
  void BuildControls();
  void LoadTitles();
  TitleOptions Titles() const;
  void ShowRows();
  int SelectedRow() const;
  void SelectRow(int row);
  void UpdateMaskControls();
  void UpdateRowButtons();

  void AddPressed();
  void ModifyPressed();
  void DeletePressed();
  void MoveUpPressed();
  void MoveDownPressed();
  void AdvancedPressed();
  void OkPressed();
  void CancelPressed();
  void EditAward(AwardEditBuffer& buffer);

  AwardSettingsContext ctx_;
  std::map<std::string, std::string> rollStyles_;  // styles chosen in this window, saved with the awards
  std::map<std::string, bool> highlights_;         // the same for the evening's highlight
  AwardTableModel model_;
  bool confirmed_ = false;

  QTreeWidget* awards_ = nullptr;
  QLineEdit* mainTitle_ = nullptr;
  QCheckBox* mainTitleCentred_ = nullptr;
  QLineEdit* subTitle_ = nullptr;
  QCheckBox* subTitleCentred_ = nullptr;
  QLineEdit* marquee_ = nullptr;
  QComboBox* drawOrder_ = nullptr;
  QCheckBox* noRepeat_ = nullptr;
  QCheckBox* presentOnly_ = nullptr;
  QLineEdit* tickInterval_ = nullptr;
  QCheckBox* maskOn_ = nullptr;
  QLineEdit* maskFrom_ = nullptr;
  QLineEdit* maskTo_ = nullptr;
  std::vector<QWidget*> maskControls_;
  std::vector<QPushButton*> rowButtons_;
  std::vector<QCheckBox*> hideBoxes_;
};

}  // namespace kavrel
