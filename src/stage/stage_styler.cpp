#include "stage/stage_styler.h"

#include "stage/marquee_label.h"

namespace kavrel {

namespace {

struct RowText {
  const char* stem;
  const char* caption;
};

const RowText kRows[kFontRowCount] = {
    {"主标题", "修改主标题的字体及颜色："},     {"副标题", "修改副标题的字体及颜色："},
    {"奖项", "修改奖项的字体及颜色："},         {"抽奖人", "修改抽奖人的字体及颜色："},
    {"抽奖状态", "修改抽奖状态的字体及颜色："}, {"奖品名称", "修改奖品名称的字体及颜色："},
};

}  // namespace

const char* RowStem(FontRow row) {
  return kRows[static_cast<std::size_t>(row)].stem;
}

QString RowCaption(FontRow row) {
  return QString::fromUtf8(kRows[static_cast<std::size_t>(row)].caption);
}

QColor RollColourFor(const CustomRollColour& custom, bool pictureMode) {
  if (custom.on && custom.colour.isValid()) return custom.colour;
  return pictureMode ? QColor(0, 0, 255) : QColor(255, 255, 0);
}

StageLabel* StageStyler::Label(FontRow row) const {
  switch (row) {
    case FontRow::MainTitle:
      return elements_.mainTitle;
    case FontRow::SubTitle:
      return elements_.subtitle;
    case FontRow::Award:
      return elements_.award;
    case FontRow::Drawer:
      return elements_.drawer;
    case FontRow::Status:
      return elements_.status;
    case FontRow::PrizeName:
      return elements_.prizeName;
  }
  return nullptr;
}

void StageStyler::SetFont(FontRow row, const QFont& font) {
  Label(row)->setFont(font);
}

void StageStyler::SetColour(FontRow row, const QColor& colour) {
  if (colour.isValid()) Label(row)->SetTextColour(colour);
}

void StageStyler::SetEffect(FontRow row, int index) {
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
