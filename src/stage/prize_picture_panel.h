#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QWidget>
#include <deque>

namespace kavrel {

// The prize picture of the award (画板_奖品图片), drawn stretched to the element's size and blended
// into the stage: the picture's own backdrop (the colour at its pixel (1, 1)) and the panel's
// background colour are replaced by the stage pixels behind the panel, so a product photo on a plain
// backdrop looks cut out on the festive background.
class PrizePicturePanel : public QWidget {
  Q_OBJECT

 public:
  explicit PrizePicturePanel(QWidget* parent = nullptr);

  // Shows `path` scaled to the panel and blended with `behind` (the stage under the panel, as large
  // as the panel). The caller never waits: a picture decoded before at this size (and unchanged on
  // disk since) shows at once; any other is decoded in the background while the panel shows only the
  // stage behind it, and appears when it is ready unless another picture was asked for meanwhile. A
  // file that cannot be read leaves the panel showing the stage. An empty path clears the picture and
  // hides the panel.
  void ShowPicture(const QString& path, const QImage& behind);
  // A picture is being decoded for the panel.
  bool Loading() const { return loading_; }

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
  struct Decoded {
    QString path;
    QSize size;
    QDateTime modified;
    qint64 bytes = 0;
    QImage image;
  };
  const Decoded* Cached(const QString& path) const;
  void Compose(const QImage& loaded, const QImage& behind);

  QImage picture_;
  bool editBorder_ = false;
  bool loading_ = false;
  int request_ = 0;            // counts ShowPicture calls: only the latest one's picture is shown
  std::deque<Decoded> cache_;  // newest first: the few prize pictures of an event
};

// Every pixel of `picture` equal to its colour at (1, 1) or to `background` is replaced by the pixel of
// `behind` at the same place (transparent where `behind` is smaller). Both images are converted to
// 32-bit; the result has the picture's size.
QImage BlendIntoStage(const QImage& picture, const QImage& behind, const QColor& background);

}  // namespace kavrel
