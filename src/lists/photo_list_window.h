#pragma once

#include <QDialog>

#include "lists/photo_list.h"
#include "platform/camera.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kavrel {

class SoundPort;

// "编辑抽奖名单(图片模式)": the picture list with its preview, aspect and commands, and the camera. The
// window shows the list and forwards its buttons to PhotoList, which saves every change at once.
class PhotoListWindow : public QDialog {
  Q_OBJECT

 public:
  // `cameras` makes the camera of each opening of the camera window (none: the window says no camera
  // was found); the shutter plays through `sound`.
  PhotoListWindow(PhotoListContext context, SoundPort& sound, CameraFactory cameras, QWidget* parent = nullptr);

  PhotoList& List() { return list_; }
  // A change was saved: the caller starts the draw afresh when the window has closed.
  bool DrawRestartWanted() const { return list_.DrawRestartWanted(); }

  // The buttons' commands (also reached by tests).
  void ImportPictures();
  void AddOne();
  void DeleteOne();
  void DeleteAll();
  void OpenCamera();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void ShowList(std::optional<int> select);
  void Preview();
  void ChangeAspect();
  void SetBusy(bool busy);
  std::optional<int> Selected() const;

  PhotoList list_;
  PhotoListContext context_;
  SoundPort& sound_;
  CameraFactory cameras_;
  bool busy_ = false;

  QListWidget* items_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* fileName_ = nullptr;
  QLabel* preview_ = nullptr;
  QComboBox* aspect_ = nullptr;
  QCheckBox* clearFirst_ = nullptr;
  std::vector<QPushButton*> buttons_;
};

}  // namespace kavrel
