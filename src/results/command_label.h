#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace kavrel {

// A word on the winner show that acts as a command when clicked ("返回", "停止音乐"): bold green
// over a white copy one pixel up and to the left, on a dark plate, so it reads on any part of the
// picture.
class CommandLabel : public QWidget {
  Q_OBJECT

 public:
  CommandLabel(const QString& caption, QSize size, QWidget* parent);

  QString caption() const { return caption_; }

  static const QColor kPlateColour;

 signals:
  void activated();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString caption_;
};

}  // namespace kavrel
