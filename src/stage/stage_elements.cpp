#include "stage/stage_elements.h"

#include <QWidget>

#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/screen_fit.h"
#include "stage/stage_label.h"
#include "stage/stage_look.h"

namespace kavrel {
namespace {

using E = LayoutElement;

QWidget* WidgetOf(const StageElements& s, LayoutElement e) {
  switch (e) {
    case E::Window:
      return s.window;
    case E::MainTitle:
      return s.mainTitle;
    case E::Subtitle:
      return s.subtitle;
    case E::Award:
      return s.award;
    case E::PrizeName:
      return s.prizeName;
    case E::PrizePicture:
      return s.prizePicture;
    case E::Centre:
      return s.centre;
    case E::Drawer:
      return s.drawer;
    case E::Status:
      return s.status;
    case E::Marquee:
      return s.marquee;
    case E::Rolling:
      return s.rolling;
    case E::StartButton:
      return s.startButton;
    case E::StopButton:
      return s.stopButton;
    case E::MenuBar:
      return s.menuBar;
    case E::Count:
      break;
  }
  return nullptr;
}

StageLabel* MakeLabel(QWidget* stage, const QString& name, LayoutElement role, const QString& caption) {
  auto* label = new StageLabel(stage);
  label->setObjectName(name);
  const LabelLook look = DefaultLook(role);
  label->setFont(StageFont(look.face, look.pointSize, look.bold));
  label->SetTextColour(look.colour);
  label->SetEffect(look.effect);
  label->setText(caption);
  return label;
}

PictureButton* MakeButton(QWidget* stage, const QString& name, const QString& caption) {
  auto* button = new PictureButton(caption, stage);
  button->setObjectName(name);
  const LabelLook look = DefaultLook(E::StartButton);
  button->setFont(StageFont(look.face, look.pointSize, look.bold));
  button->resize(kButtonSize);
  return button;
}

// A label's caption with the room its effect needs; an empty caption takes no width.
QSize FittedSize(const StageLabel* label) {
  const QSize text = MeasureCaption(label);
  if (text.width() == 0) return {0, text.height()};
  return text + QSize(StageLabel::kEffectPadding, StageLabel::kEffectPadding);
}

void FitToCaption(StageLabel* label) {
  label->resize(FittedSize(label));
}

int Centred(int screenWidth, int width) {
  return static_cast<int>((screenWidth - width) / 2.0);
}

}  // namespace

StageElements CreateStageElements(QWidget* stage) {
  StageElements s;
  s.window = stage;
  // Created first so that every caption stays above it.
  s.rolling = new RollingPanel(stage);
  s.rolling->hide();
  s.prizePicture = new PrizePicturePanel(stage);
  s.prizePicture->resize(kPrizePictureSize);
  s.prizePicture->hide();

  s.mainTitle = MakeLabel(stage, QStringLiteral("透明标签_主标题"), E::MainTitle, QStringLiteral("kavrel抽奖"));
  s.mainTitle->move(0, 32);
  s.subtitle = MakeLabel(stage, QStringLiteral("透明标签_副标题"), E::Subtitle, QString());
  s.award = MakeLabel(stage, QStringLiteral("透明标签_奖项"), E::Award, QString());
  s.prizeName = MakeLabel(stage, QStringLiteral("透明标签_奖品名称"), E::PrizeName, QString());
  s.prizeName->resize(kPrizeNameDesignSize);
  s.centre = MakeLabel(stage, QStringLiteral("透明标签_中奖号码"), E::Centre, QStringLiteral("按空格键开始抽取"));
  s.drawer = MakeLabel(stage, QStringLiteral("透明标签_抽奖人"), E::Drawer, QString());
  s.status = MakeLabel(stage, QStringLiteral("透明标签_抽奖状态"), E::Status, QString());
  for (StageLabel* label : {s.mainTitle, s.subtitle, s.award, s.centre, s.drawer, s.status}) FitToCaption(label);

  s.marquee = new MarqueeLabel(stage);
  s.marquee->setGeometry(kMarqueeStartLeft, 552, 0, kMarqueeHeight);

  s.startButton = MakeButton(stage, QStringLiteral("超级按钮_开始"), QStringLiteral("开始"));
  s.stopButton = MakeButton(stage, QStringLiteral("超级按钮_停止"), QStringLiteral("停止"));

  // Created last, so it starts above every other element.
  s.blank = new QWidget(stage);
  s.blank->setObjectName(QStringLiteral("画板_黑屏"));
  s.blank->setAutoFillBackground(true);
  QPalette black = s.blank->palette();
  black.setColor(QPalette::Window, Qt::black);
  s.blank->setPalette(black);
  s.blank->hide();
  return s;
}

QPixmap GrabStage(const StageElements& s, const QRect& area) {
  const bool blanked = Blanked(s);
  // Hidden and shown again within one event: the screen never sees the stage uncovered.
  if (blanked) s.blank->hide();
  QPixmap picture = s.window->grab(area);
  if (blanked) s.blank->show();
  return picture;
}

void SetBlanked(const StageElements& s, bool blanked) {
  if (!s.blank) return;
  if (blanked) {
    s.blank->setGeometry(s.window->rect());
    s.blank->show();
    s.blank->raise();
  } else {
    s.blank->hide();
  }
}

bool Blanked(const StageElements& s) {
  return s.blank && !s.blank->isHidden();
}

StageGeometry ReadGeometry(const StageElements& elements) {
  StageGeometry g;
  for (std::size_t i = 0; i < kStageElementCount; ++i) {
    if (const QWidget* w = WidgetOf(elements, static_cast<LayoutElement>(i))) g.rects[i] = w->geometry();
  }
  g[E::Window].moveTo(0, 0);
  return g;
}

void ApplyGeometry(const StageElements& elements, const StageGeometry& geometry) {
  for (std::size_t i = 0; i < kStageElementCount; ++i) {
    const auto e = static_cast<LayoutElement>(i);
    QWidget* w = WidgetOf(elements, e);
    if (!w) continue;
    // The window keeps its screen's origin; the layout works in the window's own coordinates.
    if (e == E::Window) {
      w->resize(geometry[e].size());
    } else {
      w->setGeometry(geometry[e]);
    }
  }
}

CaptionSizes MeasureCaptions(const StageElements& s) {
  CaptionSizes c;
  c.mainTitle = FittedSize(s.mainTitle);
  c.subtitle = FittedSize(s.subtitle);
  c.award = FittedSize(s.award);
  c.status = FittedSize(s.status);
  c.drawer = FittedSize(s.drawer);
  c.centre = FittedSize(s.centre);
  c.marquee = QSize(MeasureCaption(s.marquee).width(), kMarqueeHeight);
  if (!s.prizeName->isHidden() && !s.prizeName->text().isEmpty()) c.prizeName = s.prizeName->size();
  return c;
}

void LayoutStageWidgets(const StageElements& elements, const QRect& screen) {
  if (elements.window) elements.window->setGeometry(screen);
  // Whatever font was picked, every caption stays on the screen.
  KeepCaptionsOnScreen(elements, screen);
  const StageGeometry next = LayoutStage(ReadGeometry(elements), MeasureCaptions(elements), screen.size());
  ApplyGeometry(elements, next);
  elements.marquee->SetScreenWidth(screen.width());
  // A stage blacked out stays black over its new size.
  if (Blanked(elements)) SetBlanked(elements, true);
}

void FitTitleFonts(const StageElements& s, int screenWidth) {
  TitleFontSizes sizes{s.mainTitle->font().pointSize(), s.subtitle->font().pointSize(),
                       s.award->font().pointSize(),     s.drawer->font().pointSize(),
                       s.status->font().pointSize(),    s.prizeName->font().pointSize()};
  QFont probe = s.mainTitle->font();
  const QString caption = s.mainTitle->text();
  sizes = FitTitleFontSizes(sizes, screenWidth, [&](int pointSize) {
    probe.setPointSize(pointSize);
    return MeasureCaption(probe, caption).width();
  });
  auto apply = [](StageLabel* label, int pointSize) {
    QFont f = label->font();
    f.setPointSize(pointSize);
    label->setFont(f);
  };
  apply(s.mainTitle, sizes.mainTitle);
  apply(s.subtitle, sizes.subtitle);
  apply(s.award, sizes.award);
  apply(s.drawer, sizes.drawer);
  apply(s.status, sizes.status);
  apply(s.prizeName, sizes.prizeName);
}

void FitPrizeName(const StageElements& s, const QString& prizeName, int screenWidth) {
  if (s.prizeName->isHidden()) return;
  s.prizeName->setText(prizeName);
  QFont probe = s.prizeName->font();
  const QRect drawer = s.drawer->geometry();
  const PrizeNameFit fit =
      FitPrizeNameSize(probe.pointSize(), screenWidth, drawer.left() + drawer.width(), [&](int pointSize) {
        probe.setPointSize(pointSize);
        const int w = MeasureCaption(probe, prizeName).width();
        return w == 0 ? 0 : w + StageLabel::kEffectPadding;
      });
  probe.setPointSize(fit.pointSize);
  s.prizeName->setFont(probe);
  // The height follows the font too, so a large prize font is never cut off at the bottom.
  const int height = MeasureCaption(probe, prizeName).height() + StageLabel::kEffectPadding;
  s.prizeName->setGeometry(fit.left, drawer.top() - height - 10, fit.width, height);
  // The rolling area keeps clear of the new prize text; a roll or winners on show keep theirs until
  // the next batch is prepared.
  if (s.rolling->isHidden()) {
    const QRect award = s.award->geometry();
    s.rolling->setGeometry(RollingArea(screenWidth, award.top() + award.height(), drawer.top(),
                                       prizeName.isEmpty() ? QRect() : s.prizeName->geometry()));
  }
}

void RecentreStatus(const StageElements& s, int screenWidth) {
  FitToCaption(s.status);
  s.status->move(Centred(screenWidth, s.status->width()), s.stopButton->y() - s.status->height() - 5);
}

void RecentreDrawer(const StageElements& s, int screenWidth) {
  FitToCaption(s.drawer);
  s.drawer->move(Centred(screenWidth, s.drawer->width()), s.status->y() - s.drawer->height() - 5);
}

void ShowPrize(const StageElements& s, const QString& path, bool prizePictureShown) {
  PrizePicturePanel* panel = s.prizePicture;
  if (prizePictureShown) panel->show();
  if (panel->isHidden()) return;
  if (path.isEmpty()) {
    panel->ClearPicture();
    panel->hide();
    return;
  }
  // The stage behind the panel, without the panel's previous picture.
  panel->hide();
  const QImage behind = s.window ? GrabStage(s, panel->geometry()).toImage() : QImage();
  panel->ShowPicture(path, behind);
  panel->show();
}

void RestoreDefaultLook(const StageElements& s, const QRect& screen) {
  FitTitleFonts(s, screen.width());
  const std::pair<StageLabel*, LayoutElement> labels[] = {{s.mainTitle, E::MainTitle}, {s.subtitle, E::Subtitle},
                                                         {s.award, E::Award},         {s.drawer, E::Drawer},
                                                         {s.status, E::Status},       {s.prizeName, E::PrizeName}};
  for (const auto& [label, role] : labels) {
    const LabelLook look = DefaultLook(role);
    QFont f = StageFont(look.face, label->font().pointSize(), true);
    label->setFont(f);
    label->SetTextColour(look.colour);
    label->SetEffect(look.effect);
  }
  LayoutStageWidgets(s, screen);
}

}  // namespace kavrel
