// One frame of each roll style on a 1920 x 1080 stage's rolling area, offscreen, the way the rolling
// panel paints it while candidates roll: the sphere of names turning, or the wall of cards with the
// tick's candidates lit. 500 and 2,000 names in the list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include "stage/styled_roll.h"

namespace kavrel {
namespace {

QStringList Names(int count) {
  QStringList names;
  static const QString given[] = {QStringLiteral("张伟"), QStringLiteral("王芳"), QStringLiteral("李娜"),
                                  QStringLiteral("刘洋"), QStringLiteral("陈静"), QStringLiteral("杨帆")};
  for (int i = 0; i < count; ++i) names << QStringLiteral("%1  %2").arg(1000 + i).arg(given[i % 6]);
  return names;
}

void BM_StyleFrame(benchmark::State& st, RollStyle style) {
  const int count = static_cast<int>(st.range(0));
  const QSize area(1840, 700);  // the rolling area of a 1920 x 1080 stage
  QImage frame(area, QImage::Format_ARGB32_Premultiplied);
  QFont face;
  face.setBold(true);
  StyledRoll roll;
  const QStringList names = Names(count);
  roll.Prepare(style, names, area, face, QColor(255, 230, 0));
  const QStringList candidates = names.mid(0, 10);
  qint64 ms = 0;
  // The first frames render each name once; what a roll repeats is measured after them.
  for (int i = 0; i < 3; ++i) {
    QPainter p(&frame);
    roll.PaintRolling(p, candidates, ms += 40);
  }
  for (auto _ : st) {
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    roll.PaintRolling(p, candidates, ms += 40);
  }
}
BENCHMARK_CAPTURE(BM_StyleFrame, Sphere, RollStyle::Sphere)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StyleFrame, CardWall, RollStyle::CardWall)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavrel
