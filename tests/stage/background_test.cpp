#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <filesystem>

#include "stage/custom_background.h"
#include "storage/program_dir.h"
#include "storage/settings.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

// A 16:9 picture: white with a black square in the middle and blue bands at both ends.
QImage WidePicture() {
  QImage image(1600, 900, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.fillRect(0, 0, 150, 900, Qt::blue);
  p.fillRect(1450, 0, 150, 900, Qt::blue);
  p.fillRect(755, 405, 90, 90, Qt::black);
  return image;
}

TEST(StageBackground, FillsAFourByThreeScreenWithoutDistortionCuttingTheSides) {
  const QImage shown = FillScreen(QPixmap::fromImage(WidePicture()), {1024, 768}).toImage();
  ASSERT_EQ(shown.size(), QSize(1024, 768));
  // The square stays square (90 * 768 / 900 = 76.8 pixels each way) and in the middle.
  auto dark = [&](int x, int y) { return qGray(shown.pixel(x, y)) < 60; };
  int width = 0, height = 0;
  for (int x = 0; x < 1024; ++x) width += dark(x, 384);
  for (int y = 0; y < 768; ++y) height += dark(512, y);
  EXPECT_NEAR(width, 77, 2);
  EXPECT_NEAR(height, 77, 2);
  // The sides are cut evenly: what is left of the blue bands is equal on both sides.
  int left = 0, right = 0;
  for (int x = 0; x < 40; ++x) {
    left += qBlue(shown.pixel(x, 10)) > 200 && qRed(shown.pixel(x, 10)) < 60;
    right += qBlue(shown.pixel(1023 - x, 10)) > 200 && qRed(shown.pixel(1023 - x, 10)) < 60;
  }
  EXPECT_NEAR(left, right, 1);
  EXPECT_TRUE(FillScreen(QPixmap(), {10, 10}).isNull());
}

TEST(StageBackground, AChosenBackgroundIsKeptInTheDataFolderForTheNextStart) {
  QTemporaryDir tmp, elsewhere;
  ASSERT_TRUE(tmp.isValid() && elsewhere.isValid());
  const ProgramDir dir{fs::path(tmp.path().toStdString())};
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  EXPECT_TRUE(KeptBackground(dir, settings).isEmpty()) << "the built-in picture by default";

  const QString png = elsewhere.filePath(QStringLiteral("年会背景.PNG"));
  ASSERT_TRUE(WidePicture().save(png, "PNG"));
  EXPECT_EQ(KeepCustomBackground(dir, settings, png), QString());
  QFile::remove(png);  // the original may go: the copy in config/ is what the next start shows
  const QString kept = KeptBackground(dir, Settings(dir.Path(ProgramDir::kConfigIni)));
  ASSERT_FALSE(kept.isEmpty());
  EXPECT_TRUE(kept.startsWith(QDir(tmp.path()).filePath(QStringLiteral("config"))));
  EXPECT_EQ(QImage(kept).size(), QSize(1600, 900));

  // Another picture replaces the copy; the kept file of the old extension is gone.
  const QString jpg = elsewhere.filePath(QStringLiteral("b.jpg"));
  ASSERT_TRUE(WidePicture().save(jpg, "JPG"));
  EXPECT_EQ(KeepCustomBackground(dir, settings, jpg), QString());
  EXPECT_TRUE(KeptBackground(dir, settings).endsWith(QStringLiteral(".jpg")));
  EXPECT_EQ(QDir(QDir(tmp.path()).filePath(QStringLiteral("config")))
                .entryList({QStringLiteral("stage_background.*")}, QDir::Files)
                .size(),
            1);
  // Choosing the kept copy itself again changes nothing.
  EXPECT_EQ(KeepCustomBackground(dir, settings, KeptBackground(dir, settings)), QString());
  EXPECT_FALSE(KeptBackground(dir, settings).isEmpty());

  // A picture that cannot be read is refused with a reason; the kept one stays.
  EXPECT_FALSE(KeepCustomBackground(dir, settings, elsewhere.filePath(QStringLiteral("gone.png"))).isEmpty());
  EXPECT_FALSE(KeptBackground(dir, settings).isEmpty());

  EXPECT_TRUE(ForgetCustomBackground(dir, settings));
  EXPECT_TRUE(KeptBackground(dir, settings).isEmpty());
}

}  // namespace
}  // namespace kavrel
