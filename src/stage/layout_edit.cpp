#include "stage/layout_edit.h"

#include <QMouseEvent>

#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/stage_label.h"

namespace kavrel {

LayoutEditor::LayoutEditor(const StageElements& elements, QObject* parent) : QObject(parent), elements_(elements) {
  auto add = [this](QWidget* w, bool draggable) {
    if (!w) return;
    targets_.push_back({w, draggable});
    w->installEventFilter(this);
  };
  add(elements.mainTitle, true);
  add(elements.subtitle, true);
  add(elements.award, true);
  add(elements.prizeName, true);
  add(elements.centre, true);
  add(elements.prizePicture, true);
  add(elements.rolling, true);
  // The drawer and status captions are re-centred whenever their text changes, so moving them would
  // not last; they show the move pointer like the rest but stay where they are.
  add(elements.drawer, false);
  add(elements.status, false);
}

void LayoutEditor::SetActive(bool on) {
  active_ = on;
  dragged_ = nullptr;
  for (const Target& t : targets_) {
    if (!t.widget) continue;
    if (on) {
      t.widget->setCursor(Qt::SizeAllCursor);
    } else {
      t.widget->unsetCursor();
    }
  }
  if (elements_.rolling) elements_.rolling->SetEditBorder(on);
  if (elements_.prizePicture) elements_.prizePicture->SetEditBorder(on);
}

bool LayoutEditor::eventFilter(QObject* watched, QEvent* event) {
  if (!active_) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() != Qt::LeftButton) return false;
      for (const Target& t : targets_) {
        if (t.widget == widget && t.draggable) {
          dragged_ = widget;
          grabOffset_ = e->position().toPoint();
          widget->raise();
          return true;
        }
      }
      return false;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (dragged_ != widget || !(e->buttons() & Qt::LeftButton)) return false;
      widget->move(widget->mapToParent(e->position().toPoint()) - grabOffset_);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (dragged_ != widget) return false;
      dragged_ = nullptr;
      return true;
    default:
      return false;
  }
}

}  // namespace kavrel
