#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace kavrel {

// While a result window covers the stage and the operator works at the console on another screen, a
// small window over the console says what the audience sees, that the space bar does nothing meanwhile,
// and closes the result window with its button or Escape; the result window itself is on the projector,
// out of the operator's reach. Owned by `results`; returns the panel.
QDialog* AddResultsClosePanel(QDialog& results, QWidget& operatorWindow, const QString& shown);

}  // namespace kavrel
