// kavrel抽奖: start-up. Creates the application, makes it speak Chinese, finds the data folder (the
// program folder, or the user's own when the program is installed), makes sure no other program runs
// on the same data, makes the draw, then its views (the stage, the operator console and the phone side),
// and runs the draw's own start-up sequence once the stage is on screen.

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

#include "assets.h"
#include "console/phone_hookup.h"
#include "console/stage_display.h"
#include "console/stage_link.h"
#include "engine/draw_session.h"
#include "kavrel_version.h"
#include "platform/chinese_ui.h"
#include "platform/descriptor_limit.h"
#include "platform/qt_prompter.h"
#include "platform/sdl_sound_port.h"
#include "platform/shell_open.h"
#include "platform/single_instance.h"
#include "platform/system_cameras.h"
#include "platform/system_clock.h"
#include "stage/command_actions.h"
#include "stage/stage_window.h"
#include "start_up_guard.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace {

QString FolderText(const std::filesystem::path& folder) {
  return kavrel::ToQt(kavrel::GbPath(folder));
}

// An installed program starting for the first time with an empty data folder offers the sample
// event, so that a new user sees a draw before preparing one.
void OfferSampleEvent(const kavrel::ProgramDir& dir, kavrel::Prompter& prompter) {
  if (!dir.HasSampleEvent() || kavrel::FileExists(dir.Path(kavrel::ProgramDir::kSetDat))) return;
  const auto answer =
      prompter.Message(kavrel::Gb("欢迎使用kavrel抽奖！\n\n是否载入示例活动（名单和奖项）来熟悉抽奖流程？\n"
                                  "之后可以在“设定”菜单中导入自己的名单、设置自己的奖项。"),
                       kavrel::Gb("提示信息："), kavrel::Buttons::YesNo, kavrel::Icon::Question);
  if (answer == kavrel::Answer::Yes && !dir.LaySampleEvent()) {
    prompter.Message(kavrel::Gb("示例活动没有载入：无法写入数据文件夹 ") + kavrel::GbPath(dir.Root()),
                     kavrel::Gb("错误提示："), kavrel::Buttons::Ok, kavrel::Icon::Error);
  }
}

}  // namespace

static int RunProgram(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("kavrel抽奖"));
  QApplication::setApplicationVersion(QString::fromLatin1(kavrel::kVersion));
  kavrel::InstallChineseUi(app);

  QIcon icon;
  for (const char* file : kavrel::assets::kAppIcons) icon.addFile(QString::fromLatin1(file));
  QApplication::setWindowIcon(icon);

  const kavrel::ProgramDir dir = kavrel::ProgramDir::FromExecutable();
  const bool firstStart = dir.SeparateData() && !std::filesystem::exists(dir.Root());
  if (!dir.FillFromDefaults() || !dir.EnsureConfigDir()) {
    const QString text =
        dir.SeparateData()
            ? QStringLiteral("无法创建数据文件夹：%1\n请检查该文件夹的权限后再运行。").arg(FolderText(dir.Root()))
            : QStringLiteral("无法在程序文件夹中创建 config 文件夹：%1\n请把程序放到可写的文件夹中再运行。")
                  .arg(FolderText(dir.Root()));
    QMessageBox::critical(nullptr, QStringLiteral("错误提示："), text);
    return 1;
  }

  // Two stages writing one result file would corrupt it.
  kavrel::SingleInstance instance(dir.Path(kavrel::ProgramDir::kInstanceLock));
  if (!instance.Acquire()) {
    QMessageBox::warning(nullptr, QStringLiteral("提示信息："),
                         QStringLiteral("抽奖程序已经在运行，不能再打开一个。\n\n"
                                        "两个抽奖程序同时使用同一个数据文件夹会损坏抽奖结果。\n数据文件夹：%1")
                             .arg(FolderText(dir.Root())));
    return 1;
  }
  // Nothing writes yet: a temporary beside a data file is what a write cut short by a crash left.
  kavrel::RemoveStaleTemporaries(dir);
  // A move into history cut short by a crash is finished (or undone) before the draw reads its files.
  kavrel::FinishInterruptedMove(dir);

  kavrel::QtPrompter prompter(nullptr, dir.Root());
  if (firstStart) OfferSampleEvent(dir, prompter);
  kavrel::SdlSoundPort sound;
  kavrel::SystemClock clock;
  // The draw belongs to the program; the stage, the console and the phones are views of it.
  kavrel::DrawSession session(prompter, sound, clock, dir);
  // ResumeStageMusic plays what the sound settings name; the draw keeps them current.
  sound.UseSoundSettings(session.Sounds());
  // The commands' actions: the stage's menus, the console's buttons and the keys of both run them.
  kavrel::CommandActions actions;
  kavrel::StageWindow stage(session, prompter, sound, clock, dir, &kavrel::OpenWithShell, &actions);
  prompter.SetParent(&stage);
  stage.UseCameras(kavrel::SystemCameras());
  // The stage goes on the screen chosen for it last time (when it is there), the operator console on
  // another; with one screen the stage alone covers it. Before the start-up so that the resume
  // question already opens where the operator sits.
  kavrel::StageLinkTo<kavrel::StageWindow> stageLink(stage);
  // The audience's phones: off until the operator starts the server from "设定" → "现场手机互动".
  // Made before the console, whose panel shows it.
  const auto phones = kavrel::MakePhoneHookup(session, stageLink, dir, clock);
  kavrel::StageDisplay display(stageLink, session, prompter, dir,
                               [&prompter](QWidget* parent) { prompter.SetParent(parent); });
  display.SetConsolePanel([&phones] { return phones->MakePanel(); });
  stage.SetPhoneInteraction(
      [&phones, &stage] { phones->OpenWindow(stage.OperatorWindow() ? stage.OperatorWindow() : &stage); });
  display.Start();
  // Without a window manager a full-screen request keeps the old size: cover the screen ourselves.
  stage.setGeometry(stage.ScreenRect());
  stage.show();
  stage.StartUp();
  display.FocusOperator();
  return app.exec();
}

int main(int argc, char** argv) {
  // Before anything opens: the phones' server sizes its connections from what is in force.
  kavrel::RaiseDescriptorLimit();
  kavrel::HoldDescriptorReserve();
  QApplication app(argc, argv);
  return kavrel::RunShowingFileErrors([&app] { return RunProgram(app); });
}
