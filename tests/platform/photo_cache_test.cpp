#include "platform/photo_cache.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

namespace kavrel {
namespace {

namespace fs = std::filesystem;

const QSize kBox(200, 150);

class PhotoCacheTest : public ::testing::Test {
 protected:
  QString Photo(const QString& name, QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = photos.filePath(name);
    EXPECT_TRUE(image.save(path, "JPG", 95));
    return path;
  }

  static bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
  }

  // The cache folder's files by kind.
  QStringList Files(const QString& pattern) const {
    return QDir(cacheDir.path() + QStringLiteral("/thumbs")).entryList({pattern}, QDir::Files);
  }

  static bool Finished(const PhotoCache& cache) { return cache.CurrentProgress().finished; }

  QTemporaryDir photos;
  QTemporaryDir cacheDir;
  fs::path folder{fs::path(cacheDir.path().toStdString()) / "thumbs"};
};

TEST_F(PhotoCacheTest, ThumbnailsAreMadeInTheBackgroundForEachPhotoAsItIsNow) {
  const QString red = Photo(QStringLiteral("红.jpg"), {800, 600}, QColor(220, 30, 30));
  const QString portrait = Photo(QStringLiteral("竖.jpg"), {600, 900}, QColor(30, 30, 220));
  const QString broken = photos.filePath(QStringLiteral("坏.jpg"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  const QString missing = photos.filePath(QStringLiteral("无.jpg"));

  PhotoCache cache(folder);
  EXPECT_TRUE(cache.Thumbnail(red, kBox).isNull()) << "nothing made yet";
  cache.Refresh([=] { return QStringList{red, portrait, broken, missing}; }, kBox);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Finished(cache); }, 20000));
  EXPECT_EQ(cache.CurrentProgress().listed, 4);

  // Each photo covers the box, whatever its shape; one that cannot be read has none.
  const QImage thumbnail = cache.Thumbnail(red, kBox);
  ASSERT_EQ(thumbnail.size(), kBox);
  EXPECT_TRUE(Near(thumbnail.pixelColor(100, 75), QColor(220, 30, 30)));
  EXPECT_EQ(cache.Thumbnail(portrait, kBox).size(), kBox);
  EXPECT_TRUE(cache.Thumbnail(broken, kBox).isNull());
  EXPECT_TRUE(cache.Thumbnail(missing, kBox).isNull());
  EXPECT_TRUE(cache.Thumbnail(red, QSize(150, 200)).isNull()) << "made for another cell shape";
  EXPECT_EQ(Files(QStringLiteral("*.thumb")).size(), 2);
  EXPECT_TRUE(Files(QStringLiteral("*.tmp-*")).isEmpty());

  // A photo replaced under the same name (a camera retake) is never shown from its old thumbnail: it
  // has none until the next pass makes it.
  const QString retaken = Photo(QStringLiteral("红.jpg"), {640, 480}, QColor(30, 200, 30));
  EXPECT_TRUE(cache.Thumbnail(retaken, kBox).isNull());
  cache.Refresh([=] { return QStringList{red, portrait}; }, kBox);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Finished(cache) && !cache.Thumbnail(red, kBox).isNull(); }, 20000));
  EXPECT_TRUE(Near(cache.Thumbnail(red, kBox).pixelColor(100, 75), QColor(30, 200, 30)));
}

// A power cut can leave a thumbnail file with anything in it, or a temporary file: neither is ever
// shown, and the next pass makes the thumbnail again and clears the leftover.
TEST_F(PhotoCacheTest, ADamagedThumbnailIsNeverShownAndIsMadeAgain) {
  const QString photo = Photo(QStringLiteral("a.jpg"), {400, 300}, QColor(200, 180, 40));
  {
    PhotoCache cache(folder);
    cache.Refresh([=] { return QStringList{photo}; }, kBox);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Finished(cache); }, 20000));
  }
  const QStringList made = Files(QStringLiteral("*.thumb"));
  ASSERT_EQ(made.size(), 1);
  const QString thumbPath = cacheDir.path() + QStringLiteral("/thumbs/") + made.front();
  QFile thumb(thumbPath);
  ASSERT_TRUE(thumb.open(QIODevice::ReadWrite));
  QByteArray bytes = thumb.readAll();
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5A);
  thumb.seek(0);
  thumb.write(bytes);
  thumb.close();
  QFile leftover(thumbPath + QStringLiteral(".tmp-1"));
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.close();

  PhotoCache cache(folder);
  EXPECT_TRUE(cache.Thumbnail(photo, kBox).isNull());
  cache.Refresh([=] { return QStringList{photo}; }, kBox);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Finished(cache); }, 20000));
  EXPECT_TRUE(Near(cache.Thumbnail(photo, kBox).pixelColor(10, 10), QColor(200, 180, 40)));
  EXPECT_EQ(Files(QStringLiteral("*")), made);
}

// A new list replaces the pass under way, and the cache stops at once when the program ends with a long
// list still going: every file it left is whole.
TEST_F(PhotoCacheTest, ANewListReplacesThePassAndTheEndStopsItMidway) {
  QStringList many;
  const QString first = Photo(QStringLiteral("0.jpg"), {1600, 1200}, QColor(90, 90, 90));
  for (int i = 1; i < 400; ++i) {
    const QString path = photos.filePath(QStringLiteral("%1.jpg").arg(i));
    ASSERT_TRUE(QFile::copy(first, path));
    many << path;
  }
  const QString other = Photo(QStringLiteral("other.jpg"), {400, 300}, QColor(10, 120, 200));
  {
    PhotoCache cache(folder);
    cache.Refresh([=] { return many; }, kBox);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cache.CurrentProgress().done > 0; }, 20000));
    cache.Refresh([=] { return QStringList{other}; }, kBox);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Finished(cache); }, 20000));
    EXPECT_EQ(cache.CurrentProgress().listed, 1);
    EXPECT_FALSE(cache.Thumbnail(other, kBox).isNull());

    cache.Refresh([=] { return many; }, kBox);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cache.CurrentProgress().done > 2; }, 20000));
  }  // destroyed mid-pass
  EXPECT_TRUE(Files(QStringLiteral("*.tmp-*")).isEmpty());
  PhotoCache reader(folder);
  int whole = 0;
  for (const QString& path : many) whole += reader.Thumbnail(path, kBox).isNull() ? 0 : 1;
  EXPECT_EQ(whole + 1, Files(QStringLiteral("*.thumb")).size()) << "every file left is a whole thumbnail";
  EXPECT_LT(whole, 399) << "the pass did not stop";
}

}  // namespace
}  // namespace kavrel
