#pragma once

#include <QGroupBox>
#include <QString>

class QLabel;
class QPushButton;

namespace kavrel {

class PhoneControl;

// The console's view of the phones: the address to open, its QR code, how many signed in and how
// many second sign-ins were refused, and the buttons for the settings and the stage's QR code.
class PhonePanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit PhonePanel(PhoneControl& control, QWidget* parent = nullptr);

 private:
  void Refresh();

  PhoneControl& control_;
  QLabel* url_ = nullptr;
  QLabel* counts_ = nullptr;
  QLabel* code_ = nullptr;
  QPushButton* stageCode_ = nullptr;
  QString shownUrl_;
};

}  // namespace kavrel
