// The built-in pictures, the sample event and the manual are generated files: these tests catch a
// regeneration that breaks what the program relies on (sizes, transparency, text contrast, file formats,
// links).
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>

#include "assets.h"

namespace {

QImage Load(const char* path) {
  QImageReader reader(QString::fromUtf8(path));
  return reader.read();
}

// WCAG relative luminance and contrast ratio, on the average colour of a region.
double Luminance(double r, double g, double b) {
  auto lin = [](double c) {
    c /= 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

double ContrastWith(const QImage& image, QRectF share, QColor text) {
  const QRect region(int(share.x() * image.width()), int(share.y() * image.height()),
                     int(share.width() * image.width()), int(share.height() * image.height()));
  // Contrast is judged per pixel and the worst tenth is reported, so a bright streak behind the text counts.
  std::vector<double> ratios;
  const double lt = Luminance(text.red(), text.green(), text.blue());
  for (int y = region.top(); y <= region.bottom(); y += 4) {
    for (int x = region.left(); x <= region.right(); x += 4) {
      const QRgb px = image.pixel(x, y);
      const double lb = Luminance(qRed(px), qGreen(px), qBlue(px));
      ratios.push_back((std::max(lt, lb) + 0.05) / (std::min(lt, lb) + 0.05));
    }
  }
  std::sort(ratios.begin(), ratios.end());
  return ratios[ratios.size() / 10];
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString SampleDir() {
  return QStringLiteral(KAVREL_ASSETS_DIR "/sample");
}

// Lines of a GB18030 CR LF file; every line, the last included, must end with CR LF.
QStringList Lines(const QString& file) {
  const QByteArray bytes = ReadFile(SampleDir() + u'/' + file);
  EXPECT_FALSE(bytes.isEmpty()) << file.toStdString();
  EXPECT_TRUE(bytes.endsWith("\r\n")) << file.toStdString();
  EXPECT_FALSE(bytes.contains("\n\r\n") || QByteArray(bytes).replace("\r\n", "").contains('\n'))
      << file.toStdString() << " has a bare LF";
  QStringDecoder decode("GB18030");
  const QString text = decode(bytes);
  EXPECT_FALSE(decode.hasError()) << file.toStdString();
  QStringList lines = text.split(QStringLiteral("\r\n"));
  lines.removeLast();
  return lines;
}

TEST(BuiltInPictures, LoadFromResourcesAtTheirDesignSizes) {
  struct Expected {
    const char* path;
    QSize size;
  };
  const Expected pictures[] = {
      {kavrel::assets::kStageBackground, {1920, 1080}},
      {kavrel::assets::kStageBackground4x3, {1440, 1080}},
      {kavrel::assets::kButtonNormal, {129, 50}},
      {kavrel::assets::kButtonHover, {129, 50}},
      {kavrel::assets::kButtonPressed, {129, 50}},
      {kavrel::assets::kButtonDisabled, {129, 50}},
      {":/pictures/button_normal@2x.png", {258, 100}},
      {":/pictures/button_pressed@2x.png", {258, 100}},
      {kavrel::assets::kHelpGuide, {796, 520}},
      {kavrel::assets::kResultBackground, {1920, 1080}},
      {kavrel::assets::kWinnerShowBackground, {1920, 1080}},
      {kavrel::assets::kLatestAwardBackground, {1920, 1080}},
      {kavrel::assets::kLockBackground, {1920, 1080}},
  };
  for (const Expected& e : pictures) {
    const QImage image = Load(e.path);
    EXPECT_FALSE(image.isNull()) << e.path;
    EXPECT_EQ(image.size(), e.size) << e.path;
  }
  for (const char* icon : kavrel::assets::kAppIcons) {
    const QImage image = Load(icon);
    ASSERT_FALSE(image.isNull()) << icon;
    EXPECT_EQ(image.width(), image.height()) << icon;
    EXPECT_TRUE(QString::fromUtf8(icon).endsWith(QStringLiteral("_%1.png").arg(image.width()))) << icon;
  }
}

TEST(BuiltInPictures, ButtonFacesAreOpaqueWithTransparentCorners) {
  for (const char* path : {kavrel::assets::kButtonNormal, kavrel::assets::kButtonHover, kavrel::assets::kButtonPressed,
                           kavrel::assets::kButtonDisabled}) {
    const QImage face = Load(path).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(face.pixel(0, 0)), 0) << path;
    EXPECT_EQ(qAlpha(face.pixel(face.width() - 1, 0)), 0) << path;
    EXPECT_EQ(qAlpha(face.pixel(face.width() / 2, face.height() / 2)), 255) << path;
  }
  // The three states must be told apart on the stage.
  const QImage normal = Load(kavrel::assets::kButtonNormal);
  EXPECT_NE(normal, Load(kavrel::assets::kButtonHover));
  EXPECT_NE(normal, Load(kavrel::assets::kButtonPressed));
}

TEST(BuiltInPictures, BackgroundsKeepTheirTextReadable) {
  const QColor yellow(255, 255, 0);
  const QColor blue(0, 0, 255);
  // The stage rolls yellow names over its middle and shows the yellow titles at the top.
  for (const char* path : {kavrel::assets::kStageBackground, kavrel::assets::kStageBackground4x3}) {
    const QImage stage = Load(path);
    EXPECT_GE(ContrastWith(stage, {0.2, 0.15, 0.6, 0.55}, yellow), 3.5) << path;
    EXPECT_GE(ContrastWith(stage, {0.3, 0.0, 0.4, 0.12}, yellow), 7.0) << path;
  }
  // The winner show scrolls yellow text up the middle column and writes yellow titles in the band.
  const QImage show = Load(kavrel::assets::kWinnerShowBackground);
  EXPECT_GE(ContrastWith(show, {0.3, 0.0, 0.4, 0.14}, yellow), 7.0);
  EXPECT_GE(ContrastWith(show, {0.3, 0.16, 0.4, 0.84}, yellow), 7.0);
  // The latest award is written in blue in the middle.
  const QImage latest = Load(kavrel::assets::kLatestAwardBackground);
  EXPECT_GE(ContrastWith(latest, {0.1, 0.08, 0.8, 0.84}, blue), 6.0);
  // The lock screen writes its message in red and its buttons in blue across the middle.
  const QImage lock = Load(kavrel::assets::kLockBackground);
  EXPECT_GE(ContrastWith(lock, {0.2, 0.35, 0.6, 0.3}, QColor(255, 0, 0)), 3.0);
  EXPECT_GE(ContrastWith(lock, {0.2, 0.35, 0.6, 0.3}, blue), 6.0);
}

TEST(SampleEvent, ParticipantListIsStaffNumberAndNameInGb18030) {
  const QStringList entries = Lines(QStringLiteral("set.dat"));
  EXPECT_EQ(entries.size(), 200);
  const QRegularExpression shape(QStringLiteral("^\\d{4}  \\S{2,3}  $"));
  for (int i = 0; i < entries.size(); ++i) {
    EXPECT_TRUE(shape.match(entries[i]).hasMatch()) << entries[i].toStdString();
    EXPECT_TRUE(entries[i].startsWith(QStringLiteral("%1  ").arg(i + 1, 4, 10, QLatin1Char('0'))));
  }
  EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()).size(), entries.size());
  // One name beyond GBK keeps the four-byte path of the codec exercised.
  EXPECT_TRUE(entries.join(QString()).contains(QString::fromUtf8("䶮")));
}

TEST(SampleEvent, BatchPlanIsTheForwardExpansionOfTheAwardTable) {
  const QStringList rows = Lines(QStringLiteral("jiangx.dat"));
  QStringList expected;
  int total = 0;
  for (const QString& row : rows) {
    ASSERT_TRUE(row.endsWith(QLatin1Char(','))) << row.toStdString();
    const QStringList cells = row.chopped(1).split(QLatin1Char(','));
    ASSERT_EQ(cells.size(), 6) << row.toStdString();
    const int quota = cells[1].toInt();
    const int batches = cells[2].toInt();
    total += quota;
    const QStringList parts = cells[3].split(QLatin1Char('+'));
    ASSERT_EQ(parts.size(), batches) << row.toStdString();
    int sum = 0;
    for (int k = 0; k < parts.size(); ++k) {
      sum += parts[k].toInt();
      expected << QStringList{cells[0], cells[1], cells[2], QString::number(k + 1), parts[k], cells[4], cells[5]}.join(
                      QLatin1Char(',')) +
                      QLatin1Char(',');
    }
    EXPECT_EQ(sum, quota) << row.toStdString();
  }
  EXPECT_EQ(Lines(QStringLiteral("shezhijx.dat")), expected);
  EXPECT_TRUE(Lines(QStringLiteral("config.ini")).contains(QStringLiteral("中奖名额=%1").arg(total)));
  EXPECT_LE(total, 200);
}

TEST(Manual, EveryLinkAndPictureResolvesAndTheCopyIsInTheProgramFolder) {
  const QDir manual(QStringLiteral(KAVREL_ASSETS_DIR "/manual"));
  const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]+)"));
  int pages = 0;
  for (const QString& page : manual.entryList({QStringLiteral("*.html")})) {
    ++pages;
    const QString html = QString::fromUtf8(ReadFile(manual.filePath(page)));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << page.toStdString();
    for (auto it = link.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      if (target.contains(QStringLiteral("://"))) continue;
      EXPECT_TRUE(QFile::exists(manual.filePath(target))) << page.toStdString() << " -> " << target.toStdString();
    }
  }
  EXPECT_GE(pages, 6);
  EXPECT_TRUE(QFile::exists(QStringLiteral(KAVREL_APP_DIR "/") + QLatin1String(kavrel::assets::kManualIndex)));
}

}  // namespace
