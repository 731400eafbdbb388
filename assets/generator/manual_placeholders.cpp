// Placeholder screenshots for the manual: the pages link to img/*.png from the start, and these stand in
// until real screenshots of the program replace them (same file names).
#include <QLinearGradient>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

QImage PaintManualPlaceholder(QSize size, const QString& caption) {
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient ground(0, 0, 0, H);
  ground.setColorAt(0, kCream);
  ground.setColorAt(1, QColor(0xFB, 0xE7, 0xB8));
  p.fillRect(img.rect(), ground);
  p.setPen(QPen(kGoldDeep, 3, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(12, 12, W - 24, H - 24), 14, 14);
  // A simple screen outline as the picture's sign.
  const QRectF screen(W / 2 - 70, H / 2 - 100, 140, 88);
  p.setPen(QPen(kRedDeep, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawRoundedRect(screen, 8, 8);
  p.drawLine(QPointF(W / 2, screen.bottom()), QPointF(W / 2, screen.bottom() + 18));
  p.drawLine(QPointF(W / 2 - 34, screen.bottom() + 18), QPointF(W / 2 + 34, screen.bottom() + 18));
  PaintSparkle(p, screen.center(), 18, kGold);
  p.setFont(CjkFont(30, true));
  p.setPen(kRedDeep);
  p.drawText(QRectF(0, H / 2 + 20, W, 44), Qt::AlignCenter, caption);
  p.setFont(CjkFont(18, false));
  p.setPen(kInk);
  p.drawText(QRectF(0, H / 2 + 70, W, 30), Qt::AlignCenter, QStringLiteral("（截图）"));
  return img;
}

}  // namespace gen
