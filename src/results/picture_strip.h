#pragma once

#include <QPixmap>
#include <QWidget>

namespace kavrel {

// A panel that shows one horizontal strip of a screen-sized picture, so that the title band and
// the list area of the winner show together look like one picture behind their texts.
class PictureStrip : public QWidget {
  Q_OBJECT

 public:
  PictureStrip(const QPixmap& picture, int sourceTop, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  int sourceTop_;
};

}  // namespace kavrel
