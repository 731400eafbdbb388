#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kavrel {

// The prize picture of the award (画板_奖品图片), drawn stretched to the element's size and blended
// into the stage: the picture's own backdrop (the colour at its pixel (1, 1)) and the panel's
// background colour are replaced by the stage pixels behind the panel, so a product photo on a plain
// backdrop looks cut out on the festive background.
class PrizePicturePanel : public QWidget {
  Q_OBJECT

 public:
  explicit PrizePicturePanel(QWidget* parent = nullptr);

  // Loads `path`, scales it to the panel and blends it with `behind` (the stage under the panel, as
  // large as the panel). An empty path clears the picture and hides the panel; a file that cannot be
  // read leaves the panel showing only the stage behind it. Returns whether a picture was drawn.
  bool ShowPicture(const QString& path, const QImage& behind);

  // Clears the picture (the panel then paints nothing).
  void ClearPicture();
  const QImage& Picture() const { return picture_; }

  // Layout-edit mode draws a single-line border around the panel.
  void SetEditBorder(bool on);
  bool EditBorder() const { return editBorder_; }

  // The colour treated as the panel's own background when blending.
  static QColor BackgroundColour() { return QColor(216, 233, 236); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  bool editBorder_ = false;
};

// Every pixel of `picture` equal to its colour at (1, 1) or to `background` is replaced by the pixel of
// `behind` at the same place (transparent where `behind` is smaller). Both images are converted to
// 32-bit; the result has the picture's size.
QImage BlendIntoStage(const QImage& picture, const QImage& behind, const QColor& background);

}  // namespace kavrel
