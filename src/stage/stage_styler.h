#pragma once

// What the font and colour window changes on the stage, as operations a test reaches without the window:
// the font, text colour and effect of the six captions, the marquee's two colours and the colour of the
// text rolled in the rolling area.

#include <QColor>
#include <QFont>
#include <QString>
#include <array>
#include <cstddef>

#include "stage/stage_elements.h"
#include "stage/stage_label.h"

namespace kavrel {

// The rows of the window, top to bottom, each acting on one stage caption.
inline constexpr std::array<StageElement, 6> kFontRows = {StageElement::MainTitle,   StageElement::SubTitle,
                                                          StageElement::AwardLabel,  StageElement::DrawerLabel,
                                                          StageElement::StatusLabel, StageElement::PrizeLabel};

// The row's design name stem ("主标题" for 超级按钮_主标题, 颜色选择器_主标题, 组合框_主标题) and its caption
// ("修改主标题的字体及颜色："), UTF-8.
const char* RowStem(StageElement row);
QString RowCaption(StageElement row);

// The colour of the rolled text chosen in the window (CustomRollColour), and whether it is in use
// (CustomRollColourOn). Read when a roll starts, so a roll under way keeps its colour.
struct CustomRollColour {
  QColor colour;
  bool on = false;
};

// The colour a roll starts with: the custom one when in use, else yellow text or blue names over photos.
QColor RollColourFor(const CustomRollColour& custom, bool pictureMode);

class StageStyler {
 public:
  StageStyler(const StageElements& elements, CustomRollColour& rollColour)
      : elements_(elements), rollColour_(rollColour) {}

  StageLabel* Label(StageElement row) const;

  // The whole font as the font dialog reports it (face, size, bold, italic, underline, strike-out).
  void SetFont(StageElement row, const QFont& font);
  void SetColour(StageElement row, const QColor& colour);
  // The effect box's index: 0 plain, 1 sunken, 2 raised, 3 shadow; anything else is ignored.
  void SetEffect(StageElement row, int index);

  void SetMarqueeTextColour(const QColor& colour);
  void SetMarqueeBackground(const QColor& colour);
  QColor MarqueeTextColour() const;
  QColor MarqueeBackground() const;

  void SetRollColour(const QColor& colour);
  // The rolled text's colour as a text-mode roll would start now.
  QColor RollColour() const { return RollColourFor(rollColour_, false); }

 private:
  const StageElements& elements_;
  CustomRollColour& rollColour_;
};

}  // namespace kavrel
