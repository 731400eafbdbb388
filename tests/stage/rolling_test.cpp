#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/photo_cache.h"
#include "stage/rolling_panel.h"

namespace kavrel {
namespace {

const QColor kBackdrop(20, 20, 70);

// A panel of the rolling area's size on a 1024 x 768 stage, with a plain snapshot behind it.
struct Panel {
  RollingPanel panel;
  Panel() {
    panel.resize(824, 410);
    QPixmap snapshot(panel.size());
    snapshot.fill(kBackdrop);
    panel.SetSnapshot(snapshot);
  }
  QImage Frame() {
    QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter p(&image);
    panel.PaintFrame(p);
    return image;
  }
};

// Pixels inside `r` whose colour is close to `c`.
int CountNear(const QImage& image, const QRect& r, const QColor& c, int tolerance = 40) {
  int n = 0;
  const QRect clipped = r.intersected(image.rect());
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
          std::abs(p.blue() - c.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

QRect TextRect(const RollingPanel& panel, int index, const QString& text) {
  return panel.TextCell(index, text);
}

TEST(RollingPanel, PaintsTextWhereThePlacementPutsItAndNothingElsewhere) {
  Panel p;
  p.panel.PrepareTextRolling(13, QStringLiteral("张三丰"));
  p.panel.BeginTick();
  for (int i = 1; i <= 13; ++i) p.panel.PaintCandidate(i, QStringLiteral("张三丰"));
  const QImage frame = p.Frame();

  const QColor yellow(255, 255, 0);
  for (int i : {1, 2, 13}) {
    EXPECT_GT(CountNear(frame, TextRect(p.panel, i, QStringLiteral("张三丰")), yellow), 20) << "candidate " << i;
  }
  // The corners show the snapshot untouched.
  EXPECT_EQ(frame.pixelColor(2, 2), kBackdrop);
  EXPECT_EQ(frame.pixelColor(821, 407), kBackdrop);
  // Exactly the yellow of the thirteen names; a masked entry paints as given.
  EXPECT_EQ(p.panel.Candidates().size(), 13);
}

TEST(RollingPanel, ATickReplacesTheCandidatesAndTheStopNamesTheWinners) {
  Panel p;
  p.panel.PrepareTextRolling(2, QStringLiteral("138****0000"), QColor(0, 255, 0));
  p.panel.PaintCandidate(1, QStringLiteral("甲"));
  p.panel.PaintCandidate(2, QStringLiteral("乙"));
  p.panel.BeginTick();
  EXPECT_TRUE(p.panel.Candidates().isEmpty());
  const QImage empty = p.Frame();
  EXPECT_EQ(CountNear(empty, empty.rect(), QColor(0, 255, 0)), 0) << "a new tick starts from the snapshot";

  p.panel.PaintCandidate(1, QStringLiteral("138****1234"));
  p.panel.PaintCandidate(2, QStringLiteral("139****5678"));
  EXPECT_TRUE(p.panel.accessibleName().isEmpty());
  p.panel.FinishRoll();
  EXPECT_EQ(p.panel.accessibleName(), QStringLiteral("138****1234、139****5678"));
  // The custom colour paints the text.
  const QImage frame = p.Frame();
  EXPECT_GT(CountNear(frame, TextRect(p.panel, 1, QStringLiteral("138****1234")), QColor(0, 255, 0)), 20);
}

TEST(RollingPanel, ABatchIsLaidOutForItsOwnSizeAndTheWidestSample) {
  Panel p;
  p.panel.PrepareTextRolling(28, QStringLiteral("0001"));
  p.panel.PrepareTextRolling(30, QStringLiteral("0001"));
  Panel fresh;
  fresh.panel.PrepareTextRolling(30, QStringLiteral("0001"));
  EXPECT_EQ(p.panel.TextLayout().columns, fresh.panel.TextLayout().columns);
  EXPECT_EQ(p.panel.TextLayout().pixelSize, fresh.panel.TextLayout().pixelSize);
  // A long entry among the samples makes the names smaller, so it fits its column too.
  Panel wide;
  wide.panel.PrepareTextRolling(30, QStringList{QStringLiteral("0001"), QStringLiteral("10023 王小明 市场营销部")});
  EXPECT_LT(wide.panel.TextLayout().pixelSize, fresh.panel.TextLayout().pixelSize);
  const QRect cell = wide.panel.TextCell(30, QStringLiteral("10023 王小明 市场营销部"));
  EXPECT_TRUE(wide.panel.rect().contains(cell));
}

TEST(RollingPanel, PhotosAreScaledOnceAndAMissingPhotoLeavesAnEmptyCellWithTheName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString red = dir.filePath(QStringLiteral("张三.png"));
  QImage photo(640, 480, QImage::Format_RGB32);
  photo.fill(QColor(255, 0, 0));
  ASSERT_TRUE(photo.save(red));

  Panel p;
  p.panel.PreparePictureRolling(2, true);
  p.panel.BeginTick();
  p.panel.PaintCandidate(1, QStringLiteral("张三"), red);
  p.panel.PaintCandidate(2, QStringLiteral("李四"), dir.filePath(QStringLiteral("李四.jpg")));
  QImage frame = p.Frame();

  const PictureRollLayout& layout = p.panel.PictureLayout();
  const QRect cell1 = PhotoRect(layout, 1, p.panel.size());
  const QRect cell2 = PhotoRect(layout, 2, p.panel.size());
  // The upper part of each cell is clear of the name.
  const QRect upper1(cell1.topLeft() + QPoint(5, 5), QSize(cell1.width() - 10, cell1.height() / 3));
  const QRect upper2(cell2.topLeft() + QPoint(5, 5), QSize(cell2.width() - 10, cell2.height() / 3));
  EXPECT_EQ(CountNear(frame, upper1, QColor(255, 0, 0), 0), upper1.width() * upper1.height());
  // The missing photo's cell is an empty, slightly darkened frame over the snapshot.
  EXPECT_EQ(CountNear(frame, upper2, kBackdrop, 20), upper2.width() * upper2.height());
  // Both names are painted in blue over the lower part of their cells.
  const QRect lower2(cell2.left(), cell2.top() + cell2.height() / 2, cell2.width(), cell2.height() / 2);
  EXPECT_GT(CountNear(frame, lower2, QColor(0, 0, 255)), 20);
  EXPECT_EQ(p.panel.CachedPhotoCount(), 2);

  // Later frames reuse the scaled photo: it still shows after the file is gone.
  ASSERT_TRUE(QFile::remove(red));
  p.panel.BeginTick();
  p.panel.PaintCandidate(1, QStringLiteral("张三"), red);
  frame = p.Frame();
  EXPECT_EQ(CountNear(frame, upper1, QColor(255, 0, 0), 0), upper1.width() * upper1.height());
  EXPECT_EQ(p.panel.CachedPhotoCount(), 2);

  // A new roll forgets them.
  p.panel.PreparePictureRolling(2, true);
  EXPECT_EQ(p.panel.CachedPhotoCount(), 0);
}

// The photos a tick lacks are decoded together; each must still land in its own cell, a photo named
// twice is decoded once, and an unreadable one is remembered rather than read again every frame.
TEST(RollingPanel, PhotosDecodedTogetherEachLandInTheirOwnCell) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  constexpr int kCount = 12;
  std::vector<QColor> colours;
  QStringList paths;
  for (int i = 0; i < kCount; ++i) {
    colours.push_back(QColor::fromHsv(i * 360 / kCount, 255, 255));
    paths << dir.filePath(QStringLiteral("%1.png").arg(i));
    if (i == 5) continue;  // no photo for the sixth candidate
    QImage photo(320, 240, QImage::Format_RGB32);
    photo.fill(colours.back());
    ASSERT_TRUE(photo.save(paths.back()));
  }
  paths[9] = paths[2];  // the same photo twice in one tick
  colours[9] = colours[2];

  Panel p;
  p.panel.PreparePictureRolling(kCount, true);
  p.panel.BeginTick();
  for (int i = 0; i < kCount; ++i) p.panel.PaintCandidate(i + 1, QString(), paths[i]);
  QImage frame = p.Frame();
  const auto middle = [&](int index) {
    const QRect cell = PhotoRect(p.panel.PictureLayout(), index, p.panel.size());
    return QRect(cell.center() - QPoint(3, 3), QSize(6, 6));
  };
  for (int i = 0; i < kCount; ++i) {
    if (i == 5) {
      EXPECT_EQ(CountNear(frame, middle(i + 1), kBackdrop, 20), 36) << "cell " << i + 1;
    } else {
      EXPECT_EQ(CountNear(frame, middle(i + 1), colours[i], 0), 36) << "cell " << i + 1;
    }
  }
  EXPECT_EQ(p.panel.CachedPhotoCount(), kCount - 1);

  // The missing photo appearing later is not picked up within the roll: the failed read is cached.
  QImage late(320, 240, QImage::Format_RGB32);
  late.fill(Qt::white);
  ASSERT_TRUE(late.save(paths[5]));
  frame = p.Frame();
  EXPECT_EQ(CountNear(frame, middle(6), kBackdrop, 20), 36);
  EXPECT_EQ(p.panel.CachedPhotoCount(), kCount - 1);
}

// Photos with a thumbnail come from the cache, the others from their files, each in its own cell; a
// photo changed after its thumbnail was made shows as it is now.
TEST(RollingPanel, ThumbnailsFillTheirCellsAndPhotosWithoutOneStillShow) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<QColor> colours{QColor(220, 40, 40), QColor(40, 200, 40), QColor(40, 40, 220),
                                    QColor(230, 200, 40)};
  QStringList paths;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    paths << dir.filePath(QStringLiteral("%1.jpg").arg(i));
    QImage photo(1200, 900, QImage::Format_RGB32);
    photo.fill(colours[i]);
    ASSERT_TRUE(photo.save(paths.back(), "JPG", 95));
  }
  auto cache =
      std::make_shared<PhotoCache>(std::filesystem::path(dir.filePath(QStringLiteral("thumbs")).toStdString()));
  cache->Refresh([cached = paths.mid(0, 3)] { return cached; }, LargestPhotoCell(true));
  ASSERT_TRUE(QTest::qWaitFor([&] { return cache->CurrentProgress().finished; }, 20000));
  // The third photo is retaken after its thumbnail was made.
  QImage retake(1200, 900, QImage::Format_RGB32);
  retake.fill(Qt::white);
  ASSERT_TRUE(retake.save(paths[2], "JPG", 80));

  Panel p;
  p.panel.UsePhotoCache(cache);
  p.panel.PreparePictureRolling(4, true);
  p.panel.BeginTick();
  for (int i = 0; i < 4; ++i) p.panel.PaintCandidate(i + 1, QString(), paths[i]);
  const QImage frame = p.Frame();
  const std::vector<QColor> shown{colours[0], colours[1], Qt::white, colours[3]};
  for (int i = 0; i < 4; ++i) {
    const QRect cell = PhotoRect(p.panel.PictureLayout(), i + 1, p.panel.size());
    const QRect middle(cell.center() - QPoint(3, 3), QSize(6, 6));
    EXPECT_EQ(CountNear(frame, middle, shown[static_cast<std::size_t>(i)], 12), 36) << "cell " << i + 1;
  }
  EXPECT_EQ(p.panel.PhotosFromCache(), 2);
  EXPECT_EQ(p.panel.CachedPhotoCount(), 4);
}

TEST(RollingPanel, PortraitPhotosKeepTheirProportionsInTheCell) {
  QTemporaryDir dir;
  // A landscape picture, left half green and right half red, in a portrait cell: the middle is kept.
  QImage photo(400, 200, QImage::Format_RGB32);
  photo.fill(QColor(255, 0, 0));
  QPainter(&photo).fillRect(0, 0, 200, 200, QColor(0, 255, 0));
  const QString path = dir.filePath(QStringLiteral("a.png"));
  ASSERT_TRUE(photo.save(path));
  Panel p;
  p.panel.PreparePictureRolling(1, false);
  p.panel.PaintCandidate(1, QString(), path);
  const QImage frame = p.Frame();
  const QRect cell = PhotoRect(p.panel.PictureLayout(), 1, p.panel.size());
  EXPECT_EQ(frame.pixelColor(cell.left() + 3, cell.top() + 3), QColor(0, 255, 0));
  EXPECT_EQ(frame.pixelColor(cell.right() - 3, cell.top() + 3), QColor(255, 0, 0));
}

TEST(RollingPanel, TheEditBorderFramesTheArea) {
  Panel p;
  p.panel.SetEditBorder(true);
  const QImage frame = p.Frame();
  EXPECT_NE(frame.pixelColor(0, 200), kBackdrop);
  p.panel.SetEditBorder(false);
  EXPECT_EQ(p.Frame().pixelColor(0, 200), kBackdrop);
}

}  // namespace
}  // namespace kavrel
