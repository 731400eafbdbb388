// kavrel-picture-gen PICTURES_DIR MANUAL_IMG_DIR [NAME...]
// Draws the built-in pictures into PICTURES_DIR and the manual's placeholder screenshots into
// MANUAL_IMG_DIR (only where no screenshot exists yet). With names, only the pictures whose file name starts
// with one of them are written.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <vector>

#include "pictures.h"

namespace {

struct Output {
  QString file;
  int quality;  // JPEG quality; -1 for PNG
  std::function<QImage()> paint;
};

bool Save(const QString& path, const QImage& image, int quality) {
  const bool ok =
      quality < 0 ? image.save(path, "PNG") : image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", quality);
  std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), image.width(), image.height());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: kavrel-picture-gen PICTURES_DIR MANUAL_IMG_DIR [NAME...]\n");
    return 2;
  }
  const QDir pictures(args[1]);
  const QDir manual(args[2]);
  const QStringList only = args.mid(3);
  using gen::ButtonState;

  std::vector<Output> outputs = {
      {"stage_background.jpg", 88,
       [] {
         return gen::PaintStageBackground({1920, 1080});
       }},
      {"stage_background_4x3.jpg", 88,
       [] {
         return gen::PaintStageBackground({1440, 1080});
       }},
      {"button_normal.png", -1,
       [] {
         return gen::PaintButtonFace({129, 50}, ButtonState::Normal);
       }},
      {"button_hover.png", -1,
       [] {
         return gen::PaintButtonFace({129, 50}, ButtonState::Hover);
       }},
      {"button_pressed.png", -1,
       [] {
         return gen::PaintButtonFace({129, 50}, ButtonState::Pressed);
       }},
      {"button_disabled.png", -1,
       [] {
         return gen::PaintButtonFace({129, 50}, ButtonState::Disabled);
       }},
      {"button_normal@2x.png", -1,
       [] {
         return gen::PaintButtonFace({258, 100}, ButtonState::Normal);
       }},
      {"button_hover@2x.png", -1,
       [] {
         return gen::PaintButtonFace({258, 100}, ButtonState::Hover);
       }},
      {"button_pressed@2x.png", -1,
       [] {
         return gen::PaintButtonFace({258, 100}, ButtonState::Pressed);
       }},
      {"button_disabled@2x.png", -1,
       [] {
         return gen::PaintButtonFace({258, 100}, ButtonState::Disabled);
       }},
      {"help_guide.png", -1,
       [] {
         return gen::PaintHelpPicture({796, 520});
       }},
      {"result_background.jpg", 86,
       [] {
         return gen::PaintResultBackground({1920, 1080});
       }},
      {"winner_show_background.jpg", 86,
       [] {
         return gen::PaintWinnerShowBackground({1920, 1080});
       }},
      {"latest_award_background.jpg", 88,
       [] {
         return gen::PaintLatestAwardBackground({1920, 1080});
       }},
      {"lock_background.jpg", 86,
       [] {
         return gen::PaintLockBackground({1920, 1080});
       }},
  };
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    outputs.push_back({QStringLiteral("app_icon_%1.png").arg(size), -1, [size] { return gen::PaintAppIcon(size); }});
  }

  struct Shot {
    const char* file;
    const char* caption;
  };
  const Shot shots[] = {
      {"stage.png", "抽奖主界面"},
      {"menu.png", "主菜单（ESC 显示）"},
      {"list_editor.png", "编辑抽奖人员名单"},
      {"list_import.png", "导入名单"},
      {"award_settings.png", "主副标题/奖项设定"},
      {"award_edit.png", "增加/修改奖项"},
      {"rolling.png", "抽奖滚动中"},
      {"winners.png", "停止后显示中奖者"},
      {"winner_show.png", "展示中奖人员名单（F6）"},
      {"latest_award.png", "显示中奖人员名单（F7）"},
      {"winner_list.png", "查看中奖名单"},
      {"help_window.png", "操作提示窗口"},
  };

  auto wanted = [&](const QString& file) {
    if (only.isEmpty()) return true;
    for (const QString& name : only)
      if (file.startsWith(name)) return true;
    return false;
  };
  bool ok = pictures.mkpath(".") && manual.mkpath(".");
  for (const Output& o : outputs) {
    if (wanted(o.file)) ok = Save(pictures.filePath(o.file), o.paint(), o.quality) && ok;
  }
  if (wanted(QStringLiteral("logo.png"))) ok = Save(manual.filePath("logo.png"), gen::PaintAppIcon(96), -1) && ok;
  for (const Shot& shot : shots) {
    const QString file = QString::fromUtf8(shot.file);
    // A placeholder only stands in for a missing screenshot; real screenshots are never overwritten.
    if (!wanted(file) || manual.exists(file)) continue;
    ok =
        Save(manual.filePath(file), gen::PaintManualPlaceholder({800, 450}, QString::fromUtf8(shot.caption)), -1) && ok;
  }
  return ok ? 0 : 1;
}
