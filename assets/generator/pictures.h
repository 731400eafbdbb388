// One painter per built-in picture. Each draws at the size it is given, so a picture can be rendered at
// the size it is shown (and at twice that for high-density screens).
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace gen {

enum class ButtonState { Normal, Hover, Pressed, Disabled };

QImage PaintStageBackground(QSize size);
QImage PaintButtonFace(QSize size, ButtonState state);
QImage PaintHelpPicture(QSize size);
QImage PaintResultBackground(QSize size);
QImage PaintWinnerShowBackground(QSize size);
QImage PaintLatestAwardBackground(QSize size);
QImage PaintLockBackground(QSize size);
QImage PaintAppIcon(int size);
QImage PaintManualPlaceholder(QSize size, const QString& caption);

}  // namespace gen
