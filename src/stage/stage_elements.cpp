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

using E = StageElement;

}  // namespace

QWidget* ElementWidget(const StageElements& s, StageElement e) {
  switch (e) {
    case E::MainTitle:
      return s.mainTitle;
    case E::SubTitle:
      return s.subtitle;
    case E::AwardLabel:
      return s.award;
    case E::PrizeLabel:
      return s.prizeName;
    case E::PrizePicture:
      return s.prizePicture;
    case E::NumberLabel:
      return s.centre;
    case E::DrawerLabel:
      return s.drawer;
    case E::StatusLabel:
      return s.status;
    case E::Marquee:
      return s.marquee;
    case E::RollingPanel:
      return s.rolling;
    case E::StartButton:
      return s.startButton;
    case E::StopButton:
      return s.stopButton;
    case E::MenuBar:
      return s.menuBar;
  }
  return nullptr;
}

namespace {

StageLabel* MakeLabel(QWidget* stage, const QString& name, StageElement role, const QString& caption) {
  auto* label = new StageLabel(stage);
  label->setObjectName(name);
  const LabelLook look = DefaultLook(role);
  label->setFont(StageFont(look.face, look.pointSize, look.bold));
  label->SetTextColour(look.colour);
  if (TakesAutoColour(role)) label->SetAutoColour();
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

void MatchCaptionColour(const StageElements& s, StageLabel* label, bool afresh) {
  if (!s.window || !label->AutoColour() || label->text().isEmpty() || label->geometry().isEmpty()) return;
  // The stage behind the caption's whole row, without the caption, taken once per layout (a grab
  // costs a millisecond or so, and the status changes at every press); a caption re-centred on the same
  // row reads its part of the row.
  const QRect row(0, label->y(), s.window->width(), label->height());
  if (afresh || label->BackdropRow() != row) {
    const bool shown = !label->isHidden();
    if (shown) label->hide();
    label->SetBackdrop(row, GrabStage(s, row).toImage());
    if (shown) label->show();
  }
  label->MatchBackground(label->Backdrop().copy(QRect(label->x(), 0, label->width(), label->height())));
}

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
  s.subtitle = MakeLabel(stage, QStringLiteral("透明标签_副标题"), E::SubTitle, QString());
  s.award = MakeLabel(stage, QStringLiteral("透明标签_奖项"), E::AwardLabel, QString());
  s.prizeName = MakeLabel(stage, QStringLiteral("透明标签_奖品名称"), E::PrizeLabel, QString());
  s.prizeName->resize(kPrizeNameDesignSize);
  s.centre = MakeLabel(stage, QStringLiteral("透明标签_中奖号码"), E::NumberLabel, QStringLiteral("按空格键开始抽取"));
  s.drawer = MakeLabel(stage, QStringLiteral("透明标签_抽奖人"), E::DrawerLabel, QString());
  s.status = MakeLabel(stage, QStringLiteral("透明标签_抽奖状态"), E::StatusLabel, QString());
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
  if (elements.window) g.window = elements.window->geometry();
  g.window.moveTo(0, 0);
  for (std::size_t i = 0; i < kStageElementKinds; ++i) {
    if (const QWidget* w = ElementWidget(elements, static_cast<StageElement>(i))) g.rects[i] = w->geometry();
  }
  return g;
}

void ApplyGeometry(const StageElements& elements, const StageGeometry& geometry) {
  // The window keeps its screen's origin; the layout works in the window's own coordinates.
  if (elements.window) elements.window->resize(geometry.window.size());
  for (std::size_t i = 0; i < kStageElementKinds; ++i) {
    const auto e = static_cast<StageElement>(i);
    if (QWidget* w = ElementWidget(elements, e)) w->setGeometry(geometry[e]);
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
  c.controlsHidden = ControlsHidden(s);
  return c;
}

void LayoutStageWidgets(const StageElements& elements, const QRect& screen) {
  if (elements.window) elements.window->setGeometry(screen);
  // Whatever font was picked, every caption stays on the screen.
  KeepCaptionsOnScreen(elements, screen);
  const StageGeometry next = LayoutStage(ReadGeometry(elements), MeasureCaptions(elements), screen.size());
  ApplyGeometry(elements, next);
  elements.marquee->SetScreenWidth(screen.width());
  MatchCaptionColour(elements, elements.drawer, true);
  MatchCaptionColour(elements, elements.status, true);
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
  MatchCaptionColour(s, s.status);
}

void RecentreDrawer(const StageElements& s, int screenWidth) {
  FitToCaption(s.drawer);
  const int top = ControlsHidden(s) && s.window ? DrawerTopWithoutControls(s.window->height(), s.drawer->height())
                                                : s.status->y() - s.drawer->height() - 5;
  s.drawer->move(Centred(screenWidth, s.drawer->width()), top);
  MatchCaptionColour(s, s.drawer);
}

bool ControlsHidden(const StageElements& s) {
  return s.startButton->isHidden() && s.stopButton->isHidden() && s.status->isHidden();
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
  const std::pair<StageLabel*, StageElement> labels[] = {{s.mainTitle, E::MainTitle}, {s.subtitle, E::SubTitle},
                                                         {s.award, E::AwardLabel},    {s.drawer, E::DrawerLabel},
                                                         {s.status, E::StatusLabel},  {s.prizeName, E::PrizeLabel}};
  for (const auto& [label, role] : labels) {
    const LabelLook look = DefaultLook(role);
    QFont f = StageFont(look.face, label->font().pointSize(), true);
    label->setFont(f);
    label->SetTextColour(look.colour);
    if (TakesAutoColour(role)) label->SetAutoColour();
    label->SetEffect(look.effect);
  }
  LayoutStageWidgets(s, screen);
}

}  // namespace kavrel
