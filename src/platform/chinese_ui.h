#pragma once

class QApplication;

namespace kavrel {

// Makes Qt's own dialogs speak Chinese (确定/取消/是/否, file and print dialogs) and lets the
// Windows font names the program uses (微软雅黑, 宋体, 黑体) resolve to installed CJK fonts.
// Call once after the QApplication exists and before any window is created.
void InstallChineseUi(QApplication& app);

// The font substitutions alone (also used by tests that have no translator to install).
void RegisterChineseFontSubstitutes();

}  // namespace kavrel
