#pragma once

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace kavrel {

// An integer-input box of the correction windows: whole numbers only, and few enough digits that a
// quota or batch count always stays within reason.
inline QLineEdit* NewNumberBox(QWidget* parent, const QString& name, int digits = 6) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), box));
  box->setMaxLength(digits);
  return box;
}

}  // namespace kavrel
