#include "results/result_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "result_folder.h"
#include "results/command_label.h"
#include "results/latest_award_panel.h"
#include "results/winner_show_list.h"
#include "storage/codec.h"
#include "storage/receipt_log.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"

namespace kavrel {
namespace {

using Calls = std::vector<std::string>;
using testing::ResultFolder;

class ResultWindowTest : public ::testing::Test {
 protected:
  ResultWindowTest() {
    settings.resultMusicFile = "/event/wav/bg4.mp3";
    titles = {Gb("2026年度盛典"), Gb("幸运大抽奖")};
  }

  std::unique_ptr<ResultWindow> Open(ResultViewMode mode, QRect screen = {0, 0, 1920, 1080}) {
    // The draw's winners and receipts as the draw would keep them after reading these files.
    const std::vector<ResultLine> winners = LoadResultLog(folder.dir());
    const CurrentResults current{winners, pool, SummarizeReceipts(folder.dir().Path(ProgramDir::kReceiptsLog))};
    auto window = std::make_unique<ResultWindow>(mode, sound, clock, settings, titles, current, nullptr, screen);
    window->show();
    return window;
  }

  static void Press(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }

  static void Key(QWidget* w, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  }

  ResultFolder folder;
  RecordingSoundPort sound;
  FakeClock clock;
  SoundSettings settings;
  StageTitles titles;
  std::vector<std::string> pool;
};

TEST_F(ResultWindowTest, WinnerListShowsNewestFirstAndStopsItsMusicOnClose) {
  folder.UseGolden("same_award_twice.dat");
  for (int opening = 1; opening <= 2; ++opening) {
    auto window = Open(ResultViewMode::WinnerList, {0, 0, 1024, 768});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("查看中奖名单"));
    auto* box = window->findChild<QPlainTextEdit*>(QStringLiteral("超级编辑框1"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->geometry(), QRect(30, 30, 964, 708));
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("三等奖2名(奖品：MP4一部)\n033\n028\n"
                                                 "一等奖1名(奖品：笔记本一台)\n042\n"
                                                 "三等奖2名(奖品：MP4一部)\n017\n012\n"));
    window->close();
    EXPECT_FALSE(window->music().playing());
  }
  // Every opening starts the music again, because every close stopped it.
  EXPECT_EQ(sound.calls, (Calls{"play /event/wav/bg4.mp3 loop", "stop", "play /event/wav/bg4.mp3 loop", "stop"}));
}

TEST_F(ResultWindowTest, WinnerListEndsWithTheSealAndTheLastReceiptsHash) {
  folder.UseGolden("same_award_twice.dat");
  Receipt seal;
  seal.kind = ReceiptKind::Seal;
  seal.seq = 1;
  seal.poolSha256 = ListSha256({"001"});
  seal.planSha256 = ListSha256({});
  seal.seal = EventSeal(seal.poolSha256, seal.planSha256);
  const std::string line = FormatReceipt(seal);
  ASSERT_TRUE(WriteTextFile(folder.dir().Path(ProgramDir::kReceiptsLog), ReceiptLogText({line})));
  auto window = Open(ResultViewMode::WinnerList, {0, 0, 1024, 768});
  const QString text = window->findChild<QPlainTextEdit*>(QStringLiteral("超级编辑框1"))->toPlainText();
  EXPECT_TRUE(text.endsWith(QStringLiteral("\n公证封印：%1（完整：%2）\n最后一条公证记录：%3\n")
                                .arg(QString::fromStdString(ShortSeal(seal.seal)), QString::fromStdString(seal.seal),
                                     QString::fromStdString(Sha256Hex(line)))))
      << text.toStdString();
}

TEST_F(ResultWindowTest, NonWinnerListIsQuietButF9PlaysAndEscapeCloses) {
  pool = {"003", Gb("李四")};
  auto window = Open(ResultViewMode::NonWinnerList);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("查看未中奖名单"));
  EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("超级编辑框1"))->toPlainText(),
            QStringLiteral("未中奖人员信息\n003\n李四\n"));
  EXPECT_TRUE(sound.calls.empty());
  Key(window.get(), Qt::Key_F9);
  EXPECT_TRUE(window->music().playing());
  Key(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(sound.calls, (Calls{"play /event/wav/bg4.mp3 loop", "stop"}));
}

TEST_F(ResultWindowTest, EscapeNeverEndsTheWinnerShow) {
  auto window = Open(ResultViewMode::WinnerShow);
  Key(window.get(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  window.reset();  // destroyed without a close: the music still stops
  EXPECT_EQ(sound.calls.back(), "stop");
}

TEST_F(ResultWindowTest, LatestAwardDrawsTheLastLineOnly) {
  folder.UseGolden("same_award_twice.dat");
  auto window = Open(ResultViewMode::LatestAward);
  auto* panel = window->findChild<LatestAwardPanel*>(QStringLiteral("画板1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 1920, 1080));
  const auto& layout = panel->layout();
  EXPECT_EQ(layout.pointSize, kLatestAwardStartPointSize);
  ASSERT_EQ(layout.texts.size(), 4u);
  EXPECT_EQ(ToQt(layout.texts[0].text), QStringLiteral("三等奖2名"));
  EXPECT_EQ(ToQt(layout.texts[3].text), QStringLiteral("028"));
  EXPECT_EQ(layout.texts[3].x, 960 + 30);
  EXPECT_EQ(layout.texts[2].y, layout.texts[3].y);
  EXPECT_EQ(sound.calls, Calls{"play /event/wav/bg4.mp3 loop"});
}

TEST_F(ResultWindowTest, MissingResultFileLeavesViewsEmptyWithoutAMessage) {
  auto list = Open(ResultViewMode::WinnerList);
  EXPECT_TRUE(list->findChild<QPlainTextEdit*>()->toPlainText().isEmpty());
  auto latest = Open(ResultViewMode::LatestAward);
  EXPECT_TRUE(latest->findChild<LatestAwardPanel*>()->layout().texts.empty());
  auto show = Open(ResultViewMode::WinnerShow);
  EXPECT_EQ(show->findChild<WinnerShowList*>(), nullptr);
  EXPECT_FALSE(show->scrolling());
  EXPECT_TRUE(show->findChild<QLabel*>(QStringLiteral("透明标签_标题"))->isVisible());
  EXPECT_TRUE(show->findChild<CommandLabel*>(QStringLiteral("透明标签_返回"))->isVisible());
  EXPECT_TRUE(show->findChild<CommandLabel*>(QStringLiteral("透明标签_停止音乐"))->isVisible());
  EXPECT_TRUE(QApplication::topLevelWidgets().size() >= 3);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QMessageBox*>(w), nullptr);
}

TEST_F(ResultWindowTest, WinnerShowScrollsTheListAndItsCommandsWork) {
  folder.UseGolden("same_award_twice.dat");
  clock.now = {2026, 3, 9, 21, 30, 0};
  auto window = Open(ResultViewMode::WinnerShow);
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window->windowTitle().isEmpty());
  auto* title = window->findChild<QLabel*>(QStringLiteral("透明标签_标题"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QStringLiteral("2026年度盛典\n幸运大抽奖\n2026-03-09  抽奖结果\n") + QString(50, u'-'));
  EXPECT_EQ(title->geometry(), QRect(0, 35, 1920, 150));
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("画板2"))->geometry(), QRect(0, 0, 1920, 150));
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("画板3"))->geometry(), QRect(0, 150, 1920, 930));
  auto* back = window->findChild<CommandLabel*>(QStringLiteral("透明标签_返回"));
  auto* stop = window->findChild<CommandLabel*>(QStringLiteral("透明标签_停止音乐"));
  EXPECT_EQ(back->geometry(), QRect(1850, 15, 60, 30));
  EXPECT_EQ(stop->geometry(), QRect(1760, 15, 80, 30));

  auto* list = window->findChild<WinnerShowList*>(QStringLiteral("透明标签2"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rowCount(), 3 * 3 + 5);  // heading, prize and blank line per award, 5 winners
  EXPECT_EQ(list->height(), list->rowCount() * list->pitch());
  EXPECT_EQ(list->y(), 930);
  EXPECT_TRUE(window->scrolling());
  window->ScrollTick();
  EXPECT_EQ(list->y(), 929);
  // After leaving the area at the top it comes back from the bottom of the screen.
  while (list->y() + list->height() > 1) window->ScrollTick();
  window->ScrollTick();
  EXPECT_EQ(list->y(), 1080);

  Press(stop, Qt::RightButton);
  Press(stop);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->scrolling());
  EXPECT_FALSE(window->music().playing());
  Key(window.get(), Qt::Key_F9);
  EXPECT_TRUE(window->music().playing());
  Press(back);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->scrolling());
  EXPECT_EQ(sound.calls.front(), "play /event/wav/bg4.mp3 loop");
  EXPECT_EQ(sound.calls.back(), "stop");
  EXPECT_FALSE(window->music().playing());
}

TEST_F(ResultWindowTest, MusicSwitchedOffStaysOffInEveryView) {
  settings.resultMusicOn = false;
  for (auto mode : {ResultViewMode::WinnerList, ResultViewMode::NonWinnerList, ResultViewMode::LatestAward,
                    ResultViewMode::WinnerShow}) {
    auto window = Open(mode, {0, 0, 800, 600});
    Key(window.get(), Qt::Key_F9);
    EXPECT_FALSE(window->music().playing());
  }
  EXPECT_EQ(sound.calls, Calls(4, "stop"));
}

}  // namespace
}  // namespace kavrel
