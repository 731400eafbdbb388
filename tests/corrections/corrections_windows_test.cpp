#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <filesystem>

#include "corrections/abandon_window.h"
#include "corrections/prize_change_window.h"
#include "corrections/supplement_window.h"
#include "engine/plan.h"
#include "settings/picture_panel.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "support/stage_parts.h"
#include "support/when_shown.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

// A small event on the stage: ten participants, a first prize of three and a second prize of two.
class CorrectionWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= 10; ++i) pool += "0" + std::to_string(10 + i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                              Gb("一等奖,3,1,1,3,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,,\r\n")));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                              Gb("一等奖,3,1,3,奖品：手机,\r\n二等奖,2,1,2,奖品：耳机,\r\n")));
    // Batches of a few winners are revealed slowly on the stage; these tests are about the corrections.
    Settings(dir.Path(ProgramDir::kConfigIni)).WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 0);
    Open();
  }
  // The program started over the files as they are.
  void Open() {
    stage.reset();
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage =
        std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage->show();
    ActivateForKeys(stage.get());
    stage->StartUp();
  }
  void Press(int qtKey) { PressKey(stage.get(), qtKey); }
  void DrawOneBatch() {
    Press(Qt::Key_Space);
    session->Tick();
    Press(Qt::Key_Space);
  }
  QString Label(StageElement e) const {
    switch (e) {
      case StageElement::AwardLabel:
        return StageElementsOf(*stage).award->text();
      case StageElement::PrizeLabel:
        return StageElementsOf(*stage).prizeName->text();
      default:
        return StageElementsOf(*stage).status->text();
    }
  }

  QTemporaryDir tmp;
  ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
};

TEST_F(CorrectionWindows, AbandonTwoWithARedrawFromF3) {
  DrawOneBatch();
  const auto winners = LoadResultLog(dir).back().winners;
  ASSERT_EQ(winners.size(), 3u);

  bool refusedAndStillOpen = false;
  WhenShown<AbandonWindow>([&](AbandonWindow* w) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("弃奖"));
    EXPECT_EQ(Items(w->awards()), QStringList{QStringLiteral("一等奖")});
    EXPECT_EQ(Find<QLineEdit>(w, "编辑框_奖品名称")->text(), QStringLiteral("奖品：手机"));
    EXPECT_TRUE(Find<QCheckBox>(w, "选择框_弃奖后处理方式")->isChecked());
    auto* redraw = Find<QCheckBox>(w, "选择框_弃奖后是否补抽");
    auto* quota = Find<QLineEdit>(w, "编辑框_补抽名额");
    auto* batches = Find<QLineEdit>(w, "编辑框_批次");
    EXPECT_FALSE(redraw->isChecked());
    QListWidget* list = w->winners();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), ToQt(winners[0]));
    redraw->setChecked(true);
    EXPECT_EQ(quota->text(), QStringLiteral("0"));
    list->item(0)->setCheckState(Qt::Checked);
    list->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(quota->text(), QStringLiteral("2"));
    EXPECT_EQ(batches->text(), QStringLiteral("1"));
    Shot(w, "abandon_window.png");

    batches->setText(QStringLiteral("3"));
    Find<QPushButton>(w, "按钮_弃奖")->click();
    refusedAndStillOpen = w->isVisible() && prompter.MessageTexts().back() == Gb("批次不能大于中奖名额");
    batches->setText(QStringLiteral("1"));
    Find<QPushButton>(w, "按钮_弃奖")->click();
  });
  Press(Qt::Key_F3);
  EXPECT_TRUE(refusedAndStillOpen);

  const std::string mark = AbandonedMark();
  const auto line = LoadResultLog(dir).front();
  EXPECT_EQ(line.winners, (std::vector<std::string>{winners[0] + mark, winners[1], winners[2] + mark}));
  EXPECT_EQ(session->Draw().pool.size(), 9u);
  EXPECT_EQ(Label(StageElement::AwardLabel), QStringLiteral("补抽一等奖"));
  EXPECT_EQ(Label(StageElement::StatusLabel),
            QStringLiteral("准备抽取【补抽一等奖】，本轮抽2名（第1轮/总1轮，已抽0名/共2名)"));
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kExitIni)));

  // Given up once: listed as recorded, but not to be ticked again. Cancel changes nothing.
  WhenShown<AbandonWindow>([&](AbandonWindow* w) {
    QListWidget* list = w->winners();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), ToQt(winners[0] + mark));
    EXPECT_FALSE(list->item(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(list->item(1)->flags() & Qt::ItemIsUserCheckable);
    Find<QPushButton>(w, "按钮_取消")->click();
  });
  Press(Qt::Key_F3);
  EXPECT_EQ(session->Draw().plan.size(), 2u);

  // Never while candidates roll.
  Press(Qt::Key_Space);
  prompter.Clear();
  Press(Qt::Key_F3);
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("正在抽奖中，请先停止本轮抽奖，再弃奖！")});
}

TEST_F(CorrectionWindows, SupplementForAnAwardMadeUpOnTheSpotFromF4) {
  WhenShown<SupplementWindow>([&](SupplementWindow* w) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("补奖设定"));
    EXPECT_EQ(Items(w->awards()), (QStringList{"其它奖项", "一等奖", "二等奖"}));
    auto* prize = Find<QLineEdit>(w, "编辑框_奖品名称");
    auto* pick = Find<QToolButton>(w, "图形按钮1");
    // The award the draw is at, not the last of the table.
    EXPECT_EQ(w->awards()->currentIndex(), 1);
    EXPECT_EQ(prize->text(), QStringLiteral("奖品：手机"));
    EXPECT_FALSE(prize->isEnabled());
    EXPECT_TRUE(pick->isHidden());
    auto* name = Find<QLineEdit>(w, "编辑框_奖项名称");
    EXPECT_TRUE(name->isHidden());

    w->awards()->setCurrentIndex(0);
    EXPECT_TRUE(prize->text().isEmpty());
    EXPECT_TRUE(prize->isEnabled());
    EXPECT_FALSE(pick->isHidden());
    EXPECT_FALSE(name->isHidden());
    prize->setText(QStringLiteral("鲜花一束"));
    auto* quota = Find<QLineEdit>(w, "编辑框_补抽名额");
    quota->setText(QStringLiteral("3"));
    EXPECT_EQ(Find<QLineEdit>(w, "编辑框_批次")->text(), QStringLiteral("1"));
    auto* ok = Find<QPushButton>(w, "按钮_确定");
    ok->click();  // no name yet: asked for one, the window stays
    name->setText(QStringLiteral("一等奖"));
    ok->click();  // a table award's name is refused
    EXPECT_TRUE(w->isVisible());
    name->setText(QStringLiteral("董事长特别奖"));
    Shot(w, "supplement_window.png");
    prompter.ScriptAnswer(Answer::Cancel);
    ok->click();  // the question answered Cancel: look again
    EXPECT_TRUE(w->isVisible());
    ok->click();
  });
  prompter.Clear();
  Press(Qt::Key_F4);
  const auto texts = prompter.MessageTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].rfind(Gb("请在“奖项名称”中填写"), 0), 0u);
  EXPECT_EQ(texts[1], Gb("奖项表中已有【一等奖】，请在“补抽奖项”中直接选择它，或另取一个名称。"));
  EXPECT_EQ(texts[3], Gb("将补抽【董事长特别奖】3名，分1批抽取，奖品：鲜花一束。\n"
                         "补抽的批次排在尚未抽取的批次之前，其他奖项不变。\n确定补抽吗？"));
  EXPECT_EQ(session->Draw().plan.front(), Gb("董事长特别奖,3,1,1,3,鲜花一束,,"));
  EXPECT_EQ(Label(StageElement::AwardLabel), QStringLiteral("董事长特别奖"));
  EXPECT_EQ(Label(StageElement::PrizeLabel), QStringLiteral("鲜花一束"));
  DrawOneBatch();
  EXPECT_EQ(LoadResultLog(dir).back().awardName, Gb("董事长特别奖"));

  // Cancel queues nothing and leaves the stage as it was.
  WhenShown<SupplementWindow>([](SupplementWindow* w) { Find<QPushButton>(w, "按钮_取消")->click(); });
  const std::size_t planned = session->Draw().plan.size();
  Press(Qt::Key_F4);
  EXPECT_EQ(session->Draw().plan.size(), planned);
}

TEST_F(CorrectionWindows, PrizeChangeOfTheNextBatchShowsAtOnceFromF8) {
  const QString picture = tmp.filePath(QStringLiteral("pad.png"));
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture));
  ASSERT_TRUE(
      WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                    Gb("一等奖,3,1,1,3,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,") + FromQt(picture) + ",\r\n"));
  Open();

  WhenShown<PrizeChangeWindow>([&](PrizeChangeWindow* w) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("临时修改奖品名称"));
    EXPECT_TRUE(Find<QLabel>(w, "标签1")->text().startsWith(QStringLiteral("修改说明：")));
    EXPECT_EQ(Items(w->batches()), (QStringList{"一等奖第1批", "二等奖第1批"}));
    // The batch the draw is at, not the last one.
    EXPECT_EQ(w->batches()->currentIndex(), 0);
    auto* name = Find<QLineEdit>(w, "编辑框_奖品名称");
    auto* path = Find<QLineEdit>(w, "编辑框_奖品图片");
    EXPECT_EQ(name->text(), QStringLiteral("奖品：手机"));
    w->batches()->setCurrentIndex(1);
    EXPECT_EQ(name->text(), QStringLiteral("奖品：耳机"));
    EXPECT_EQ(path->text(), picture);
    EXPECT_FALSE(w->preview()->Picture().isNull());
    Shot(w, "prize_change_window.png");

    // The first batch has no picture: nothing of the second one's is carried over.
    w->batches()->setCurrentIndex(0);
    EXPECT_EQ(name->text(), QStringLiteral("奖品：手机"));
    EXPECT_TRUE(path->text().isEmpty());
    EXPECT_TRUE(w->preview()->Picture().isNull());
    name->setText(QStringLiteral("奖品：平板电脑"));
    prompter.ScriptAnswer(Answer::Cancel);
    Find<QPushButton>(w, "按钮_确定")->click();
    EXPECT_TRUE(w->isVisible()) << "Cancel on the question keeps the window open";
    Find<QPushButton>(w, "按钮_确定")->click();
  });
  prompter.Clear();
  Press(Qt::Key_F8);
  EXPECT_EQ(
      prompter.MessageTexts(),
      std::vector<std::string>(2, Gb("将修改【一等奖第1批】（即将抽取的这一批）：\n奖品名称由“奖品：手机”改为“奖品："
                                     "平板电脑”\n只改这一批，奖项设置不变。确定修改吗？")));
  EXPECT_EQ(session->Draw().plan[0], Gb("一等奖,3,1,1,3,奖品：平板电脑,,"));
  EXPECT_EQ(Label(StageElement::PrizeLabel), QStringLiteral("奖品：平板电脑"));
  const QRect prize = StageElementsOf(*stage).prizeName->geometry();
  EXPECT_EQ(prize.right() + 1, stage->ScreenRect().width() - 5) << "right-aligned 5 pixels from the edge";

  DrawOneBatch();
  EXPECT_EQ(LoadResultLog(dir).back().prizeName, Gb("奖品：平板电脑"));
}

}  // namespace
}  // namespace kavrel
