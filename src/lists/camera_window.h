#pragma once

#include <QDialog>
#include <QImage>
#include <QTemporaryFile>
#include <memory>

#include "platform/camera.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavrel {

class Clock;
class PhotoList;
class Prompter;
class SoundPort;

// "摄像头拍照": the live picture of a camera, a shot, its size and name, saved into the picture folder as
// a new item of the picture list. The checks and questions of the save belong to PhotoList; this
// window shows the camera and the shot and turns its buttons into those calls.
class CameraWindow : public QDialog {
  Q_OBJECT

 public:
  CameraWindow(PhotoList& list, std::unique_ptr<Camera> camera, Prompter& prompter, SoundPort& sound,
               const Clock& clock, QWidget* parent = nullptr);
  ~CameraWindow() override;

  // The buttons' commands (also reached by tests).
  void InitDevice();
  void Shoot();
  void Save();

  bool ShotPresent() const { return !shot_.isNull(); }
  const QImage& Shot() const { return shot_; }
  // A photo was saved and listed.
  bool Saved() const { return saved_; }

 private:
  void ChangeAspect();
  void SizeFieldLeft(bool widthField);
  void ShowShot();
  void PlayShutter();
  bool Ratio43() const;

  PhotoList& list_;
  std::unique_ptr<Camera> camera_;
  Prompter& prompter_;
  SoundPort& sound_;
  const Clock& clock_;
  bool started_ = false;
  bool saved_ = false;
  QImage shot_;  // the frame as the camera gave it; the panel shows it scaled
  QTemporaryFile shutter_;

  QLabel* live_ = nullptr;
  QLabel* shotPanel_ = nullptr;
  QComboBox* devices_ = nullptr;
  QComboBox* aspect_ = nullptr;
  QLineEdit* name_ = nullptr;
  QCheckBox* autoName_ = nullptr;
  QLineEdit* width_ = nullptr;
  QLineEdit* height_ = nullptr;
};

}  // namespace kavrel
