#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace kavrel {

// What "公证信息" shows of the draw's receipts. `seal` and `lastHash` are hexadecimal SHA-256 texts;
// an empty seal means no receipts. When `closed`, lastHash is the closing line's hash.
struct NotaryFacts {
  std::string seal;
  std::string lastHash;
  bool closed = false;
  std::string audienceNumber;
  std::string duplicates;  // what the seal says of repeated entries (GB18030), empty when none
};

// "公证信息": the event seal in large type and as a QR code, so that someone in the audience can
// photograph it before the first batch, the audience number, and how to check the draw afterwards.
// Once the draw has ended it shows the closing hash as a second QR code, so that a log cut short
// afterwards no longer matches what the audience photographed. Shows a plain note instead when the
// draw under way keeps no receipts.
class NotaryWindow : public QDialog {
  Q_OBJECT

 public:
  explicit NotaryWindow(const NotaryFacts& facts, QWidget* parent = nullptr);

  QLabel* sealLabel() const { return sealLabel_; }
  QLabel* qrLabel() const { return qrLabel_; }
  QLabel* closingQrLabel() const { return closingQrLabel_; }

 private:
  QLabel* sealLabel_ = nullptr;
  QLabel* qrLabel_ = nullptr;
  QLabel* closingQrLabel_ = nullptr;
};

}  // namespace kavrel
