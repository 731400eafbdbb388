#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// What the audience sees that the draw decides: each part by its role. The stage decides what shows
// each one (which control, where, in which font); the engine names no control of it.
enum class StageElement {
  MainTitle,     // the event's title
  SubTitle,      // its subtitle
  AwardLabel,    // the award being drawn
  PrizeLabel,    // its prize
  DrawerLabel,   // who draws it
  StatusLabel,   // the progress line ("准备抽取【…】…")
  NumberLabel,   // the centre text ("按空格键开始抽取", "抽奖完毕！")
  Marquee,       // the scrolling line (the event's text, or the congratulations)
  StartButton,   // the start button; its text is what the next press does ("开始" / "准备")
  StopButton,    // the stop button
  RollingPanel,  // where the candidates roll and the winners stay
  PrizePicture,  // the prize's picture
  MenuBar,       // the stage's menu bar
};
inline constexpr std::size_t kStageElementKinds = static_cast<std::size_t>(StageElement::MenuBar) + 1;

// How the draw engine drives the stage. StageWindow implements it; engine tests use a recording
// fake. Every text is GB18030 bytes. All calls come on the UI thread and must return promptly:
// ShowCandidates comes on every tick. The ticks themselves are the stage's: it runs its own timer
// while the draw's phase is Rolling (DrawSession::TickPeriod()).
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
  // Showing the rolling panel makes the stage behind it the roll's background (the stage's
  // snapshot, its own business); hiding it lets that picture go.
  virtual void SetVisible(StageElement element, bool visible) = 0;
  virtual bool IsVisible(StageElement element) const = 0;

  // Re-runs the stage layout for the current screen and visibilities.
  virtual void LayoutStage() = 0;

  // Prepares the rolling panel's font and grid for a batch of batchSize candidates. Text mode
  // measures with the pool's first entry; picture mode uses the photo grid.
  virtual void PrepareTextRolling(int batchSize, const std::string& firstEntry) = 0;
  virtual void PreparePictureRolling(int batchSize) = 0;

  // The candidates of this tick, in pick order, replacing the last tick's (the centre text goes
  // while they show): in text mode each as the audience may see it (masked when masking is on), in
  // picture mode the entry whose photo shows with its name. The stop shows its winners the same way.
  // The texts are valid during the call only (they may be the pool's own entries).
  virtual void ShowCandidates(const std::vector<std::string_view>& candidates) = 0;

  // Shows the prize picture file in the prize picture panel and makes the panel visible; the
  // engine hides the panel with SetVisible(PrizePicture, false). The stage never waits for the
  // picture: it looks at the file's header only and decodes the picture in the background, so the
  // answer says whether it will show, or why not.
  virtual PictureCheck ShowPrizePicture(const std::string& path) = 0;

  // Opens the winner show (the F6 result view); returns when it is closed.
  virtual void ShowWinnerShow() = 0;
};

}  // namespace kavrel
