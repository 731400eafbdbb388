#pragma once

#include <QColor>
#include <QLabel>

namespace kavrel {

// The four looks a stage caption can have, as the font and colour dialog offers them.
enum class LabelEffect { Plain = 0, Sunken = 1, Raised = 2, Shadow = 3 };

// A transparent caption on the stage (透明标签_…): paints only its text, in its colour and effect, over
// whatever the stage shows behind it. Light text gets a thin dark-red rim (and dark text a pale one) in
// every effect, so a yellow title stays readable on both the red and the gold end of the background.
class StageLabel : public QLabel {
  Q_OBJECT

 public:
  explicit StageLabel(QWidget* parent = nullptr);

  void SetTextColour(const QColor& colour);
  QColor TextColour() const { return colour_; }

  void SetEffect(LabelEffect effect);
  LabelEffect Effect() const { return effect_; }

  // Extra pixels the effects need around the measured caption (rim and shadow offset); fitting a label
  // to its caption adds them so the shadow is not clipped.
  static constexpr int kEffectPadding = 4;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_{255, 255, 0};
  LabelEffect effect_ = LabelEffect::Plain;
};

}  // namespace kavrel
