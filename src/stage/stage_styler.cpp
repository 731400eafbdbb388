#include "stage/stage_styler.h"

#include <algorithm>

#include "stage/marquee_label.h"

namespace kavrel {

namespace {

struct RowText {
  const char* stem;
  const char* caption;
};

const RowText kRows[kFontRows.size()] = {
    {"主标题", "修改主标题的字体及颜色："},     {"副标题", "修改副标题的字体及颜色："},
    {"奖项", "修改奖项的字体及颜色："},         {"抽奖人", "修改抽奖人的字体及颜色："},
    {"抽奖状态", "修改抽奖状态的字体及颜色："}, {"奖品名称", "修改奖品名称的字体及颜色："},
};

const RowText& TextOf(StageElement row) {
  const auto at = std::find(kFontRows.begin(), kFontRows.end(), row);
  return kRows[at == kFontRows.end() ? 0 : static_cast<std::size_t>(at - kFontRows.begin())];
}

}  // namespace

const char* RowStem(StageElement row) {
  return TextOf(row).stem;
}

QString RowCaption(StageElement row) {
  return QString::fromUtf8(TextOf(row).caption);
}

QColor RollColourFor(const CustomRollColour& custom, bool pictureMode) {
  if (custom.on && custom.colour.isValid()) return custom.colour;
  return pictureMode ? QColor(0, 0, 255) : QColor(255, 255, 0);
}

StageLabel* StageStyler::Label(StageElement row) const {
  return dynamic_cast<StageLabel*>(ElementWidget(elements_, row));
}

void StageStyler::SetFont(StageElement row, const QFont& font) {
  Label(row)->setFont(font);
}

void StageStyler::SetColour(StageElement row, const QColor& colour) {
  if (colour.isValid()) Label(row)->SetTextColour(colour);
}

void StageStyler::SetEffect(StageElement row, int index) {
  if (index < 0 || index > 3) return;
  Label(row)->SetEffect(static_cast<LabelEffect>(index));
}

void StageStyler::SetMarqueeTextColour(const QColor& colour) {
  if (!colour.isValid()) return;
  QPalette p = elements_.marquee->palette();
  p.setColor(QPalette::WindowText, colour);
  elements_.marquee->setPalette(p);
}

void StageStyler::SetMarqueeBackground(const QColor& colour) {
  if (!colour.isValid()) return;
  QPalette p = elements_.marquee->palette();
  p.setColor(QPalette::Window, colour);
  elements_.marquee->setPalette(p);
}

QColor StageStyler::MarqueeTextColour() const {
  return elements_.marquee->palette().color(QPalette::WindowText);
}

QColor StageStyler::MarqueeBackground() const {
  return elements_.marquee->palette().color(QPalette::Window);
}

void StageStyler::SetRollColour(const QColor& colour) {
  if (!colour.isValid()) return;
  rollColour_.colour = colour;
  rollColour_.on = true;
}

}  // namespace kavrel
