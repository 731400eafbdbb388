#pragma once

#include <QLabel>

namespace kavrel {

// The winner show's title: yellow lines centred and wrapped at the label's width, with a dark
// shadow. Lines are set at 1.1 times the font size rather than at the font's own line height,
// which for the CJK faces is so tall that the title's fourth line would fall below its band.
class TitleLabel : public QLabel {
  Q_OBJECT

 public:
  TitleLabel(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kavrel
