#pragma once

// The stage's visible elements as one record, and the operations of the stage's look that work on them:
// the layout pass on real widgets, fitting the title fonts and the prize name, re-centring the status
// and drawer captions, showing the prize picture and restoring the default look. StageWindow owns the
// widgets (they are its children) and holds this record.

#include <QPixmap>
#include <QRect>
#include <QString>

#include "stage/stage_layout.h"

class QWidget;

namespace kavrel {

class StageLabel;
class MarqueeLabel;
class RollingPanel;
class PictureButton;
class PrizePicturePanel;

struct StageElements {
  QWidget* window = nullptr;
  StageLabel* mainTitle = nullptr;            // 透明标签_主标题
  StageLabel* subtitle = nullptr;             // 透明标签_副标题
  StageLabel* award = nullptr;                // 透明标签_奖项
  StageLabel* prizeName = nullptr;            // 透明标签_奖品名称
  StageLabel* centre = nullptr;               // 透明标签_中奖号码
  StageLabel* drawer = nullptr;               // 透明标签_抽奖人
  StageLabel* status = nullptr;               // 透明标签_抽奖状态
  PrizePicturePanel* prizePicture = nullptr;  // 画板_奖品图片
  MarqueeLabel* marquee = nullptr;            // 标签_滚动 (owns 时钟_滚动)
  RollingPanel* rolling = nullptr;            // 画板_滚动
  PictureButton* startButton = nullptr;       // 超级按钮_开始
  PictureButton* stopButton = nullptr;        // 超级按钮_停止
  QWidget* menuBar = nullptr;                 // 外形框_菜单, created by the window's menu code; may stay null
  QWidget* blank = nullptr;                   // 画板_黑屏: covers everything while the stage is blacked out
};

// Creates every element above except the window and the menu bar as children of `stage`, named by
// their design names, with their default fonts, colours, effects, design sizes and the two design
// positions the first layout pass reads. The rolling area and the prize picture start hidden; the
// centre caption reads "按空格键开始抽取". The buttons are created without connections.
StageElements CreateStageElements(QWidget* stage);

// A picture of the stage in `area` as the audience sees it when not blacked out: the black cover is
// left out, so a roll prepared or a prize picture blended while the stage is black comes back right.
QPixmap GrabStage(const StageElements& elements, const QRect& area);

// Blacks the stage out (the cover over every element) or brings it back exactly as it was.
void SetBlanked(const StageElements& elements, bool blanked);
bool Blanked(const StageElements& elements);

// The widget that shows `element`; null for the menu bar until the window made it.
QWidget* ElementWidget(const StageElements& elements, StageElement element);

// The elements' current rectangles (missing elements read as empty rectangles).
StageGeometry ReadGeometry(const StageElements& elements);

// Moves and resizes every element present to `geometry` (the window included).
void ApplyGeometry(const StageElements& elements, const StageGeometry& geometry);

// The measured captions the layout pass fits the labels to (with the effects' padding).
CaptionSizes MeasureCaptions(const StageElements& elements);

// LayoutStage on the widgets: measures, runs the layout pass for `screen` (the window gets the screen's
// geometry, so it covers the screen even without a window manager) and applies the result. The marquee
// restarts at its start position.
void LayoutStageWidgets(const StageElements& elements, const QRect& screen);

// FitTitleFonts: shrinks the six caption fonts until the main title's current caption fits
// screenWidth - 50.
void FitTitleFonts(const StageElements& elements, int screenWidth);

// FitPrizeName: when the prize-name label is visible, sets its caption and shrinks its font until it
// stays right of the drawer caption, then places it above the drawer caption.
void FitPrizeName(const StageElements& elements, const QString& prizeName, int screenWidth);

// A caption whose default colour follows the background takes the colour that stands out from what is
// behind it now.
// `afresh`: the stage behind may have changed (a layout pass), so it is captured again.
void MatchCaptionColour(const StageElements& elements, StageLabel* label, bool afresh = false);

// Fits the status caption and centres it 5 pixels above the stop button.
void RecentreStatus(const StageElements& elements, int screenWidth);

// The start and stop buttons and the status line are all hidden (by the hide options, or while a
// console shows them to the operator).
bool ControlsHidden(const StageElements& elements);

// Fits the drawer caption and centres it 5 pixels above the status caption (10 above the marquee when
// the controls are hidden).
void RecentreDrawer(const StageElements& elements, int screenWidth);

// ShowPrize: makes the prize picture visible when `prizePictureShown`; then, if it is visible, an empty
// `path` clears and hides it, otherwise the picture is drawn blended into the stage behind it, at once
// when the panel decoded it before, else as soon as its decode in the background is done.
void ShowPrize(const StageElements& elements, const QString& path, bool prizePictureShown);

// RestoreDefaultLook without its last step: fits the title fonts, gives the six captions the default
// face (bold), colour and effect, and lays the stage out again for `screen`. The caller then drops its
// custom rolling colour.
void RestoreDefaultLook(const StageElements& elements, const QRect& screen);

}  // namespace kavrel
