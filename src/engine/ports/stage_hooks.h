#pragma once

#include <cstddef>
#include <string>

namespace kavrel {

// The stage elements the draw engine shows, hides or writes to. Each one is the control of
// the same design name on StageWindow (objectName in brackets).
enum class StageElement {
  MainTitle,     // 透明标签_主标题
  SubTitle,      // 透明标签_副标题
  AwardLabel,    // 透明标签_奖项
  PrizeLabel,    // 透明标签_奖品名称
  DrawerLabel,   // 透明标签_抽奖人
  StatusLabel,   // 透明标签_抽奖状态
  NumberLabel,   // 透明标签_中奖号码 (the centre label: "按空格键开始抽取", "抽奖完毕！")
  Marquee,       // 标签_滚动
  StartButton,   // 超级按钮_开始 (its text is the caption "开始" / "准备")
  StopButton,    // 超级按钮_停止
  RollingPanel,  // 画板_滚动
  PrizePicture,  // 画板_奖品图片
  MenuBar,       // 外形框_菜单
};
inline constexpr std::size_t kStageElementKinds = static_cast<std::size_t>(StageElement::MenuBar) + 1;

// Returns the design name of an element, e.g. "透明标签_奖项" (UTF-8, for logs and tests).
inline const char* DesignName(StageElement e) {
  switch (e) {
    case StageElement::MainTitle:
      return "透明标签_主标题";
    case StageElement::SubTitle:
      return "透明标签_副标题";
    case StageElement::AwardLabel:
      return "透明标签_奖项";
    case StageElement::PrizeLabel:
      return "透明标签_奖品名称";
    case StageElement::DrawerLabel:
      return "透明标签_抽奖人";
    case StageElement::StatusLabel:
      return "透明标签_抽奖状态";
    case StageElement::NumberLabel:
      return "透明标签_中奖号码";
    case StageElement::Marquee:
      return "标签_滚动";
    case StageElement::StartButton:
      return "超级按钮_开始";
    case StageElement::StopButton:
      return "超级按钮_停止";
    case StageElement::RollingPanel:
      return "画板_滚动";
    case StageElement::PrizePicture:
      return "画板_奖品图片";
    case StageElement::MenuBar:
      return "外形框_菜单";
  }
  return "";
}

// How the draw engine drives the stage. StageWindow implements it; engine tests use a recording
// fake. Every text is GB18030 bytes. All calls come on the UI thread and must return promptly:
// PickBatch calls BeginTickPaint and PaintCandidate on every timer tick.
// What a picture file's header says about showing it.
struct PictureCheck {
  enum Result { Shows, TooLarge, Unreadable };  // Unreadable: missing, or no picture we read
  Result result = Shows;
  int width = 0;  // the picture's size (TooLarge)
  int height = 0;
};

class StageHooks {
 public:
  virtual ~StageHooks() = default;

  // Sets an element's text. For the status label, the drawer caption, the prize label and the
  // marquee the stage also sizes the label to its new text and places it (centring, prize-name
  // fitting, marquee width); the marquee keeps its scroll position.
  virtual void SetText(StageElement element, const std::string& text) = 0;
  virtual void SetVisible(StageElement element, bool visible) = 0;
  virtual bool IsVisible(StageElement element) const = 0;

  // Re-runs the stage layout for the current screen and visibilities.
  virtual void LayoutStage() = 0;

  // The draw timer 时钟_抽奖: while running, the stage calls DrawController::RollTick every
  // periodMs milliseconds (periodMs is at least 1). Stopping a stopped timer is harmless.
  // PauseDrawTimer only stops the ticks: the roll is frozen as painted, and StartDrawTimer lets it go on.
  virtual void StartDrawTimer(int periodMs) = 0;
  virtual void StopDrawTimer() = 0;
  virtual void PauseDrawTimer() = 0;

  // Prepares the rolling panel's font and grid for a batch of batchSize candidates. Text mode
  // measures with the pool's first entry; picture mode uses the photo grid.
  virtual void PrepareTextRolling(int batchSize, const std::string& firstEntry) = 0;
  virtual void PreparePictureRolling(int batchSize) = 0;

  // Captures the stage behind the rolling panel as its background (the stage snapshot) and
  // shows the panel. DiscardSnapshot forgets it (and removes config/temp.jpg if the stage keeps
  // a copy on disk); both are harmless when repeated.
  virtual void CaptureSnapshot() = 0;
  virtual void DiscardSnapshot() = 0;

  // One tick's paint: BeginTickPaint empties the centre label and restores the snapshot as the
  // panel's background; PaintCandidate paints candidate i (1-based) - in text mode `text` is the
  // (possibly masked) entry, in picture mode the unmasked entry whose photo is painted with its name.
  virtual void BeginTickPaint() = 0;
  virtual void PaintCandidate(int i, const std::string& text) = 0;

  // Shows the prize picture file in the prize picture panel and makes the panel visible; the
  // engine hides the panel with SetVisible(PrizePicture, false). The stage never waits for the
  // picture: it looks at the file's header only and decodes the picture in the background, so the
  // answer says whether it will show, or why not.
  virtual PictureCheck ShowPrizePicture(const std::string& path) = 0;

  // Opens the winner show (the F6 result view); returns when it is closed.
  virtual void ShowWinnerShow() = 0;
};

}  // namespace kavrel
