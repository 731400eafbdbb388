// kavrel抽奖: start-up. Creates the application, makes it speak Chinese, finds the program folder
// and opens the stage, which runs the draw's own start-up sequence once it is on screen.

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

#include "assets.h"
#include "console/stage_display.h"
#include "platform/chinese_ui.h"
#include "platform/qt_camera.h"
#include "platform/qt_prompter.h"
#include "platform/sdl_sound_port.h"
#include "platform/shell_open.h"
#include "platform/system_clock.h"
#include "stage/stage_window.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kavrel抽奖"));
  kavrel::InstallChineseUi(app);

  QIcon icon;
  for (const char* file : kavrel::assets::kAppIcons) icon.addFile(QString::fromLatin1(file));
  QApplication::setWindowIcon(icon);

  const kavrel::ProgramDir dir = kavrel::ProgramDir::FromExecutable();
  if (!dir.EnsureConfigDir()) {
    QMessageBox::critical(nullptr, QStringLiteral("错误提示："),
                          QStringLiteral("无法在程序文件夹中创建 config 文件夹：%1\n请把程序放到可写的文件夹中再运行。")
                              .arg(QCoreApplication::applicationDirPath()));
    return 1;
  }
  // Nothing writes yet: a temporary beside a data file is what a write cut short by a crash left.
  kavrel::RemoveStaleTemporaries(dir);

  kavrel::QtPrompter prompter;
  kavrel::SdlSoundPort sound;
  kavrel::SystemClock clock;
  kavrel::StageWindow stage(prompter, sound, clock, dir, &kavrel::OpenWithShell);
  prompter.SetParent(&stage);
  stage.UseCameras([] { return std::make_unique<kavrel::QtCamera>(); });
  // ResumeStageMusic plays what the sound settings name; the draw keeps them current.
  sound.UseSoundSettings(stage.controller().Sounds());
  // The stage goes on the screen chosen for it last time (when it is there), the operator console on
  // another; with one screen the stage alone covers it. Before the start-up so that the resume
  // question already opens where the operator sits.
  kavrel::StageDisplay display(stage, prompter, dir, [&prompter](QWidget* parent) { prompter.SetParent(parent); });
  display.Start();
  // Without a window manager a full-screen request keeps the old size: cover the screen ourselves.
  stage.setGeometry(stage.ScreenRect());
  stage.show();
  stage.StartUp();
  display.FocusOperator();
  return app.exec();
}
