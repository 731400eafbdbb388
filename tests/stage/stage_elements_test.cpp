#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include "engine/stage_music.h"
#include "stage/custom_background.h"
#include "stage/layout_edit.h"
#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "storage/codec.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

const QColor kStageColour(150, 20, 30);

// A stage with a plain background, so blended pictures can be checked pixel by pixel.
struct Stage {
  QWidget window;
  StageElements e;
  Stage() {
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, kStageColour);
    window.setPalette(pal);
    e = CreateStageElements(&window);
  }
  void Layout(int w, int h) {
    LayoutStageWidgets(e, QRect(0, 0, w, h));
    LayoutStageWidgets(e, QRect(0, 0, w, h));
  }
};

TEST(StageElements, AreNamedAfterTheDesignAndStartInTheReadyLook) {
  Stage s;
  for (const char* name : {"透明标签_主标题", "透明标签_副标题", "透明标签_奖项", "透明标签_奖品名称",
                           "透明标签_中奖号码", "透明标签_抽奖人", "透明标签_抽奖状态"}) {
    EXPECT_NE(s.window.findChild<StageLabel*>(QString::fromUtf8(name)), nullptr) << name;
  }
  EXPECT_NE(s.window.findChild<RollingPanel*>(QStringLiteral("画板_滚动")), nullptr);
  EXPECT_NE(s.window.findChild<PrizePicturePanel*>(QStringLiteral("画板_奖品图片")), nullptr);
  EXPECT_NE(s.window.findChild<QTimer*>(QStringLiteral("时钟_滚动")), nullptr);
  EXPECT_EQ(s.e.centre->text(), QStringLiteral("按空格键开始抽取"));
  EXPECT_TRUE(s.e.rolling->isHidden());
  EXPECT_TRUE(s.e.prizePicture->isHidden());
  EXPECT_EQ(s.e.startButton->text(), QStringLiteral("开始"));
  EXPECT_EQ(s.e.stopButton->text(), QStringLiteral("停止"));
  EXPECT_EQ(s.e.startButton->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(s.e.startButton->size(), QSize(129, 50));
  EXPECT_EQ(s.e.mainTitle->Effect(), LabelEffect::Shadow);
  EXPECT_EQ(s.e.award->TextColour(), kPaleCaption);
}

TEST(StageElements, LayoutOn1024x768CentresTheTitleAndPutsTheButtonsAboveTheMarquee) {
  Stage s;
  s.e.mainTitle->setText(QStringLiteral("2026年度表彰大会"));
  s.e.status->setText(QStringLiteral("准备抽取【三等奖】，本轮抽5名（第1轮/总2轮，已抽0名/共10名)"));
  s.e.marquee->SetCaption(QStringLiteral("欢迎光临"));
  s.e.marquee->move(-40, 700);  // scrolled somewhere
  s.Layout(1024, 768);
  EXPECT_EQ(s.window.geometry(), QRect(0, 0, 1024, 768));
  EXPECT_EQ(s.e.mainTitle->y(), 8);
  EXPECT_LE(std::abs(s.e.mainTitle->x() * 2 + s.e.mainTitle->width() - 1024), 1);
  EXPECT_EQ(s.e.marquee->pos(), QPoint(500, 738));
  EXPECT_EQ(s.e.startButton->geometry(), QRect(333, 668, 129, 50));
  EXPECT_EQ(s.e.stopButton->geometry(), QRect(562, 668, 129, 50));
  EXPECT_EQ(s.e.status->y() + s.e.status->height() + 5, 668);
  EXPECT_EQ(s.e.drawer->y() + s.e.drawer->height() + 5, s.e.status->y());
  EXPECT_EQ(s.e.rolling->geometry().left(), 100);
  EXPECT_EQ(s.e.rolling->width(), 824);
  EXPECT_EQ(s.e.rolling->y(), s.e.award->y() + s.e.award->height() + 5);
  EXPECT_EQ(s.e.prizePicture->size(), QSize(160, 120));

  Stage small;
  small.Layout(800, 600);
  EXPECT_EQ(small.e.prizePicture->geometry(), QRect(675, small.e.prizePicture->y(), 120, 90));
}

TEST(StageElements, FitTitleFontsShrinksATooWideTitleUntilItFits) {
  Stage s;
  s.e.mainTitle->setText(QStringLiteral("热烈庆祝公司成立二十周年暨二零二六年度优秀员工表彰大会"));
  FitTitleFonts(s.e, 800);
  const int main = s.e.mainTitle->font().pointSize();
  EXPECT_LT(main, 36);
  EXPECT_EQ(36 - main, 2 * (18 - s.e.drawer->font().pointSize()));
  EXPECT_EQ(s.e.subtitle->font().pointSize(), main);
  EXPECT_EQ(s.e.award->font().pointSize(), 28 - (36 - main));
  EXPECT_LE(QFontMetrics(s.e.mainTitle->font()).horizontalAdvance(s.e.mainTitle->text()), 750);
}

TEST(StageElements, FitPrizeNameKeepsTheNameRightOfTheDrawerCaption) {
  Stage s;
  s.e.drawer->setText(QStringLiteral("抽奖嘉宾：董事长 张三 先生"));
  s.Layout(800, 600);
  FitPrizeName(s.e, QStringLiteral("奖品：豪华双人海岛七日游及全套摄影器材一份"), 800);
  const QRect drawer = s.e.drawer->geometry();
  EXPECT_LT(s.e.prizeName->font().pointSize(), 18);
  EXPECT_GE(s.e.prizeName->x(), drawer.left() + drawer.width());
  EXPECT_EQ(s.e.prizeName->x() + s.e.prizeName->width(), 795);
  EXPECT_EQ(s.e.prizeName->y() + s.e.prizeName->height() + 10, drawer.top());

  // A hidden prize-name label is left alone.
  s.e.prizeName->hide();
  FitPrizeName(s.e, QStringLiteral("别的奖品"), 800);
  EXPECT_NE(s.e.prizeName->text(), QStringLiteral("别的奖品"));
}

TEST(StageElements, ThePrizePictureBlendsItsBackdropIntoTheStage) {
  QTemporaryDir dir;
  // A white backdrop with a black prize in the middle.
  QImage prize(160, 120, QImage::Format_RGB32);
  prize.fill(Qt::white);
  QPainter(&prize).fillRect(60, 40, 40, 40, Qt::black);
  const QString path = dir.filePath(QStringLiteral("prize.png"));
  ASSERT_TRUE(prize.save(path));

  Stage s;
  s.Layout(1024, 768);
  // Decoded in the background: the stage shows through until the picture is there.
  ShowPrize(s.e, path, true);
  ASSERT_FALSE(s.e.prizePicture->isHidden());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !s.e.prizePicture->Loading(); }, 30000));
  const QImage shown = s.e.prizePicture->Picture();
  EXPECT_EQ(shown.pixelColor(1, 1), kStageColour);
  EXPECT_EQ(shown.pixelColor(150, 110), kStageColour);
  EXPECT_EQ(shown.pixelColor(80, 60), QColor(Qt::black));
  // Shown again, it is there at once.
  ShowPrize(s.e, QString(), true);
  ShowPrize(s.e, path, true);
  EXPECT_FALSE(s.e.prizePicture->Loading());
  EXPECT_EQ(s.e.prizePicture->Picture().pixelColor(80, 60), QColor(Qt::black));

  // No picture on the award: cleared and hidden.
  ShowPrize(s.e, QString(), true);
  EXPECT_TRUE(s.e.prizePicture->isHidden());
  EXPECT_TRUE(s.e.prizePicture->Picture().isNull());
  // Not shown unless the option is on.
  ShowPrize(s.e, path, false);
  EXPECT_TRUE(s.e.prizePicture->isHidden());
  // A file that cannot be read shows only the stage.
  ShowPrize(s.e, dir.filePath(QStringLiteral("missing.jpg")), true);
  EXPECT_FALSE(s.e.prizePicture->isHidden());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !s.e.prizePicture->Loading(); }, 30000));
  EXPECT_EQ(s.e.prizePicture->Picture().pixelColor(80, 60), kStageColour);
  // A picture asked for while another is on its way replaces it; the earlier one is never shown.
  ASSERT_TRUE(prize.save(dir.filePath(QStringLiteral("late.png"))));
  ShowPrize(s.e, dir.filePath(QStringLiteral("late.png")), true);
  QImage other(160, 120, QImage::Format_RGB32);
  other.fill(Qt::white);  // all backdrop: the stage shows through everywhere
  const QString otherPath = dir.filePath(QStringLiteral("other.png"));
  ASSERT_TRUE(other.save(otherPath));
  ShowPrize(s.e, otherPath, true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !s.e.prizePicture->Loading(); }, 30000));
  QThreadPool::globalInstance()->waitForDone();
  QCoreApplication::processEvents();
  EXPECT_EQ(s.e.prizePicture->Picture().pixelColor(80, 60), kStageColour);
}

TEST(BlendIntoStage, ReplacesTheCornerColourAndThePanelBackground) {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 10));
  picture.setPixelColor(2, 2, QColor(216, 233, 236));
  picture.setPixelColor(3, 3, QColor(1, 2, 3));
  QImage behind(3, 3, QImage::Format_RGB32);
  behind.fill(QColor(99, 0, 0));
  const QImage out = BlendIntoStage(picture, behind, PrizePicturePanel::BackgroundColour());
  EXPECT_EQ(out.pixelColor(0, 0), QColor(99, 0, 0));
  EXPECT_EQ(out.pixelColor(2, 2), QColor(99, 0, 0));
  EXPECT_EQ(out.pixelColor(3, 3), QColor(1, 2, 3));
  EXPECT_EQ(out.pixelColor(3, 0).alpha(), 0) << "outside the captured area the pixel becomes transparent";
}

void Drag(QWidget* w, QPoint from, QPoint by) {
  QMouseEvent press(QEvent::MouseButtonPress, from, w->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  const QPoint to = from + by;
  QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

TEST(LayoutEditor, DragsTitlesButNotTheDrawerAndStatusAndTheNextLayoutRestores) {
  Stage s;
  s.e.drawer->setText(QStringLiteral("抽奖人"));
  s.e.status->setText(QStringLiteral("状态"));
  s.Layout(1024, 768);
  LayoutEditor editor(s.e);
  const QPoint title = s.e.mainTitle->pos();
  const QPoint drawer = s.e.drawer->pos();

  Drag(s.e.mainTitle, {5, 5}, {40, 30});
  EXPECT_EQ(s.e.mainTitle->pos(), title) << "nothing moves outside layout-edit mode";

  editor.SetActive(true);
  EXPECT_TRUE(s.e.rolling->EditBorder());
  EXPECT_EQ(s.e.drawer->cursor().shape(), Qt::SizeAllCursor);
  Drag(s.e.mainTitle, {5, 5}, {40, 30});
  EXPECT_EQ(s.e.mainTitle->pos(), title + QPoint(40, 30));
  Drag(s.e.drawer, {5, 5}, {40, 30});
  EXPECT_EQ(s.e.drawer->pos(), drawer);

  editor.SetActive(false);
  EXPECT_FALSE(s.e.rolling->EditBorder());
  EXPECT_EQ(s.e.drawer->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(s.e.mainTitle->pos(), title + QPoint(40, 30)) << "leaving the mode keeps dragged positions";
  LayoutStageWidgets(s.e, QRect(0, 0, 1024, 768));
  EXPECT_EQ(s.e.mainTitle->pos(), title);
}

TEST(RestoreDefaultLook, BringsBackFacesColoursAndEffectsButKeepsSizes) {
  Stage s;
  s.e.award->SetTextColour(Qt::white);
  s.e.award->SetEffect(LabelEffect::Plain);
  QFont f = s.e.award->font();
  f.setBold(false);
  f.setPointSize(20);
  s.e.award->setFont(f);
  RestoreDefaultLook(s.e, QRect(0, 0, 1024, 768));
  EXPECT_EQ(s.e.award->TextColour(), kPaleCaption);
  EXPECT_EQ(s.e.award->Effect(), LabelEffect::Raised);
  EXPECT_TRUE(s.e.award->font().bold());
  EXPECT_EQ(s.e.award->font().pointSize(), 20);
}

TEST(ChooseCustomBackground, AcceptsPictureExtensionsInAnyCaseAndRefusesOthers) {
  EXPECT_TRUE(IsSupportedBackgroundFile(QStringLiteral("/x/party.JPEG")));
  EXPECT_TRUE(IsSupportedBackgroundFile(QStringLiteral("a.Png")));
  EXPECT_FALSE(IsSupportedBackgroundFile(QStringLiteral("a.tif")));
  EXPECT_FALSE(IsSupportedBackgroundFile(QStringLiteral("jpg")));

  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  sound.stageMusicFile = "bg.mp3";
  sound.SetStageMusicPlaying(true);
  SoundSettings settings;
  StageMusic music(sound, settings);
  prompter.ScriptPath(Gb("/home/u/背景.JPEG"));
  EXPECT_EQ(ChooseCustomBackground(prompter, music), Gb("/home/u/背景.JPEG"));
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("支持的图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif"));
  EXPECT_EQ(prompter.shown()[0].caption, Gb("操作提示："));
  EXPECT_EQ(prompter.shown()[1].kind, ScriptedPrompter::Shown::Kind::PickOpenFile);
  EXPECT_EQ(prompter.shown()[1].text,
            Gb("图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif"));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"suspend", "resume"}));

  // Refused: error box, the music stays stopped.
  prompter.Clear();
  sound.calls.clear();
  prompter.ScriptPath(std::string("/home/u/scan.tif"));
  EXPECT_EQ(ChooseCustomBackground(prompter, music), std::nullopt);
  ASSERT_EQ(prompter.shown().size(), 3u);
  EXPECT_EQ(prompter.shown()[2].text, Gb("选择的图片格式不正确，图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif"));
  EXPECT_EQ(prompter.shown()[2].caption, Gb("错误提示："));
  EXPECT_EQ(prompter.shown()[2].icon, Icon::Error);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"suspend"}));

  // Cancelled: the music comes back, nothing chosen.
  sound.calls.clear();
  EXPECT_EQ(ChooseCustomBackground(prompter, music), std::nullopt);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"suspend", "resume"}));
}

}  // namespace
}  // namespace kavrel

namespace kavrel {
namespace {

// The stage as the audience sees it, on the built-in background.
class PictureStage : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawPixmap(0, 0, DefaultStageBackground(size()));
  }
};

TEST(StageElements, DefaultColoursStandOutFromTheBackgroundBehindThem) {
  // The projectors of the event; at 800 x 600 with the buttons shown the drawer caption sits where the
  // picture turns from red to gold and reaches about 4:1.
  for (const QSize screen : {QSize(1024, 768), QSize(1920, 1080)}) {
    for (const bool controls : {true, false}) {
      PictureStage window;
      StageElements e = CreateStageElements(&window);
      e.mainTitle->setText(QStringLiteral("2026年度表彰大会"));
      e.subtitle->setText(QStringLiteral("感恩有你 共创未来"));
      e.award->setText(QStringLiteral("一等奖"));
      e.prizeName->setText(QStringLiteral("奖品：笔记本电脑"));
      e.drawer->setText(QStringLiteral("抽奖嘉宾：总经理"));
      e.status->setText(QStringLiteral("准备抽取【一等奖】，本轮抽3名"));
      // With an operator console up the buttons and the status line leave the projector.
      for (QWidget* w :
           {static_cast<QWidget*>(e.startButton), static_cast<QWidget*>(e.stopButton), static_cast<QWidget*>(e.status)})
        w->setVisible(controls);
      LayoutStageWidgets(e, QRect(QPoint(0, 0), screen));
      LayoutStageWidgets(e, QRect(QPoint(0, 0), screen));
      window.resize(screen);
      for (StageLabel* label : {e.mainTitle, e.subtitle, e.award, e.centre, e.drawer, e.status}) {
        if (label->isHidden()) continue;
        label->hide();
        const QImage behind = GrabStage(e, label->geometry()).toImage();
        label->show();
        const double mean = MeanLuminance(behind);
        const double ratio = (std::max(mean, RelativeLuminance(label->TextColour())) + 0.05) /
                             (std::min(mean, RelativeLuminance(label->TextColour())) + 0.05);
        EXPECT_GE(ratio, 4.5) << label->objectName().toStdString() << " at " << screen.width() << "x" << screen.height()
                              << (controls ? "" : " without controls");
      }
    }
  }
}

}  // namespace
}  // namespace kavrel
