#pragma once

#include <QImage>
#include <QWidget>

namespace kavrel {

// A drawing panel that shows one picture stretched over its whole area (the prize preview).
class PicturePanel : public QWidget {
  Q_OBJECT

 public:
  explicit PicturePanel(QWidget* parent = nullptr);

  void SetPicture(const QImage& image);
  const QImage& Picture() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace kavrel
