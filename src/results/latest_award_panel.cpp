#include "results/latest_award_panel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "results/result_pictures.h"
#include "storage/codec.h"

namespace kavrel {

QFont LatestAwardFont(int pointSize) {
  QFont font(QStringLiteral("微软雅黑"));
  font.setPointSize(pointSize);
  font.setBold(true);
  return font;
}

int QtTextMeasure::LineHeight(int pointSize, const std::string&) const {
  return QFontMetrics(LatestAwardFont(pointSize), device_).height();
}

int QtTextMeasure::Width(int pointSize, const std::string& gbText) const {
  return QFontMetrics(LatestAwardFont(pointSize), device_).horizontalAdvance(ToQt(gbText));
}

LatestAwardPanel::LatestAwardPanel(std::optional<ResultLine> line, QWidget* parent)
    : QWidget(parent), line_(std::move(line)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LatestAwardPanel::resizeEvent(QResizeEvent*) {
  background_ = LoadResultPicture(ResultPicture::LatestAward, size());
  layout_ = {};
  QStringList shown;
  if (line_) {
    layout_ = LayOutLatestAward(*line_, width(), height(), QtTextMeasure(this));
    for (const auto& placed : layout_.texts) shown << ToQt(placed.text);
  }
  setAccessibleName(shown.join(QLatin1Char('\n')));
  update();
}

void LatestAwardPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(rect(), background_);
  if (layout_.texts.empty()) return;
  const QFont font = LatestAwardFont(layout_.pointSize);
  const int ascent = QFontMetrics(font, this).ascent();
  p.setFont(font);
  p.setPen(QColor(0, 0, 255));
  for (const auto& placed : layout_.texts) p.drawText(QPoint(placed.x, placed.y + ascent), ToQt(placed.text));
}

}  // namespace kavrel
