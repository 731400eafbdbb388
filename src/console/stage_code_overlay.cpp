#include "console/stage_code_overlay.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

#include "platform/qr_code.h"

namespace kavrel {

StageCodeOverlay::StageCodeOverlay(const QString& url, QWidget* stage) : QWidget(stage), url_(url) {
  setObjectName(QStringLiteral("画板_手机二维码"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAccessibleName(QStringLiteral("手机扫码签到：%1").arg(url));
  if (auto qr = QrCode::Encode(url.toStdString())) code_ = qr->ToImage(1);
  setGeometry(stage->rect());
  stage->installEventFilter(this);
}

bool StageCodeOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  // A key for the stage (space starts the roll) takes the code away first, so nothing rolls unseen.
  if (watched == parent() && event->type() == QEvent::KeyPress) close();
  return QWidget::eventFilter(watched, event);
}

void StageCodeOverlay::mousePressEvent(QMouseEvent*) {
  close();
}

void StageCodeOverlay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(0x8E, 0x0A, 0x16));
  sky.setColorAt(1, QColor(0xC8, 0x10, 0x2E));
  p.fillRect(rect(), sky);

  const int side = std::min(width(), height()) * 55 / 100;
  const QRect codeRect((width() - side) / 2, height() * 22 / 100, side, side);
  // A gold frame around a white card: the code itself stays black on white for every phone camera.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF2, 0xB6, 0x32));
  p.drawRoundedRect(codeRect.adjusted(-side / 20, -side / 20, side / 20, side / 20), side / 25, side / 25);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (!code_.isNull()) p.drawImage(codeRect, code_);

  QFont title(QStringLiteral("Noto Sans CJK SC"));
  title.setBold(true);
  title.setPixelSize(std::max(24, height() / 14));
  p.setFont(title);
  const QRect titleRect(0, height() * 5 / 100, width(), height() * 15 / 100);
  p.setPen(QColor(0x5A, 0x06, 0x10));
  p.drawText(titleRect.translated(3, 3), Qt::AlignCenter, QStringLiteral("手机扫码 · 签到 · 看中奖名单"));
  p.setPen(QColor(0xFF, 0xE0, 0x8A));
  p.drawText(titleRect, Qt::AlignCenter, QStringLiteral("手机扫码 · 签到 · 看中奖名单"));

  QFont small = title;
  small.setBold(false);
  small.setPixelSize(std::max(16, height() / 28));
  p.setFont(small);
  p.setPen(QColor(0xFF, 0xF8, 0xE6));
  const QRect urlRect(0, codeRect.bottom() + side / 10, width(), height() / 10);
  p.drawText(urlRect, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("连上会场无线网后打开  %1").arg(url_));
}

}  // namespace kavrel
