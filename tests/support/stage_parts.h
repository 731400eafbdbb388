#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "stage/stage_menus.h"

namespace kavrel {

// The stage's parts as a test reaches them: by the names and kinds they carry, as anyone inspecting
// the window would, so the window keeps no accessors for its tests.
inline StageElements StageElementsOf(QWidget& stage) {
  auto label = [&](const char* name) { return stage.findChild<StageLabel*>(QString::fromUtf8(name)); };
  auto button = [&](const char* name) { return stage.findChild<PictureButton*>(QString::fromUtf8(name)); };
  StageElements e;
  e.window = &stage;
  e.mainTitle = label("透明标签_主标题");
  e.subtitle = label("透明标签_副标题");
  e.award = label("透明标签_奖项");
  e.prizeName = label("透明标签_奖品名称");
  e.centre = label("透明标签_中奖号码");
  e.drawer = label("透明标签_抽奖人");
  e.status = label("透明标签_抽奖状态");
  e.prizePicture = stage.findChild<PrizePicturePanel*>();
  e.marquee = stage.findChild<MarqueeLabel*>();
  e.rolling = stage.findChild<RollingPanel*>();
  e.startButton = button("超级按钮_开始");
  e.stopButton = button("超级按钮_停止");
  e.menuBar = stage.findChild<StageMenuBar*>();
  e.blank = stage.findChild<QWidget*>(QStringLiteral("画板_黑屏"));
  return e;
}

// The draw timer (时钟_抽奖), the menu bar and the menus of a stage.
inline QTimer* DrawTimerOf(QWidget& stage) {
  return stage.findChild<QTimer*>(QStringLiteral("时钟_抽奖"));
}
inline StageMenuBar* MenuBarOf(QWidget& stage) {
  return stage.findChild<StageMenuBar*>();
}
inline StageMenus* MenusOf(QWidget& stage) {
  return stage.findChild<StageMenus*>();
}

}  // namespace kavrel
