// Frame cost of the rolling panel on a 1920 x 1080 stage: the snapshot and N candidates painted into
// an offscreen image, the way every repaint of a roll does it. Photos are decoded and scaled once per
// roll, so the steady-state frames measure painting alone; the "FirstFrame" cases show what the first
// frame of a roll costs while the caches fill. The "Cached" cases roll 12-megapixel photos whose
// thumbnails the photo cache made ahead, as it does in the background after start-up.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/photo_cache.h"
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
  f.panel.SetRollStyle(kavrel::RollStyle::Classic);
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
  state.counters["px"] = f.panel.TextLayout().pixelSize;
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

// A frame of the sphere (0) or the card wall (1) while 10 candidates roll, over a pool of 500 or 2,000
// names, after the first second of the roll has rendered the names.
void BM_StyleFrame(benchmark::State& state) {
  Fixture& f = Shared();
  const auto style = state.range(0) == 0 ? kavrel::RollStyle::Sphere : kavrel::RollStyle::CardWall;
  const int poolSize = static_cast<int>(state.range(1));
  QStringList pool;
  for (int i = 0; i < poolSize; ++i) pool << f.names[i % f.names.size()] + QString::number(i / f.names.size());
  f.panel.SetRollStyle(style, pool);
  f.panel.PrepareTextRolling(10, f.names[0]);
  for (int i = 0; i < 120; ++i) {
    f.Tick(10, false);
    f.Frame();
  }
  for (auto _ : state) {
    f.Tick(10, false);
    f.Frame();
  }
  f.panel.SetRollStyle(kavrel::RollStyle::Classic);
}
BENCHMARK(BM_StyleFrame)
    ->Args({0, 500})
    ->Args({0, 2000})
    ->Args({1, 500})
    ->Args({1, 2000})
    ->Unit(benchmark::kMillisecond);

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

// `count` names of one 12-megapixel JPEG (hard links: the cache and the roll treat each as a photo of
// its own), with the photo cache's thumbnails made for all of them before anything is measured.
struct CachedPhotos {
  QTemporaryDir dir;
  QStringList paths;
  std::shared_ptr<kavrel::PhotoCache> cache;
  double passSeconds = 0;

  CachedPhotos(int count, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(180, 40, 50));
    {
      QPainter p(&image);
      p.setBrush(QColor(240, 200, 80));
      p.drawEllipse(QRect(QPoint(size.width() / 4, size.height() / 8), size * 0.6));
    }
    const QString first = dir.filePath(QStringLiteral("p0.jpg"));
    image.save(first, "JPG", 90);
    paths << first;
    for (int i = 1; i < count; ++i) {
      const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
      std::filesystem::create_hard_link(first.toStdString(), path.toStdString());
      paths << path;
    }
    cache = std::make_shared<kavrel::PhotoCache>(
        std::filesystem::path(dir.filePath(QStringLiteral("thumbs")).toStdString()));
    QElapsedTimer clock;
    clock.start();
    cache->Refresh([list = paths] { return list; }, kavrel::LargestPhotoCell(true));
    while (!cache->CurrentProgress().finished) QThread::msleep(20);
    passSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
  }
};

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The first frame of a roll of 40 photos, all 12-megapixel JPEGs, with their thumbnails cached: every
// roll starts with nothing decoded in memory (a new roll forgets the last one's photos). Wall time, and
// the CPU time of every thread of the process.
void BM_PhotoFirstFrameCached12Mp(benchmark::State& state) {
  static CachedPhotos photos(200, QSize(4000, 3000));
  Fixture& f = Shared();
  f.panel.UsePhotoCache(photos.cache);
  auto* random = QRandomGenerator::global();
  for (auto _ : state) {
    f.panel.PreparePictureRolling(40, true);
    f.panel.BeginTick();
    for (int i = 1; i <= 40; ++i)
      f.panel.PaintCandidate(i, f.names[i], photos.paths[static_cast<int>(random->bounded(200u))]);
    f.Frame();
  }
  state.counters["from_cache"] = f.panel.PhotosFromCache();
  state.counters["pass_ms_per_photo"] = photos.passSeconds * 1000.0 / 200.0;
  f.panel.UsePhotoCache(nullptr);
}
BENCHMARK(BM_PhotoFirstFrameCached12Mp)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A picture-mode list of 10,000 photos, all cached: rolls of 40 from them, each a first frame and then
// 59 more (each showing 40 photos mostly not yet seen in this roll, so the photos held in memory grow up
// to their bound), and the peak memory of the process.
void BM_PhotoRoll40Of10000Cached(benchmark::State& state) {
  static CachedPhotos photos(10000, QSize(1024, 768));
  Fixture& f = Shared();
  f.panel.UsePhotoCache(photos.cache);
  auto* random = QRandomGenerator::global();
  double firstMs = 0;
  double laterMs = 0;
  int rolls = 0;
  for (auto _ : state) {
    f.panel.PreparePictureRolling(40, true);
    for (int frame = 0; frame < 60; ++frame) {
      QElapsedTimer clock;
      clock.start();
      f.panel.BeginTick();
      for (int i = 1; i <= 40; ++i)
        f.panel.PaintCandidate(i, f.names[i], photos.paths[static_cast<int>(random->bounded(10000u))]);
      f.Frame();
      (frame == 0 ? firstMs : laterMs) += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    ++rolls;
  }
  state.counters["first_frame_ms"] = firstMs / rolls;
  state.counters["later_frame_ms"] = laterMs / (rolls * 59);
  state.counters["pass_ms_per_photo"] = photos.passSeconds * 1000.0 / 10000.0;
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
  f.panel.UsePhotoCache(nullptr);
}
BENCHMARK(BM_PhotoRoll40Of10000Cached)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

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
