#pragma once

#include <QDialog>
#include <QString>

#include "settings/award_edit_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace kavrel {

class PicturePanel;
class ProgramDir;

// The modal dialog in which one award is added or changed ("增加奖项" / "修改奖项"). It fills
// the buffer and marks it confirmed only when closed with "确认"; it writes no file itself.
class AwardEditWindow : public QDialog {
  Q_OBJECT

 public:
  // Pictures are kept in (and previewed from) `dir`, the data folder.
  AwardEditWindow(const ProgramDir& dir, AwardEditBuffer& buffer, Prompter& prompter, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void GuardTyping(QLineEdit* box, AwardEditForm::Field field);
  void RunNumberCheck();
  void ShowSplit(const std::vector<long long>& sizes);
  void ShowPicture(const std::string& gbPath);
  void PickPicture();
  void ConfirmPressed();
  AwardEditTexts Texts() const;

  const ProgramDir& dir_;
  AwardEditBuffer& buffer_;
  Prompter& prompter_;
  AwardEditForm form_;
  QLineEdit* awardName_ = nullptr;
  QLineEdit* quota_ = nullptr;
  QLineEdit* batches_ = nullptr;
  QLineEdit* prizeName_ = nullptr;
  QLineEdit* prizePicture_ = nullptr;
  QTreeWidget* splitList_ = nullptr;
  PicturePanel* preview_ = nullptr;
  QComboBox* rollStyle_ = nullptr;
  QCheckBox* highlight_ = nullptr;
};

}  // namespace kavrel
