#include "results/winner_show_list.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace kavrel {

namespace {

const QColor kTextColour(255, 255, 0);
// A dark red shadow keeps the yellow readable on the gold end of the picture too.
const QColor kShadowColour(0x5A, 0x05, 0x0E, 200);

}  // namespace

WinnerShowList::WinnerShowList(QStringList rows, const QFont& font, int width, int pitch, QWidget* parent)
    : QWidget(parent), rows_(std::move(rows)), pitch_(std::max(1, pitch)) {
  setFont(font);
  resize(width, pitch_ * static_cast<int>(rows_.size()));
  setAccessibleName(rows_.join(QLatin1Char('\n')));
}

const QPixmap& WinnerShowList::Tile(int index) {
  auto found = tiles_.find(index);
  if (found != tiles_.end()) return found->second;

  const qreal ratio = devicePixelRatioF();
  const int tileTop = index * kTileHeight;
  const int tileHeight = std::min(kTileHeight, height() - tileTop);
  QPixmap tile(QSize(width(), tileHeight) * ratio);
  tile.setDevicePixelRatio(ratio);
  tile.fill(Qt::transparent);
  QPainter p(&tile);
  p.setFont(font());
  const int first = tileTop / pitch_;
  const int last = std::min(static_cast<int>(rows_.size()) - 1, (tileTop + tileHeight - 1) / pitch_);
  for (int row = first; row <= last; ++row) {
    const QRect line(0, row * pitch_ - tileTop, width(), pitch_);
    const QString& text = rows_[row];
    if (text.isEmpty()) continue;
    p.setPen(kShadowColour);
    p.drawText(line.translated(2, 2), Qt::AlignHCenter | Qt::AlignTop, text);
    p.setPen(kTextColour);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignTop, text);
  }
  return tiles_.emplace(index, std::move(tile)).first->second;
}

void WinnerShowList::DropTilesOutside(const QRect& keep) {
  const int first = std::max(0, keep.top()) / kTileHeight;
  const int last = std::max(0, keep.bottom()) / kTileHeight;
  for (auto it = tiles_.begin(); it != tiles_.end();) {
    if (it->first < first || it->first > last)
      it = tiles_.erase(it);
    else
      ++it;
  }
}

void WinnerShowList::paintEvent(QPaintEvent* event) {
  if (rows_.isEmpty()) return;
  const QRect area = event->rect().intersected(rect());
  if (area.isEmpty()) return;
  DropTilesOutside(visibleRegion().boundingRect().united(area));
  QPainter p(this);
  const int first = area.top() / kTileHeight;
  const int last = area.bottom() / kTileHeight;
  for (int index = first; index <= last; ++index) p.drawPixmap(0, index * kTileHeight, Tile(index));
}

}  // namespace kavrel
