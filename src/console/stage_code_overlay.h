#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace kavrel {

// The large QR code of the phones' address over the whole stage, so the room can scan it from
// their seats. A click, a key on the stage, or the operator's button again takes it away; the draw
// underneath is untouched.
class StageCodeOverlay : public QWidget {
  Q_OBJECT
 public:
  StageCodeOverlay(const QString& url, QWidget* stage);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString url_;
  QImage code_;
};

}  // namespace kavrel
