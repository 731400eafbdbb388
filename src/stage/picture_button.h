#pragma once

#include <QAbstractButton>

class QPainter;

namespace kavrel {

// The stage's start and stop buttons (超级按钮_…): the built-in glossy red face with a gold rim and a
// highlight band (drawn in vector form when the resources are missing), its caption centred on it, lighter under the
// mouse and darker while pressed. It never takes the keyboard focus: the space bar belongs to the start/stop
// key, not to a focused button.
class PictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit PictureButton(const QString& caption, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void PaintCaption(QPainter& painter, const QRectF& area) const;

  bool hovered_ = false;
};

}  // namespace kavrel
