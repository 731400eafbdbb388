#pragma once

#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <map>

namespace kavrel {

// The scrolling list of the winner show. Its text is composed and measured once; the widget is
// as tall as the whole list and is only moved a pixel per tick. Its rows are rendered into
// picture tiles the first time they come into view, so a tick costs a few pixel copies however
// long the list is, and memory stays bounded (a 2,000-winner list would be a 100 MB picture).
class WinnerShowList : public QWidget {
  Q_OBJECT

 public:
  WinnerShowList(QStringList rows, const QFont& font, int width, int pitch, QWidget* parent);

  int pitch() const { return pitch_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  int cachedTileCount() const { return static_cast<int>(tiles_.size()); }

  static constexpr int kTileHeight = 512;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QPixmap& Tile(int index);
  void DropTilesOutside(const QRect& keep);

  QStringList rows_;
  int pitch_;
  std::map<int, QPixmap> tiles_;
};

}  // namespace kavrel
