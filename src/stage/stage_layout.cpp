#include "stage/stage_layout.h"

#include <algorithm>

namespace kavrel {
namespace {

using E = StageElement;

// Coordinates are computed in floating point and truncated toward zero, so odd screen widths split
// the same way everywhere.
int Trunc(double v) {
  return static_cast<int>(v);
}

int Centred(int screenWidth, int width) {
  return Trunc((screenWidth - width) / 2.0);
}

}  // namespace

int DrawerTopWithoutControls(int screenHeight, int drawerHeight) {
  return screenHeight - 30 - drawerHeight - 10;
}

StageGeometry DesignGeometry() {
  StageGeometry g;
  g.window = QRect(0, 0, 800, 600);
  g[E::MainTitle] = QRect(0, 32, 0, 0);
  g[E::SubTitle] = QRect(0, 0, 0, 0);
  g[E::AwardLabel] = QRect(0, 0, 0, 0);
  g[E::PrizeLabel] = QRect(QPoint(0, 0), kPrizeNameDesignSize);
  g[E::PrizePicture] = QRect(QPoint(0, 0), kPrizePictureSize);
  g[E::Marquee] = QRect(kMarqueeStartLeft, 552, 0, kMarqueeHeight);
  g[E::StartButton] = QRect(QPoint(0, 0), kButtonSize);
  g[E::StopButton] = QRect(QPoint(0, 0), kButtonSize);
  g[E::MenuBar] = QRect(QPoint(0, 0), kMenuBarSize);
  return g;
}

StageGeometry LayoutStage(const StageGeometry& current, const CaptionSizes& captions, QSize screen) {
  StageGeometry g = current;
  const int sw = screen.width();
  const int sh = screen.height();

  // 1. The window covers the screen.
  g.window = QRect(0, 0, sw, sh);

  // 2. Captions decide the labels' sizes; the marquee keeps its height.
  g[E::MainTitle].setSize(captions.mainTitle);
  g[E::SubTitle].setSize(captions.subtitle);
  g[E::AwardLabel].setSize(captions.award);
  g[E::Marquee].setWidth(captions.marquee.width());
  g[E::StatusLabel].setSize(captions.status);
  g[E::DrawerLabel].setSize(captions.drawer);
  g[E::NumberLabel].setSize(captions.centre);

  // 3, 4. The buttons sit 50 pixels either side of the centre line, 20 pixels above the marquee as it
  // stands before step 9 moves it.
  const int marqueeTop = g[E::Marquee].top();
  QRect& start = g[E::StartButton];
  start.moveTo(Trunc(sw / 2.0 - start.width() - 50), marqueeTop - start.height() - 20);
  QRect& stop = g[E::StopButton];
  stop.moveTo(Trunc(sw / 2.0 + 50), marqueeTop - stop.height() - 20);

  // 5. The menu bar hangs under the main title as it stands before step 6.
  g[E::MenuBar].moveTo(30, g[E::MainTitle].top() + g[E::MainTitle].height());

  // 6-8. Titles and award, centred and stacked from the top.
  QRect& main = g[E::MainTitle];
  main.moveTo(Centred(sw, main.width()), 8);
  QRect& sub = g[E::SubTitle];
  sub.moveTo(Centred(sw, sub.width()), main.top() + main.height());
  QRect& award = g[E::AwardLabel];
  award.moveTo(Centred(sw, award.width()), sub.top() + sub.height());

  // 9. The marquee restarts at its start position along the bottom edge.
  g[E::Marquee].moveTo(kMarqueeStartLeft, sh - 30);

  // 10, 11. Status above the stop button, drawer above the status.
  QRect& status = g[E::StatusLabel];
  status.moveTo(Centred(sw, status.width()), stop.top() - status.height() - 5);
  QRect& drawer = g[E::DrawerLabel];
  drawer.moveTo(Centred(sw, drawer.width()), captions.controlsHidden ? DrawerTopWithoutControls(sh, drawer.height())
                                                                     : status.top() - drawer.height() - 5);

  // 12. The centre caption in the middle of the screen.
  QRect& centre = g[E::NumberLabel];
  centre.moveTo(Centred(sw, centre.width()), Trunc((sh - centre.height()) / 2.0));

  // 13, 14. Prize name and picture at the right edge above the drawer caption; the picture's left edge
  // uses its width before a small screen shrinks it.
  QRect& prizeName = g[E::PrizeLabel];
  prizeName.moveTo(sw - prizeName.width() - 5, drawer.top() - prizeName.height() - 10);
  QRect& picture = g[E::PrizePicture];
  picture.moveTo(sw - picture.width() - 5, prizeName.top() + prizeName.height() + 5);
  if (sh <= 600) picture.setSize(kSmallPrizePictureSize);

  // 15. The rolling area fills the space between the award and the drawer caption.
  const QRect prizeText = captions.prizeName.isEmpty() ? QRect() : prizeName;
  g[E::RollingPanel] = RollingArea(sw, award.top() + award.height(), drawer.top(), prizeText);
  return g;
}

QRect RollingArea(int screenWidth, int awardBottom, int drawerTop, const QRect& prizeName) {
  const QRect area(100, awardBottom + 5, std::max(0, screenWidth - 200), 0);
  int bottom = drawerTop - 5;  // exclusive
  // The prize name sits at the right edge above the drawer caption: a long one reaches in under the
  // area's right part, where the widest rows of winners end.
  if (!prizeName.isEmpty() && prizeName.left() < area.left() + area.width() && prizeName.top() < bottom &&
      prizeName.bottom() > area.top())
    bottom = std::min(bottom, prizeName.top() - 5);
  return QRect(area.topLeft(), QSize(area.width(), std::max(0, bottom - area.top())));
}

TitleFontSizes FitTitleFontSizes(TitleFontSizes sizes, int screenWidth,
                                 const std::function<int(int pointSize)>& mainTitleWidth) {
  auto shrink = [](int& size, int by) { size = std::max(1, size - by); };
  while (sizes.mainTitle > 1 && mainTitleWidth(sizes.mainTitle) > screenWidth - 50) {
    shrink(sizes.mainTitle, 2);
    shrink(sizes.subtitle, 2);
    shrink(sizes.award, 2);
    shrink(sizes.drawer, 1);
    shrink(sizes.status, 1);
    shrink(sizes.prizeName, 1);
  }
  return sizes;
}

PrizeNameFit FitPrizeNameSize(int pointSize, int screenWidth, int drawerRight,
                              const std::function<int(int pointSize)>& widthAt) {
  PrizeNameFit fit;
  fit.pointSize = std::max(1, pointSize);
  for (;;) {
    fit.width = widthAt(fit.pointSize);
    fit.left = screenWidth - fit.width - 5;
    if (fit.left >= drawerRight || fit.pointSize <= 1) break;
    --fit.pointSize;
  }
  return fit;
}

}  // namespace kavrel
