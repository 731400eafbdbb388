#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>

namespace kavrel {

// Relative luminance (0 black to 1 white) and the contrast ratio of two colours (1 to 21), as the
// accessibility guidelines define them; 4.5 is the least for text that must read.
double RelativeLuminance(const QColor& c);
double ContrastRatio(const QColor& a, const QColor& b);
// The mean luminance of a picture (every other pixel of every other row).
double MeanLuminance(const QImage& picture);

// The two colours a caption over the stage picks from: pale gold on the red, deep red on the gold.
inline const QColor kPaleCaption{0xFF, 0xF4, 0xD6};
inline const QColor kDarkCaption{0x3A, 0x00, 0x08};
// The one of the two that stands out more from `behind`.
QColor ContrastingCaptionColour(const QImage& behind);

// The four looks a stage caption can have, as the font and colour dialog offers them.
enum class LabelEffect { Plain = 0, Sunken = 1, Raised = 2, Shadow = 3 };

// A transparent caption on the stage (透明标签_…): paints only its text, in its colour and effect, over
// whatever the stage shows behind it. Light text gets a thin dark-red rim (and dark text a pale one) in
// every effect, so a yellow title stays readable on both the red and the gold end of the background.
class StageLabel : public QLabel {
  Q_OBJECT

 public:
  explicit StageLabel(QWidget* parent = nullptr);

  // A colour of the operator's (or a fixed default): the label keeps it wherever it stands.
  void SetTextColour(const QColor& colour);
  QColor TextColour() const { return colour_; }

  // The default of captions that move over every part of the background: the colour (pale or dark)
  // that stands out most from what is behind the label, chosen again by MatchBackground each time
  // the label moves. A colour set with SetTextColour ends it.
  void SetAutoColour();
  bool AutoColour() const { return autoColour_; }
  void MatchBackground(const QImage& behind);
  // The stage behind the label's row as last captured, for MatchBackground.
  void SetBackdrop(const QRect& row, const QImage& picture) {
    backdropRow_ = row;
    backdrop_ = picture;
  }
  const QRect& BackdropRow() const { return backdropRow_; }
  const QImage& Backdrop() const { return backdrop_; }

  void SetEffect(LabelEffect effect);
  LabelEffect Effect() const { return effect_; }

  // Extra pixels the effects need around the measured caption (rim and shadow offset); fitting a label
  // to its caption adds them so the shadow is not clipped.
  static constexpr int kEffectPadding = 4;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_{255, 255, 0};
  bool autoColour_ = false;
  QRect backdropRow_;
  QImage backdrop_;
  LabelEffect effect_ = LabelEffect::Plain;
};

}  // namespace kavrel
