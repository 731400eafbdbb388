#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace kavrel {

// The control called `name` (its design name) inside `parent`; a missing one fails the test.
template <typename W>
W* Find(QWidget* parent, const char* name) {
  W* w = parent->findChild<W*>(QString::fromUtf8(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Saves a picture of a window when KAVREL_SCREENSHOT_DIR is set, for looking at the layout.
inline void Shot(QWidget* w, const char* file) {
  const QString dir = qEnvironmentVariable("KAVREL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) w->grab().save(dir + u'/' + QString::fromUtf8(file));
}

// A combo box's texts in order.
inline QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// A list box's texts in order.
inline QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

}  // namespace kavrel
