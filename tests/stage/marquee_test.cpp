#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "stage/marquee_label.h"

namespace kavrel {
namespace {

TEST(MarqueeLabel, MovesFiveToTheLeftAndReentersFromTheRightEdge) {
  QWidget stage;
  stage.resize(1024, 768);
  MarqueeLabel marquee(&stage);
  marquee.setGeometry(500, 738, 100, 24);
  marquee.Tick();
  EXPECT_EQ(marquee.pos(), QPoint(495, 738));
  for (int i = 1; i < 119; ++i) marquee.Tick();
  EXPECT_EQ(marquee.x(), -95) << "right edge still at 5";
  marquee.Tick();  // left -100: right edge at 0
  EXPECT_EQ(marquee.x(), 1024);
  EXPECT_EQ(marquee.y(), 738);

  marquee.SetScreenWidth(1920);
  marquee.move(-96, 738);
  marquee.Tick();
  EXPECT_EQ(marquee.x(), 1920);
}

TEST(MarqueeLabel, TheCongratulationLineKeepsThePositionAndFitsTheWidth) {
  QWidget stage;
  stage.resize(1024, 768);
  MarqueeLabel marquee(&stage);
  marquee.SetCaption(QStringLiteral("欢迎参加年会"));
  marquee.move(300, 738);
  const int shortWidth = marquee.width();
  EXPECT_GT(shortWidth, 0);
  const QString line = CongratulationLine(QStringLiteral("三等奖"),
                                          {QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")});
  EXPECT_EQ(line, QStringLiteral("恭喜：【三等奖】张三、李四、王五"));
  marquee.SetCaption(line);
  EXPECT_EQ(marquee.text(), line);
  EXPECT_EQ(marquee.pos(), QPoint(300, 738));
  EXPECT_GT(marquee.width(), shortWidth);
  EXPECT_EQ(marquee.height(), 24);
  EXPECT_EQ(CongratulationLine(QStringLiteral("一等奖"), {}), QStringLiteral("恭喜：【一等奖】"));
}

TEST(MarqueeLabel, OwnsTheFiftyMillisecondTimerRunningFromCreation) {
  QWidget stage;
  MarqueeLabel marquee(&stage);
  auto* timer = stage.findChild<QTimer*>(QStringLiteral("时钟_滚动"));
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 50);
  EXPECT_EQ(stage.findChild<MarqueeLabel*>(QStringLiteral("标签_滚动")), &marquee);
}

}  // namespace
}  // namespace kavrel
