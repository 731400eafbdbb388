#include "engine/mode_switch.h"

#include <filesystem>
#include <vector>

#include "engine/draw_controller.h"
#include "engine/draw_state.h"
#include "engine/draw_texts.h"
#include "engine/ports/clock.h"
#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"

namespace kavrel {

ModeSwitch::ModeSwitch(DrawController& draw, const DrawState& state, DrawMode& mode, const ProgramDir& dir,
                       Settings& settings, Prompter& prompter, const Clock& clock, ModeSwitchHost& host)
    : draw_(draw),
      state_(state),
      mode_(mode),
      dir_(dir),
      settings_(settings),
      prompter_(prompter),
      clock_(clock),
      host_(host) {}

bool ModeSwitch::ConfirmDiscard(bool toText) {
  const bool listExists = !state_.pool.empty() || FileExists(dir_.Path(ProgramDir::kSetDat)) ||
                          (!toText && FileExists(dir_.Path(ProgramDir::kImDataDat)));
  if (listExists) {
    const std::string text =
        toText
            ? "切换到文字(号码)抽奖模式将清空当前的抽奖人员名单，原名单文件会移到 history 文件夹保存。确定要切换吗？"
            : "切换到图片(照片)抽奖模式将清空当前的抽奖人员名单，原名单文件会移到 history 文件夹保存。确定要切换吗？";
    if (prompter_.Message(Gb(text), Gb("提示信息："), Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
  }
  if (state_.drawStarted &&
      prompter_.Message(Gb(texts::kRestartQuestion), Gb("提示信息："), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return false;
  return true;
}

void ModeSwitch::Switch(bool toText) {
  if (mode_.textMode == toText) return;  // the item is already checked: the list stays
  // Nothing may roll behind the questions, and the pool is about to change under the roll.
  const bool paused = draw_.RollActive();
  if (paused) draw_.PauseRoll();
  // A switch back requested by the mode check inside a switch was already agreed to.
  if (!switching_ && !ConfirmDiscard(toText)) {
    if (paused) draw_.ResumeRoll();
    return;
  }

  std::vector<std::filesystem::path> discarded{dir_.Path(ProgramDir::kSetDat)};
  if (!toText) discarded.insert(discarded.begin(), dir_.Path(ProgramDir::kImDataDat));
  if (!MoveToHistory(dir_, discarded, clock_.Now())) {
    prompter_.Message(Gb("无法把原抽奖名单移到 history 文件夹保存，抽奖模式没有切换。请检查程序文件夹是否可写。"),
                      Gb("错误提示："), Buttons::Ok, Icon::Error);
    if (paused) draw_.ResumeRoll();
    return;
  }
  // The frozen roll ends without a record: its pool is the list just put aside.
  if (paused) draw_.AbortRoll();

  const bool outer = !switching_;
  switching_ = true;
  host_.SetModeChecks(toText);
  mode_.textMode = toText;
  settings_.WriteBool(Gb(kModeSection), Gb(kTextModeKey), toText);
  // The draw ends before the mode check asks anything: a crash during its questions (or the list
  // editor it may open) must not leave a resume record of a draw whose list is gone, and the editor
  // must find no draw under way to ask about.
  draw_.DiscardDraw();
  CheckDrawMode();
  if (outer) switching_ = false;
}

void ModeSwitch::CheckDrawMode() {
  if (settings_.ReadBool(Gb(kModeSection), Gb(kTextModeKey), true)) {
    host_.SetModeChecks(true);
    mode_.textMode = true;
    return;
  }
  host_.SetModeChecks(false);
  mode_.textMode = false;
  mode_.pictureFolder = settings_.ReadText(Gb("图片路径"), Gb("图片前缀"), "");
  std::error_code ec;
  const bool folderMissing =
      mode_.pictureFolder.empty() || !std::filesystem::is_directory(NativePath(mode_.pictureFolder), ec);
  if (folderMissing || !FileExists(dir_.Path(ProgramDir::kSetDat))) {
    const Answer a =
        prompter_.Message(Gb("当前模式为图片模式，请先导入图片，按【是】导入图片，按【否】更改为文字抽奖！"),
                          Gb("提示信息："), Buttons::YesNo, Icon::Question);
    if (a == Answer::Yes)
      host_.OpenListEditor();
    else
      SwitchToText();
  }
  mode_.pictureRatio43 = settings_.ReadText(Gb("图片路径"), Gb("图片比例"), "4:3") == "4:3";
}

}  // namespace kavrel
