#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "settings/roll_style_setting.h"
#include "stage/roll_styles.h"
#include "stage/rolling_panel.h"
#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {
namespace {

TEST(RollStyles, NamesReadBackAndOldSettingsRollTheClassicGrid) {
  for (RollStyle s : {RollStyle::Classic, RollStyle::Sphere, RollStyle::CardWall})
    EXPECT_EQ(RollStyleFromName(RollStyleName(s)), s);
  EXPECT_EQ(RollStyleFromName(QString()), RollStyle::Classic);
  EXPECT_EQ(RollStyleFromName(QStringLiteral("3D")), RollStyle::Classic);

  QTemporaryDir tmp;
  Settings settings(std::filesystem::path(tmp.filePath(QStringLiteral("config.ini")).toStdString()));
  EXPECT_EQ(LoadRollStyle(settings, Gb("特等奖")), "") << "a file from before the styles";
  EXPECT_TRUE(SaveRollStyle(settings, Gb("一等奖"), Gb("经典")));
  EXPECT_FALSE(settings.ReadRaw(Gb("滚动样式"), Gb("一等奖"))) << "the classic grid needs no key";
  EXPECT_TRUE(SaveRollStyle(settings, Gb("特等奖"), Gb("球体")));
  EXPECT_EQ(LoadRollStyle(settings, Gb("特等奖")), Gb("球体"));
  EXPECT_TRUE(SaveRollStyle(settings, Gb("特等奖"), Gb("经典")));
  EXPECT_EQ(LoadRollStyle(settings, Gb("特等奖")), Gb("经典")) << "set back to classic";
}

TEST(RollStyles, TheSphereSpreadsItsNamesAndTurnsThemToTheFront) {
  const std::vector<SpherePoint> points = SpherePoints(500);
  ASSERT_EQ(points.size(), 500u);
  double sx = 0, sy = 0, sz = 0;
  for (const SpherePoint& p : points) {
    EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-9);
    sx += p.x;
    sy += p.y;
    sz += p.z;
  }
  EXPECT_LT(std::abs(sx) + std::abs(sy) + std::abs(sz), 5.0) << "evenly spread";
  const QSizeF area(1720, 670);
  for (const SpherePoint& p : points) {
    const SpherePlace place = PlaceOnSphere(p, 1.3, 0.28, area);
    EXPECT_TRUE(QRectF(QPointF(0, 0), area).contains(place.centre));
    EXPECT_GE(place.depth, 0);
    EXPECT_LE(place.depth, 1);
  }
  // A point facing the viewer is in front and larger than one facing away.
  const SpherePlace front = PlaceOnSphere({0, 0, 1}, 0, 0, area);
  const SpherePlace back = PlaceOnSphere({0, 0, -1}, 0, 0, area);
  EXPECT_GT(front.depth, 0.99);
  EXPECT_LT(back.depth, 0.01);
  EXPECT_GT(front.scale, back.scale);
  // Half a turn swaps them.
  EXPECT_LT(PlaceOnSphere({0, 0, 1}, M_PI, 0, area).depth, 0.01);
}

TEST(RollStyles, TheCardWallFillsTheAreaWithoutOverlaps) {
  const QSizeF area(1720, 670);
  const CardWall wall = LayOutCardWall(area, 670 / 8.0, 2.8, 2000);
  ASSERT_GT(wall.Count(), 20);
  for (int i = 0; i < wall.Count(); ++i) {
    EXPECT_TRUE(QRectF(QPointF(0, 0), area).adjusted(-0.5, -0.5, 0.5, 0.5).contains(wall.Card(i))) << i;
    if (i + 1 < wall.Count() && (i + 1) % wall.columns != 0) {
      EXPECT_FALSE(wall.Card(i).intersects(wall.Card(i + 1))) << i;
    }
  }
  // A short pool keeps fewer rows instead of repeating names all over the wall.
  EXPECT_LE(LayOutCardWall(area, 670 / 8.0, 2.8, 12).rows, 2);
}

TEST(RollStyles, TheWinnersComeForwardToTheClassicPlaces) {
  for (RollStyle style : {RollStyle::Sphere, RollStyle::CardWall}) {
    RollingPanel panel;
    panel.resize(824, 410);
    QPixmap snapshot(panel.size());
    snapshot.fill(QColor(20, 20, 70));
    panel.SetSnapshot(snapshot);
    QStringList pool;
    for (int i = 0; i < 600; ++i) pool << QStringLiteral("员工%1").arg(i);
    panel.SetRollStyle(style, pool);
    panel.PrepareTextRolling(3, pool.mid(0, 3));
    EXPECT_EQ(panel.CurrentRollStyle(), style);
    panel.BeginTick();
    for (int i = 1; i <= 3; ++i) panel.PaintCandidate(i, pool[i * 100]);
    panel.FinishRoll();
    EXPECT_EQ(panel.Candidates(), (QStringList{pool[100], pool[200], pool[300]}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Revealing(); }, 10000));
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&frame);
    panel.PaintFrame(p);
    p.end();
    // Each winner stands in its cell of the classic grid, in the rolling yellow.
    for (int i = 1; i <= 3; ++i) {
      const QRect cell = panel.TextCell(i, pool[i * 100]);
      int yellow = 0;
      for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
          const QColor c = frame.pixelColor(x, y);
          yellow += c.red() > 235 && c.green() > 235 && c.blue() < 60;
        }
      EXPECT_GT(yellow, cell.width() * cell.height() / 20) << RollStyleName(style).toStdString() << " " << i;
    }
  }
}

}  // namespace
}  // namespace kavrel
