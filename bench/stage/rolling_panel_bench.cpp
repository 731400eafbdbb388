// Frame cost of the rolling panel on a 1920 x 1080 stage: the snapshot and N candidates painted into
// an offscreen image, the way every repaint of a roll does it. Photos are decoded and scaled once per
// roll, so the steady-state frames measure painting alone; the "FirstFrame" cases show what the first
// frame of a roll costs while the caches fill.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

#include "stage/custom_background.h"
#include "stage/rolling_panel.h"

namespace {

using kavrel::RollingPanel;

// The rolling area on a 1920 x 1080 stage with the default captions.
const QSize kArea(1720, 722);

QStringList Names() {
  static const QStringList surnames = {QStringLiteral("张"), QStringLiteral("王"),   QStringLiteral("李"),
                                       QStringLiteral("赵"), QStringLiteral("刘"),   QStringLiteral("陈"),
                                       QStringLiteral("杨"), QStringLiteral("黄"),   QStringLiteral("周"),
                                       QStringLiteral("吴"), QStringLiteral("欧阳"), QStringLiteral("司马")};
  static const QStringList given = {
      QStringLiteral("伟"), QStringLiteral("芳"), QStringLiteral("娜"), QStringLiteral("敏"), QStringLiteral("静"),
      QStringLiteral("丽"), QStringLiteral("强"), QStringLiteral("磊"), QStringLiteral("军"), QStringLiteral("洋"),
      QStringLiteral("勇"), QStringLiteral("艳"), QStringLiteral("杰"), QStringLiteral("娟")};
  QStringList names;
  for (int i = 0; i < 1000; ++i) {
    names << surnames[i % surnames.size()] + given[(i / 3) % given.size()] + given[(i / 7) % given.size()];
  }
  return names;
}

struct Fixture {
  RollingPanel panel;
  QImage target{kArea, QImage::Format_ARGB32_Premultiplied};
  QStringList names = Names();
  QTemporaryDir photoDir;
  QStringList photos;

  Fixture() {
    panel.resize(kArea);
    panel.SetSnapshot(kavrel::DefaultStageBackground(QSize(1920, 1080)).copy(QRect(QPoint(100, 181), kArea)));
  }

  const QStringList& Photos() {
    if (photos.isEmpty()) {
      // 200 camera-sized JPEG photos with some detail, so decoding costs what real photos cost.
      for (int i = 0; i < 200; ++i) {
        QImage image(1024, 768, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 120, 200));
        QPainter p(&image);
        p.setBrush(QColor::fromHsv((i * 91) % 360, 200, 120));
        p.drawEllipse(QRect(312, 150, 400, 500));
        p.end();
        const QString path = photoDir.filePath(QStringLiteral("%1.jpg").arg(i));
        image.save(path, "JPG", 90);
        photos << path;
      }
    }
    return photos;
  }

  void Tick(int n, bool withPhotos) {
    panel.BeginTick();
    auto* random = QRandomGenerator::global();
    for (int i = 1; i <= n; ++i) {
      const int k = static_cast<int>(random->bounded(withPhotos ? 200u : 1000u));
      panel.PaintCandidate(i, names[k], withPhotos ? photos[k] : QString());
    }
  }

  void Frame() {
    QPainter p(&target);
    panel.PaintFrame(p);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_TextFrame(benchmark::State& state) {
  Fixture& f = Shared();
  const int n = static_cast<int>(state.range(0));
  f.panel.PrepareTextRolling(n, f.names[0]);
  // Warm the per-roll text cache the way the first second of a roll does.
  for (int i = 0; i < 200; ++i) {
    f.Tick(n, false);
    f.Frame();
  }
  for (auto _ : state) {
    f.Tick(n, false);
    f.Frame();
  }
  state.counters["pt"] = f.panel.TextLayout().pointSize;
}
BENCHMARK(BM_TextFrame)->Arg(12)->Arg(40)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_TextFirstFrame(benchmark::State& state) {
  Fixture& f = Shared();
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.panel.PrepareTextRolling(n, f.names[0]);
    f.Tick(n, false);
    f.Frame();
  }
}
BENCHMARK(BM_TextFirstFrame)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_PhotoFrame(benchmark::State& state) {
  Fixture& f = Shared();
  f.Photos();
  const int n = static_cast<int>(state.range(0));
  f.panel.PreparePictureRolling(n, true);
  for (int i = 0; i < 300; ++i) {
    f.Tick(n, true);
    f.Frame();
  }
  for (auto _ : state) {
    f.Tick(n, true);
    f.Frame();
  }
  state.counters["S"] = f.panel.PictureLayout().photoWidth;
}
BENCHMARK(BM_PhotoFrame)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_PhotoFirstFrame(benchmark::State& state) {
  Fixture& f = Shared();
  f.Photos();
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.panel.PreparePictureRolling(n, true);
    f.Tick(n, true);
    f.Frame();
  }
}
BENCHMARK(BM_PhotoFirstFrame)->Arg(40)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Ticks per second of a 1 ms precise timer that replaces 40 candidates on every tick while the shown
// panel repaints through update(), as a roll does (the pick itself is a plain random draw here).
void BM_TicksPerSecondRolling40(benchmark::State& state) {
  Fixture& f = Shared();
  f.panel.PrepareTextRolling(40, f.names[0]);
  f.panel.show();
  for (auto _ : state) {
    int ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      f.Tick(40, false);
      ++ticks;
    });
    QElapsedTimer clock;
    clock.start();
    timer.start();
    while (clock.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    timer.stop();
    state.counters["ticks_per_s"] = ticks * 1000.0 / static_cast<double>(clock.elapsed());
  }
  f.panel.hide();
}
BENCHMARK(BM_TicksPerSecondRolling40)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
