#pragma once

#include <QDialog>

#include "settings/drawer_caption_editor.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kavrel {

// "高级设置": the drawer captions shown on the stage before each batch, saved to config\person.dat
// when the window is closed with "确定".
class AdvancedSettingsWindow : public QDialog {
  Q_OBJECT

 public:
  AdvancedSettingsWindow(const ProgramDir& dir, Prompter& prompter, QWidget* parent = nullptr);

  const DrawerCaptionEditor& Editor() const { return editor_; }

 private:
  void BuildControls();
  void ShowCaptions(int select);
  int SelectedCaption() const;

  void BatchChanged(int index);
  void CaptionClicked();
  void AddPressed();
  void ModifyPressed();
  void DeletePressed();
  void ClearAllPressed();
  void OkPressed();

  DrawerCaptionEditor editor_;
  QComboBox* batches_ = nullptr;
  QLineEdit* content_ = nullptr;
  QListWidget* captions_ = nullptr;
  QPushButton* add_ = nullptr;
};

}  // namespace kavrel
