#include "platform/picture_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

namespace kavrel {
namespace {

// Qt refuses to decode a picture whose full size needs more than its allocation limit (a
// 48-megapixel phone photo at the default limit). The limit is lowered here so that a small
// photo stands for the big one.
class PictureReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(2);  // megabytes
  }
  void TearDown() override { QImageReader::setAllocationLimit(limit); }
  QString Photo(const char* name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    const QString path = tmp.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path, "JPG"));
    return path;
  }
  QTemporaryDir tmp;
  int limit = 0;
};

TEST_F(PictureReaderTest, APhotoTooBigToDecodeWholeIsDecodedAtItsDrawnSize) {
  const QString path = Photo("big.jpg", {3000, 2000});  // 24 MB decoded whole
  EXPECT_TRUE(QImageReader(path).read().isNull()) << "the whole photo is over the limit";

  const QImage fitted = ReadPictureScaled(path, {300, 300}, Qt::KeepAspectRatio);
  ASSERT_FALSE(fitted.isNull());
  EXPECT_EQ(fitted.size(), QSize(300, 200));
  EXPECT_EQ(ReadPictureScaled(path, {300, 300}, Qt::KeepAspectRatioByExpanding).size(), QSize(450, 300));
  EXPECT_EQ(ReadPictureScaled(path, {640, 480}, Qt::IgnoreAspectRatio).size(), QSize(640, 480));
  EXPECT_EQ(QColor(fitted.pixel(150, 100)).red() / 10, 20);
}

TEST_F(PictureReaderTest, SmallPicturesAreNotBlownUpAndUnreadableOnesAreLoggedOnce) {
  const QString path = Photo("small.jpg", {40, 30});
  EXPECT_EQ(ReadPictureScaled(path, {400, 300}).size(), QSize(40, 30));

  // A BMP named .jpg still loads: the content decides.
  QImage bmp(8, 8, QImage::Format_RGB32);
  bmp.fill(Qt::yellow);
  const QString misnamed = tmp.filePath(QStringLiteral("bmp.jpg"));
  ASSERT_TRUE(bmp.save(misnamed, "BMP"));
  EXPECT_EQ(ReadPictureScaled(misnamed, {4, 4}).size(), QSize(4, 4));

  static int warnings = 0;
  warnings = 0;
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type == QtWarningMsg && m.contains(QStringLiteral("picture cannot be read"))) ++warnings;
      });
  const QString broken = tmp.filePath(QStringLiteral("broken.jpg"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture at all");
  file.close();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(ReadPictureScaled(broken, {100, 100}).isNull());
  EXPECT_TRUE(ReadPictureScaled(tmp.filePath(QStringLiteral("missing.jpg")), {100, 100}).isNull());
  qInstallMessageHandler(previous);
  EXPECT_EQ(warnings, 2) << "once per file, not at every roll";
}

}  // namespace
}  // namespace kavrel
