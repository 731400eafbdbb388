#include "stage/help_tips_window.h"

#include <QLabel>
#include <QPushButton>

#include "kavrel_version.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

HelpTipsWindow::HelpTipsWindow(const QPixmap& guide, const ProgramDir& dir, OpenDocument open, QWidget* parent)
    : QDialog(parent), dir_(dir), open_(std::move(open)) {
  setObjectName(QStringLiteral("HelpTipsWindow"));
  setWindowTitle(QStringLiteral("操作提示"));
  setFixedSize(800, 600);
  setModal(true);
  setStyleSheet(QStringLiteral(
      "#HelpTipsWindow { background: #FFF6E0; }"
      "#按钮_使用说明书 { color: #FFE08A; font-family: '微软雅黑'; font-weight: bold; border: 1px solid #F2B632;"
      " border-radius: 4px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #E0303E, stop:1 #8E0A16); }"
      "#按钮_使用说明书:hover { background: #C8102E; }"
      "#按钮_使用说明书:pressed { background: #8E0A16; }"));

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("图片框_操作提示"));
  picture->setGeometry(0, 0, 796, 520);
  picture->setPixmap(guide.scaled(796, 520, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  picture->setAccessibleName(QStringLiteral("快速入门：导入名单或生成号码、设置奖项、调整界面、开始抽奖"));

  auto* tip = new QLabel(QStringLiteral("操作要领：主菜单(ESC键显示和隐藏主菜单) + 快捷键操作"), this);
  tip->setObjectName(QStringLiteral("标签_操作要领"));
  tip->setGeometry(348, 534, 440, 32);
  tip->setStyleSheet(QStringLiteral("color: #8E0A16; font-family: '微软雅黑'; font-size: 11pt; font-weight: bold;"));

  auto* version = new QLabel(QStringLiteral("版本 %1").arg(QString::fromLatin1(kVersion)), this);
  version->setObjectName(QStringLiteral("标签_版本"));
  version->setGeometry(170, 534, 170, 32);
  version->setStyleSheet(QStringLiteral("color: #8E0A16; font-family: '微软雅黑'; font-size: 10pt;"));

  auto* manual = new QPushButton(QStringLiteral("使用说明书"), this);
  manual->setObjectName(QStringLiteral("按钮_使用说明书"));
  manual->setGeometry(58, 532, 100, 32);
  connect(manual, &QPushButton::clicked, this, [this] {
    // A manual that cannot be opened is not reported, like a missing help file.
    if (open_) open_(GbPath(ManualPath(dir_)));
  });
}

std::filesystem::path HelpTipsWindow::ManualPath(const ProgramDir& dir) {
  // The manual is part of the program, not of the data: installed, it stays in the program folder.
  std::filesystem::path chm = dir.ProgramPath(ProgramDir::kHelpFile);
  if (FileExists(chm)) return chm;
  return dir.ProgramPath("\\manual\\index.html");
}

}  // namespace kavrel
