#include "settings/picture_panel.h"

#include <QPainter>

namespace kavrel {

PicturePanel::PicturePanel(QWidget* parent) : QWidget(parent) {}

void PicturePanel::SetPicture(const QImage& image) {
  image_ = image;
  update();
}

void PicturePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  if (!image_.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), image_);
  }
  p.setPen(palette().mid().color());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace kavrel
