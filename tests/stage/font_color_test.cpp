#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "stage/font_color_window.h"
#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/screen_fit.h"
#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "stage/stage_look.h"
#include "stage/stage_styler.h"

namespace kavrel {
namespace {

template <typename W>
W* Find(QWidget* parent, const QString& name) {
  W* w = parent->findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name.toStdString();
  return w;
}

void Shot(QWidget* w, const char* file) {
  const QString dir = qEnvironmentVariable("KAVREL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) w->grab().save(dir + "/" + QString::fromUtf8(file));
}

struct Look {
  QFont font;
  QColor colour;
  LabelEffect effect;
  bool operator==(const Look&) const = default;
};

Look LookOf(const StageLabel* l) {
  return {l->font(), l->TextColour(), l->Effect()};
}

struct Stage {
  QWidget window;
  StageElements e;
  CustomRollColour roll;
  StageStyler styler{e, roll};
  Stage() {
    e = CreateStageElements(&window);
    e.mainTitle->setText(QStringLiteral("某某公司年会抽奖"));
    e.subtitle->setText(QStringLiteral("感恩有你 共创辉煌"));
    e.award->setText(QStringLiteral("一等奖"));
    e.drawer->setText(QStringLiteral("抽奖人：总经理"));
    e.status->setText(QStringLiteral("准备抽取【一等奖】第1批，共3人"));
    e.prizeName->setText(QStringLiteral("奖品：笔记本电脑"));
    e.marquee->SetCaption(QStringLiteral("可以设置滚动的内容"));
  }
  std::vector<Look> Looks() const {
    std::vector<Look> looks;
    for (std::size_t k = 0; k < kFontRows.size(); ++k) looks.push_back(LookOf(styler.Label(kFontRows[k])));
    return looks;
  }
};

TEST(FontColorWindow, EachRowActsOnlyOnItsOwnLabel) {
  Stage s;
  QFont picked = StageFont(QStringLiteral("Noto Serif CJK SC"), 22, false);
  picked.setItalic(true);
  picked.setUnderline(true);
  std::optional<QFont> fontAnswer = picked;
  std::optional<QColor> colourAnswer = QColor(10, 200, 30);
  FontColorWindow window(
      s.styler, nullptr, [&](const QFont&, QWidget*) { return fontAnswer; },
      [&](const QColor&, QWidget*) { return colourAnswer; });
  EXPECT_EQ(window.windowTitle(), "修改字体及颜色");
  EXPECT_EQ(window.size(), QSize(520, 410));
  // The boxes open on the stage's current effects: the award label is raised, the main title shadowed.
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_奖项")->currentText(), "2.凸出");
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_主标题")->currentIndex(), 3);
  Shot(&window, "font-color-window.png");

  for (std::size_t k = 0; k < kFontRows.size(); ++k) {
    const auto row = kFontRows[k];
    const QString stem = QString::fromUtf8(RowStem(row));
    std::vector<Look> expected = s.Looks();

    Find<QToolButton>(&window, "超级按钮_" + stem)->click();
    Find<QPushButton>(&window, "颜色选择器_" + stem)->click();
    auto* effect = Find<QComboBox>(&window, "组合框_" + stem);
    const int nextEffect = effect->currentIndex() == 3 ? 1 : 3;
    effect->setCurrentIndex(nextEffect);

    expected[k] = {picked, QColor(10, 200, 30), static_cast<LabelEffect>(nextEffect)};
    EXPECT_EQ(s.Looks(), expected) << stem.toStdString();
  }
  const QFont chosen = s.e.award->font();
  EXPECT_TRUE(chosen.italic() && chosen.underline() && !chosen.bold());
  EXPECT_EQ(chosen.pointSize(), 22);

  // Cancelled dialogs change nothing.
  fontAnswer.reset();
  colourAnswer.reset();
  const std::vector<Look> before = s.Looks();
  Find<QToolButton>(&window, "超级按钮_奖项")->click();
  Find<QPushButton>(&window, "颜色选择器_奖项")->click();
  EXPECT_EQ(s.Looks(), before);
}

TEST(FontColorWindow, MarqueeAndRollingColoursGoToTheirOwnTargets) {
  Stage s;
  std::optional<QColor> answer;
  FontColorWindow window(s.styler, nullptr, {}, [&](const QColor&, QWidget*) { return answer; });
  const std::vector<Look> labels = s.Looks();

  answer = QColor(1, 2, 3);
  Find<QPushButton>(&window, "颜色选择器_滚动")->click();
  answer = QColor(4, 5, 6);
  Find<QPushButton>(&window, "颜色选择器_滚动背景")->click();
  EXPECT_EQ(s.e.marquee->palette().color(QPalette::WindowText), QColor(1, 2, 3));
  EXPECT_EQ(s.e.marquee->palette().color(QPalette::Window), QColor(4, 5, 6));
  EXPECT_FALSE(s.roll.on);

  answer = QColor(7, 8, 9);
  Find<QPushButton>(&window, "颜色选择器_滚动中奖区")->click();
  EXPECT_TRUE(s.roll.on);
  EXPECT_EQ(RollColourFor(s.roll, false), QColor(7, 8, 9));
  EXPECT_EQ(RollColourFor(s.roll, true), QColor(7, 8, 9));
  EXPECT_EQ(s.Looks(), labels);

  // The four effects side by side on the stage red, for looking at.
  s.window.resize(1024, 420);
  s.window.setStyleSheet(QStringLiteral("background: #A80D1F;"));
  for (QWidget* w : std::initializer_list<QWidget*>{s.e.centre, s.e.startButton, s.e.stopButton, s.e.marquee})
    w->hide();
  for (std::size_t k = 0; k < 4; ++k) {
    StageLabel* l = s.styler.Label(kFontRows[k]);
    s.styler.SetEffect(kFontRows[k], static_cast<int>(k));
    s.styler.SetColour(kFontRows[k], QColor(255, 255, 0));
    l->setFont(StageFont(kFaceYaHei, 36, true));
    l->setText(QString::number(k) + QStringLiteral(" 恭喜发财"));
    l->setGeometry(20, 10 + 100 * static_cast<int>(k), 600, 90);
  }
  Shot(&s.window, "label-effects.png");

  s.roll.on = false;  // what "恢复默认字体和颜色" does
  EXPECT_EQ(RollColourFor(s.roll, false), QColor(255, 255, 0));
  EXPECT_EQ(RollColourFor(s.roll, true), QColor(0, 0, 255));
}

// Every element the layout pass places lies inside the screen.
void ExpectInside(const StageElements& e, const QRect& screen, const char* what) {
  const std::pair<const char*, QWidget*> widgets[] = {{"main title", e.mainTitle},
                                                      {"subtitle", e.subtitle},
                                                      {"award", e.award},
                                                      {"prize name", e.prizeName},
                                                      {"prize picture", e.prizePicture},
                                                      {"centre", e.centre},
                                                      {"drawer", e.drawer},
                                                      {"status", e.status},
                                                      {"rolling", e.rolling},
                                                      {"start", e.startButton},
                                                      {"stop", e.stopButton}};
  for (const auto& [name, w] : widgets)
    EXPECT_TRUE(screen.contains(w->geometry()))
        << what << " " << screen.width() << "x" << screen.height() << ": " << name << " at " << w->x() << "," << w->y()
        << " " << w->width() << "x" << w->height();
  EXPECT_GE(e.marquee->y(), 0);
  EXPECT_LE(e.marquee->y() + e.marquee->height(), screen.height());
  EXPECT_GE(e.rolling->height(), 0);
}

TEST(KeepCaptionsOnScreen, HugeFontsStillLeaveEveryElementInsideTheScreen) {
  for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)}) {
    const QRect screen(QPoint(0, 0), size);
    Stage s;
    LayoutStageWidgets(s.e, screen);
    LayoutStageWidgets(s.e, screen);
    // The design's own sizes need no shrinking.
    EXPECT_EQ(s.e.award->font().pointSize(), 28);
    EXPECT_EQ(s.e.status->font().pointSize(), 16);
    ExpectInside(s.e, screen, "default");

    for (std::size_t k = 0; k < kFontRows.size(); ++k) s.styler.SetFont(kFontRows[k], StageFont(kFaceYaHei, 300, true));
    LayoutStageWidgets(s.e, screen);
    FitPrizeName(s.e, s.e.prizeName->text(), size.width());
    LayoutStageWidgets(s.e, screen);
    ExpectInside(s.e, screen, "huge");
    s.window.resize(size);
    Shot(&s.window, QStringLiteral("huge-fonts-%1x%2.png").arg(size.width()).arg(size.height()).toUtf8().constData());
    EXPECT_LT(s.e.mainTitle->font().pointSize(), 300);
  }
}

TEST(FitCaptionsToScreen, ShrinksOnlyWhatDoesNotFitAndTheTallestOfAStackFirst) {
  // Synthetic metrics: 10 pixels per point wide, 2 pixels per point high.
  auto measure = [](FitCaption c, int pt) { return QSize(c == FitCaption::Centre ? pt : 10 * pt, 2 * pt); };
  CaptionPointSizes sizes{36, 36, 28, 18, 16, 18, 36};
  EXPECT_EQ(FitCaptionsToScreen(sizes, {1920, 1080}, measure), sizes);

  // Too wide: the main title comes down to (800 - 10) / 10 points; the others are left alone.
  sizes[0] = 200;
  CaptionPointSizes fitted = FitCaptionsToScreen(sizes, {800, 600}, measure);
  EXPECT_EQ(fitted[0], 79);
  EXPECT_EQ(fitted[1], 36);

  // A tall bottom stack: 150 + 16 + 18 points = 368 pixels > 600 / 2 - 120. Only the drawer shrinks.
  sizes = {36, 36, 28, 150, 16, 18, 36};
  fitted = FitCaptionsToScreen(sizes, {4000, 600}, measure);
  EXPECT_LE(2 * (fitted[3] + fitted[4] + fitted[5]), 600 / 2 - kBottomFixedHeight);
  EXPECT_EQ(fitted[4], 16);
  EXPECT_EQ(fitted[5], 18);
  EXPECT_GT(fitted[3], 40);  // no more than needed, give or take one step
}

}  // namespace
}  // namespace kavrel
