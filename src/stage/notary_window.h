#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace kavrel {

// "公证信息": the event seal in large type and as a QR code, so that someone in the audience can
// photograph it before the first batch, with the hash of the last receipt and how to check the draw
// afterwards. Shows a plain note instead when the draw under way keeps no receipts.
class NotaryWindow : public QDialog {
  Q_OBJECT

 public:
  // `seal` and `lastHash` are hexadecimal SHA-256 texts; an empty seal means no receipts.
  NotaryWindow(const std::string& seal, const std::string& lastHash, QWidget* parent = nullptr);

  QLabel* sealLabel() const { return sealLabel_; }
  QLabel* qrLabel() const { return qrLabel_; }

 private:
  QLabel* sealLabel_ = nullptr;
  QLabel* qrLabel_ = nullptr;
};

}  // namespace kavrel
