// Renders every view at the usual projector sizes. With KAVREL_RESULTS_SHOTS set to a folder the
// pictures are written there as PNG for a person to look at; either way the test checks that each
// view paints and that the winner show's text appears in its list area.
#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QImage>

#include "result_folder.h"
#include "results/command_label.h"
#include "results/latest_award_panel.h"
#include "results/result_window.h"
#include "results/winner_show_list.h"
#include "storage/codec.h"
#include "storage/stage_settings.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"

namespace kavrel {
namespace {

std::string SampleResult() {
  const char* names[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊", "黄敏", "周杰", "吴婷",
                         "徐强", "孙丽", "马超", "朱琳", "胡斌", "郭燕", "何平", "高翔", "林峰", "罗丹"};
  struct Award {
    const char* name;
    const char* prize;
    int winners;
  } awards[] = {{"三等奖", "奖品：蓝牙音箱一台", 20},
                {"二等奖", "奖品：平板电脑一台", 10},
                {"一等奖", "奖品：笔记本电脑一台", 3},
                {"特等奖", "奖品：新能源汽车一辆", 1}};
  std::string text;
  int next = 0;
  for (const auto& award : awards) {
    if (!text.empty()) text += "\r\n";
    text += Gb(award.name) + "-" + Gb(award.prize) + "-";
    for (int k = 0; k < award.winners; ++k, ++next)
      text += Gb(names[next % 20]) + (next == 7 ? Gb("(已弃奖)") : "") + "-";
  }
  return text;
}

int YellowPixels(const QImage& image, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); y += 2)
    for (int x = area.left(); x <= area.right(); x += 2) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 230 && c.green() > 230 && c.blue() < 60) ++count;
    }
  return count;
}

TEST(ResultWindowLooks, EveryViewPaintsAtProjectorSizes) {
  // The program registers these substitutions at start-up; fontconfig knows none of the names.
  QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
  QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC"));
  QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC"));

  testing::ResultFolder folder;
  folder.WriteResult(SampleResult());
  RecordingSoundPort sound;
  FakeClock clock;
  SoundSettings settings;
  const StageTitles titles{Gb("2026年度盛典"), Gb("幸运大抽奖")};
  const std::vector<std::string> pool = {"001", Gb("张三"), Gb("李四"), "004"};
  const QString shots = qEnvironmentVariable("KAVREL_RESULTS_SHOTS");
  if (!shots.isEmpty()) QDir().mkpath(shots);

  for (QSize size : {QSize(1920, 1080), QSize(1024, 768), QSize(800, 600)}) {
    for (int mode = 1; mode <= 4; ++mode) {
      const std::vector<ResultLine> winners = LoadResultLog(folder.dir());
      ResultWindow window(static_cast<ResultViewMode>(mode), sound, clock, settings, titles, {winners, pool, {}},
                          nullptr, QRect(QPoint(0, 0), size));
      window.show();
      if (mode == 4)
        for (int i = 0; i < size.height() / 2; ++i) window.ScrollTick();
      const QImage image = window.grab().toImage();
      ASSERT_EQ(image.size(), size);
      if (mode == 4) {
        const auto* list = window.findChild<WinnerShowList*>();
        ASSERT_NE(list, nullptr);
        EXPECT_GT(YellowPixels(image, QRect(0, 150, size.width(), size.height() - 150)), 50);
        EXPECT_LE(list->cachedTileCount(), 4);
      }
      if (!shots.isEmpty())
        image.save(
            QDir(shots).filePath(QStringLiteral("view%1_%2x%3.png").arg(mode).arg(size.width()).arg(size.height())));
    }
  }
}

TEST(ResultWindowLooks, LatestAwardTooLongForAnyFontSizeIsCutAndCounted) {
  testing::ResultFolder folder;
  std::string line = Gb("幸运奖-奖品：纪念品一份-");
  for (int k = 1; k <= 300; ++k) line += std::to_string(10000 + k) + "-";
  folder.WriteResult(line);
  RecordingSoundPort sound;
  FakeClock clock;
  const std::vector<ResultLine> winners = LoadResultLog(folder.dir());
  const std::vector<std::string> pool;
  ResultWindow window(ResultViewMode::LatestAward, sound, clock, SoundSettings{}, StageTitles{}, {winners, pool, {}},
                      nullptr, QRect(0, 0, 1024, 768));
  window.show();
  const auto* panel = window.findChild<LatestAwardPanel*>();
  ASSERT_NE(panel, nullptr);
  const auto& layout = panel->layout();
  EXPECT_EQ(layout.pointSize, kLatestAwardMinPointSize);
  EXPECT_GT(layout.hiddenWinners, 0);
  EXPECT_EQ(layout.texts.back().text, HiddenWinnersText(layout.hiddenWinners));
  EXPECT_LE(layout.texts.back().y + layout.lineHeight, 768);
  const QString shots = qEnvironmentVariable("KAVREL_RESULTS_SHOTS");
  if (!shots.isEmpty()) window.grab().save(QDir(shots).filePath(QStringLiteral("view3_cut_1024x768.png")));
}

TEST(ResultWindowLooks, CommandWordsSitOnADarkPlateOverAnyPicture) {
  // The brightest parts of the band's picture: a gold lantern cap and a red lantern.
  for (const QColor& behind : {QColor(0xFF, 0xE0, 0x8A), QColor(0xD0, 0x20, 0x20)}) {
    QWidget band;
    band.setAutoFillBackground(true);
    QPalette palette = band.palette();
    palette.setColor(QPalette::Window, behind);
    band.setPalette(palette);
    band.resize(120, 40);
    auto* back = new CommandLabel(QStringLiteral("返回"), QSize(60, 30), &band);
    back->move(50, 5);
    const QImage image = band.grab().toImage();
    // Off the words, inside the plate: dark enough for the green and white words to stand out.
    const QColor plate = image.pixelColor(50 + 4, 5 + 15);
    EXPECT_LT(plate.lightness(), behind.lightness() / 2) << behind.name().toStdString();
    EXPECT_EQ(image.pixelColor(10, 20), behind) << "the plate stays within the label";
    // The words are still green.
    int green = 0;
    for (int y = 5; y < 35; ++y)
      for (int x = 50; x < 110; ++x) {
        const QColor c = image.pixelColor(x, y);
        green += c.green() > 200 && c.red() < 80 && c.blue() < 80;
      }
    EXPECT_GT(green, 20);
  }
}

}  // namespace
}  // namespace kavrel
