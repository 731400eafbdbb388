#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "storage/phone_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace kavrel {

// What the phone-interaction window drives; the server itself lives with the operator's side.
struct PhoneControls {
  // Starts (or restarts) the server with `options`: an empty text when it listens, otherwise why not.
  std::function<QString(const PhoneOptions&)> start;
  std::function<void()> stop;
  std::function<bool()> running;
  // The address phones open (empty while stopped) and the live counts line.
  std::function<QString()> url;
  std::function<QString()> counts;
  // Shows or hides the large QR code on the stage.
  std::function<void()> toggleStageCode;
};

// "现场手机互动": the network address (one of this computer's), the port, which field of an entry a
// phone's answer is matched against, the masking of names and phone numbers, and start and stop.
// While it is open it shows the address, its QR code and the sign-in count live.
class PhoneSettingsWindow : public QDialog {
  Q_OBJECT
 public:
  PhoneSettingsWindow(const PhoneOptions& options, const QStringList& addresses, const QStringList& fieldNames,
                      PhoneControls controls, QWidget* parent = nullptr);

  // The options as the controls now say.
  PhoneOptions Options() const;

 private:
  void StartPressed();
  void StopPressed();
  void RefreshStatus();

  PhoneOptions options_;
  PhoneControls controls_;
  QComboBox* address_ = nullptr;
  QSpinBox* port_ = nullptr;
  QComboBox* field_ = nullptr;
  QCheckBox* maskNames_ = nullptr;
  QCheckBox* maskPhones_ = nullptr;
  QCheckBox* typedSignin_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* code_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* stageCode_ = nullptr;
  QTimer* refresh_ = nullptr;
  QString shownUrl_;
};

}  // namespace kavrel
