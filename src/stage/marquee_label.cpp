#include "stage/marquee_label.h"

#include <QTimer>

#include "stage/stage_layout.h"
#include "stage/stage_look.h"

namespace kavrel {

MarqueeLabel::MarqueeLabel(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("标签_滚动"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(180, 16, 22));
  pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
  setPalette(pal);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setFont(StageFont(kFaceSong, 16, false));
  resize(0, kMarqueeHeight);

  timer_->setObjectName(QStringLiteral("时钟_滚动"));
  timer_->setInterval(kIntervalMs);
  connect(timer_, &QTimer::timeout, this, &MarqueeLabel::Tick);
  timer_->start();
}

void MarqueeLabel::SetCaption(const QString& caption) {
  setText(caption);
  resize(MeasureCaption(font(), caption).width(), height());
}

void MarqueeLabel::Tick() {
  int left = x() - kStep;
  if (left + width() <= 0) {
    int screen = screenWidth_;
    if (screen <= 0 && parentWidget()) screen = parentWidget()->width();
    left = screen;
  }
  move(left, y());
}

QString CongratulationLine(const QString& award, const QStringList& winners) {
  return QStringLiteral("恭喜：【") + award + QStringLiteral("】") + winners.join(QStringLiteral("、"));
}

}  // namespace kavrel
