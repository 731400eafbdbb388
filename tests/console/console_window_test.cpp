#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "console/console_texts.h"
#include "console/operator_console_window.h"
#include "console/stage_display.h"
#include "console/stage_thumbnail.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "support/stage_parts.h"
#include "support/when_shown.h"

namespace kavrel {
namespace {

// A small event: six participants, a first prize of two in two batches of one, then a second prize of
// three in one batch.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= 6; ++i) pool += "000" + std::to_string(i) + Gb("  选手") + std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                              Gb("一等奖,2,2,1,1,奖品：手机,,\r\n一等奖,2,2,2,1,奖品：手机,,\r\n"
                                 "二等奖,3,1,1,3,奖品：耳机,,\r\n")));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteText(Gb("标题设置"), Gb("主标题"), Gb("年会抽奖"));
    settings.WriteText(Gb("标题设置"), Gb("副标题"), Gb("2027 新春"));
    settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), false);
    // Batches of a few winners are revealed slowly on the stage; these tests are about the rest.
    settings.WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 0);
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage =
        std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage->show();
    stage->StartUp();
    link = std::make_unique<StageLinkTo<StageWindow>>(*stage);
    console = std::make_unique<OperatorConsoleWindow>(*session, *link);
    stage->SetOperatorWindow(console.get());
    console->show();
    ActivateForKeys(console.get());
  }

  void Press(int qtKey) {
    PressKey(console.get(), qtKey);
    QApplication::processEvents();  // the console shows a change once its handler is done
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) session->Tick();
  }
  QString Label(const char* name) const { return console->findChild<QLabel*>(QString::fromUtf8(name))->text(); }
  QTableWidget* Plan() const { return console->findChild<QTableWidget*>(QStringLiteral("表格_抽奖计划")); }
  // The plan as the operator reads it: "▶一等奖 第2轮/共2轮 1名 奖品：手机" per row.
  std::vector<QString> PlanRows() const {
    std::vector<QString> rows;
    for (int r = 0; r < Plan()->rowCount(); ++r) {
      QStringList cells;
      for (int c = 1; c < 5; ++c) cells << Plan()->item(r, c)->text();
      rows.push_back(Plan()->item(r, 0)->text() + cells.join(QLatin1Char(' ')));
    }
    return rows;
  }
  std::vector<QString> Winners() const {
    auto* list = console->findChild<QListWidget*>(QStringLiteral("列表_中奖人员"));
    std::vector<QString> rows;
    for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text());
    return rows;
  }

  QTemporaryDir tmp;
  ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
  std::unique_ptr<StageLink> link;
  std::unique_ptr<OperatorConsoleWindow> console;
};

TEST_F(ConsoleTest, FollowsAScriptedDrawDrivenFromTheConsole) {
  EXPECT_EQ(Label("标签_主标题"), QStringLiteral("年会抽奖"));
  EXPECT_EQ(Label("标签_副标题"), QStringLiteral("2027 新春"));
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("准备就绪 — 按空格键开始滚动"));
  EXPECT_EQ(Label("标签_进度"), QStringLiteral("准备抽取【一等奖】，本轮抽1名（第1轮/总2轮，已抽0名/共2名)"));
  EXPECT_EQ(Label("标签_奖池"), QStringLiteral("奖池：共 6 人"));
  EXPECT_EQ(PlanRows(), (std::vector<QString>{QStringLiteral("▶一等奖 第1轮/共2轮 1名 奖品：手机"),
                                              QStringLiteral("一等奖 第2轮/共2轮 1名 奖品：手机"),
                                              QStringLiteral("二等奖 第1轮/共1轮 3名 奖品：耳机")}));
  EXPECT_TRUE(Winners().empty());

  // A presenter remote's "next" on the console: the stage rolls.
  Press(Qt::Key_PageDown);
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("正在滚动 — 按空格键停止"));
  Ticks(2);
  Press(Qt::Key_PageUp);  // "back" on a remote: stops as space does
  ASSERT_TRUE(session->Draw().WinnersShown());
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("本批已抽出 — 按空格键宣布下一批"));
  EXPECT_EQ(Label("标签_进度"), QStringLiteral("已抽取【一等奖】，本轮抽1名（第1轮/总2轮，已抽1名/共2名)"));
  EXPECT_EQ(Label("标签_奖池"), QStringLiteral("奖池：共 5 人"));
  // The batch whose winners are on screen stays marked until the next one is announced.
  EXPECT_EQ(PlanRows(), (std::vector<QString>{QStringLiteral("▶一等奖 第1轮/共2轮 1名 奖品：手机"),
                                              QStringLiteral("一等奖 第2轮/共2轮 1名 奖品：手机"),
                                              QStringLiteral("二等奖 第1轮/共1轮 3名 奖品：耳机")}));
  const std::string first = session->Draw().recordedEntries.at(0);
  EXPECT_EQ(Winners(), std::vector<QString>{QStringLiteral("一等奖  ") + ToQt(first).trimmed() +
                                            QStringLiteral("  （奖品：手机）")});

  // Announce, roll and stop the second batch with F5 and PageDown, then the last with space.
  Press(Qt::Key_F5);
  EXPECT_EQ(Label("标签_进度"), QStringLiteral("准备抽取【一等奖】，本轮抽1名（第2轮/总2轮，已抽1名/共2名)"));
  Press(Qt::Key_PageDown);
  Ticks(1);
  Press(Qt::Key_PageUp);
  const std::string second = session->Draw().recordedEntries.at(0);
  Press(Qt::Key_Space);
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().WinnersShown());
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("最后一批已抽出 — 按空格键显示“抽奖完毕！”"));
  EXPECT_EQ(PlanRows(), std::vector<QString>{QStringLiteral("▶二等奖 第1轮/共1轮 3名 奖品：耳机")});
  EXPECT_EQ(Label("标签_奖池"), QStringLiteral("奖池：共 1 人"));
  // Newest first: the three second prizes, then the second and the first batch of the first prize.
  const std::vector<QString> won = Winners();
  ASSERT_EQ(won.size(), 5u);
  EXPECT_TRUE(won[0].startsWith(QStringLiteral("二等奖  "))) << won[0].toStdString();
  EXPECT_EQ(won[3], QStringLiteral("一等奖  ") + ToQt(second).trimmed() + QStringLiteral("  （奖品：手机）"));
  EXPECT_EQ(won[4], QStringLiteral("一等奖  ") + ToQt(first).trimmed() + QStringLiteral("  （奖品：手机）"));

  // F2 from the console takes the last batch back; the console shows it ready at once.
  prompter.ScriptAnswer(Answer::Ok);
  Press(Qt::Key_F2);
  EXPECT_EQ(Winners().size(), 2u);
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("准备就绪 — 按空格键开始滚动"));
  EXPECT_EQ(PlanRows(), std::vector<QString>{QStringLiteral("▶二等奖 第1轮/共1轮 3名 奖品：耳机")});
  EXPECT_EQ(Label("标签_奖池"), QStringLiteral("奖池：共 4 人"));
}

// Each state's words against what the next press then does on the stage: a blackout, the last batch,
// the finished stage, the winner show on the projector (closed from the console), the press after it.
TEST_F(ConsoleTest, TheStateTextSaysWhatTheNextPressDoes) {
  auto* startStop = console->findChild<QPushButton*>(QStringLiteral("按钮_开始停止"));
  Press(Qt::Key_B);
  QApplication::processEvents();
  console->Refresh();
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("黑屏中 — 按空格键只恢复画面（不开始也不停止）"));
  EXPECT_EQ(startStop->text(), QStringLiteral("恢复画面  （空格）"));
  Press(Qt::Key_Space);
  EXPECT_FALSE(stage->blanked());
  EXPECT_FALSE(session->Draw().Rolling()) << "the press only brought the picture back";
  console->Refresh();
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("准备就绪 — 按空格键开始滚动"));

  for (int batch = 0; batch < 3; ++batch) {
    if (batch > 0) Press(Qt::Key_Space);  // announce
    Press(Qt::Key_Space);
    Ticks(1);
    Press(Qt::Key_Space);
  }
  ASSERT_TRUE(session->Draw().WinnersShown());
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("最后一批已抽出 — 按空格键显示“抽奖完毕！”"));
  Press(Qt::Key_Space);
  EXPECT_EQ(StageElementsOf(*stage).centre->text(), QStringLiteral("抽奖完毕！"));
  // The press that showed "抽奖完毕！" waits for its stop press, as a roll would: the next one changes nothing.
  const QString nothing = QStringLiteral("全部奖项已抽完 — 下一次按空格键没有变化，再按一次展示全部中奖人员");
  EXPECT_EQ(Label("标签_状态"), nothing);
  EXPECT_NE(startStop->text(), QStringLiteral("停止  （空格）"));
  EXPECT_FALSE(Label("标签_进度").contains(QStringLiteral("准备抽取")));
  prompter.Clear();
  Press(Qt::Key_Space);
  EXPECT_TRUE(prompter.shown().empty()) << "nothing changed, as said";
  EXPECT_EQ(Label("标签_状态"), QStringLiteral("全部奖项已抽完 — 按空格键提示并展示全部中奖人员"));
  EXPECT_EQ(startStop->text(), QStringLiteral("展示中奖名单  （空格）"));

  // The show covers the stage; the console says space does nothing there and closes it.
  bool closedFromConsole = false;
  WhenShown<QDialog>([&](QDialog* show) {
    console->Refresh();
    EXPECT_TRUE(Label("标签_状态").startsWith(QStringLiteral("舞台正在展示全部中奖人员名单（F6） — 空格键不起作用")));
    EXPECT_FALSE(startStop->isEnabled());
    QPushButton* close = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return (close = show->findChild<QPushButton*>(QStringLiteral("按钮_关闭展示"))) && close->isVisible();
    }));
    if (close) close->click();
    closedFromConsole = !show->isVisible();
  });
  prompter.Clear();
  Press(Qt::Key_Space);
  EXPECT_TRUE(closedFromConsole);
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("全部奖项已经抽取完毕！")});
  console->Refresh();
  EXPECT_EQ(Label("标签_状态"), nothing);
}

// The states no scripted draw above reaches: no list, no award yet, the lock.
TEST(ConsoleTexts, NoListNoAwardAndTheLockAreSaid) {
  DrawState state;
  EXPECT_EQ(ConsolePhaseText(state), QStringLiteral("还没有抽奖名单 — 按空格键只会提示先导入名单"));
  state.pool = {"0001"};
  EXPECT_EQ(ConsolePhaseText(state),
            QStringLiteral("还没有设置奖项 — 按空格键只会提示先设定奖项（设定 → 主副标题/奖项设定）"));
  StageSituation locked;
  locked.locked = true;
  const ConsoleNextPress next = ConsoleNextPressText(state, locked);
  EXPECT_EQ(next.phase, QStringLiteral("屏幕已锁定 — 在锁屏框中输入解锁口令"));
  EXPECT_FALSE(next.buttonWorks);
}

TEST_F(ConsoleTest, ButtonsRunTheStageCommands) {
  auto* startStop = console->findChild<QPushButton*>(QStringLiteral("按钮_开始停止"));
  ASSERT_NE(startStop, nullptr);
  EXPECT_EQ(startStop->focusPolicy(), Qt::NoFocus);
  startStop->click();
  EXPECT_TRUE(session->Draw().Rolling());
  QApplication::processEvents();
  EXPECT_EQ(startStop->text(), QStringLiteral("停止  （空格）"));

  // A correction asked for while the candidates roll is refused with a message, and the roll goes on.
  auto* abandon = console->findChild<QPushButton*>(QStringLiteral("按钮_弃奖"));
  ASSERT_TRUE(abandon->isEnabled());
  prompter.Clear();
  abandon->click();
  EXPECT_EQ(prompter.shown().size(), 1u);
  EXPECT_TRUE(session->Draw().Rolling());
  auto* menu = console->findChild<QPushButton*>(QStringLiteral("按钮_舞台菜单"));
  ASSERT_TRUE(menu->isEnabled());
  menu->click();
  EXPECT_TRUE(stage->menuBarShown());
  // The operator's windows open over the console, the audience's stay on the stage.
  EXPECT_EQ(stage->OperatorWindow(), console.get());
}

TEST_F(ConsoleTest, MovingTheStageChangesNothingInTheDraw) {
  Press(Qt::Key_Space);
  Ticks(3);
  const std::vector<int> picked = session->Draw().batchWinners;
  stage->MoveToScreen(QGuiApplication::primaryScreen());
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_EQ(session->Draw().batchWinners, picked);
  EXPECT_TRUE(DrawTimerOf(*stage)->isActive());
  EXPECT_EQ(stage->geometry(), QGuiApplication::primaryScreen()->geometry());
  Press(Qt::Key_Space);
  EXPECT_TRUE(session->Draw().WinnersShown());

  // The thumbnail is the stage's own painting, at the size asked for, once the stage has painted.
  QImage thumb;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !(thumb = RenderStageThumbnail(*stage, QSize(192, 108))).isNull(); }, 5000));
  EXPECT_EQ(thumb.size(), QSize(192, 108));
  EXPECT_NE(thumb.pixel(96, 54), qRgb(0, 0, 0));
}

TEST_F(ConsoleTest, WithOneScreenTheStageStandsAloneAndTheChoiceExplainsWhy) {
  console.reset();
  stage->SetOperatorWindow(nullptr);
  QWidget* parent = nullptr;
  StageDisplay display(*link, *session, prompter, dir, [&](QWidget* w) { parent = w; });
  display.Start();
  EXPECT_EQ(display.placement(), (ScreenPlacement{0, -1}));
  EXPECT_EQ(display.console(), nullptr);
  EXPECT_EQ(parent, stage.get());
  EXPECT_EQ(stage->OperatorWindow(), stage.get());

  prompter.ScriptAnswer(Answer::Ok);
  stage->RunCommand(StageCommand::ExtendedDisplay);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_TRUE(ToQt(prompter.shown()[0].text).startsWith(QStringLiteral("只找到一个显示屏。")));
}

}  // namespace
}  // namespace kavrel
