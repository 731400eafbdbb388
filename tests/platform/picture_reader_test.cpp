#include "platform/picture_reader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "platform/png_scaled_reader.h"
#include "png_test_writer.h"

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

// Pictures beyond the cap are refused from their header alone, in microseconds, however they would
// decode; a picture's header says whether it is readable at all.
TEST_F(PictureReaderTest, PicturesOverTheCapAreRefusedFromTheirHeader) {
  QByteArray huge = QByteArray::fromStdString(testing::PngHeaderOnly(30000, 30000));
  QBuffer buffer(&huge);
  ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
  const PictureHeader header = ReadPictureHeader(&buffer);
  EXPECT_TRUE(header.readable);
  EXPECT_TRUE(header.tooLarge);
  EXPECT_EQ(header.size, QSize(30000, 30000));
  buffer.seek(0);
  EXPECT_TRUE(ReadPictureScaled(&buffer, {160, 120}).isNull());

  const PictureHeader photo = ReadPictureHeader(Photo("p.jpg", {40, 30}));
  EXPECT_TRUE(photo.readable);
  EXPECT_FALSE(photo.tooLarge);
  EXPECT_FALSE(ReadPictureHeader(tmp.filePath(QStringLiteral("missing.png"))).readable);
}

// A PNG past Qt's allocation limit is decoded row by row into the drawn size: each target pixel is
// the average of the source pixels it covers, interlaced or not, transparency included.
TEST_F(PictureReaderTest, ALargePngIsDecodedRowByRowIntoItsDrawnSize) {
  // Quadrants of four colours; the bottom right one half transparent.
  QImage picture(1000, 600, QImage::Format_ARGB32);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 1000; ++x)
      picture.setPixel(x, y,
                       y < 300 ? (x < 500 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                               : (x < 500 ? (x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) : qRgba(0, 255, 0, 128)));
  for (const bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    const QString path = tmp.filePath(interlaced ? QStringLiteral("i.png") : QStringLiteral("p.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(testing::PngBytes(picture, interlaced)));
    file.close();
    EXPECT_TRUE(QImageReader(path).read().isNull()) << "the whole picture is over the limit";

    const QImage shown = ReadPictureScaled(path, {100, 100}).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(100, 60));
    EXPECT_EQ(shown.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(90, 10), qRgb(0, 0, 255));
    EXPECT_EQ(qRed(shown.pixel(10, 50)) / 4, 128 / 4) << "black and white columns average to grey";
    const QRgb green = shown.pixel(90, 50);
    EXPECT_EQ(qAlpha(green), 128);
    EXPECT_EQ(qGreen(green) / 4, 255 / 4);
  }

  // Cut short, or no PNG at all: nothing, rather than half a picture.
  QByteArray cut = QByteArray::fromStdString(testing::PngBytes(picture)).left(3000);
  QBuffer buffer(&cut);
  ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
  EXPECT_TRUE(ReadPngScaled(&buffer, {10, 10}).isNull());
}

}  // namespace
}  // namespace kavrel
