#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "stage/stage_elements.h"

namespace kavrel {

// Layout-edit mode: while active, the operator drags the titles, award, prize name, centre caption,
// prize picture and rolling area with the left mouse button (the drawer and status captions show the
// move pointer but stay put), and the rolling area and prize picture show a single-line border.
// Dragged positions are not kept anywhere: the next layout pass puts everything back.
class LayoutEditor : public QObject {
  Q_OBJECT

 public:
  explicit LayoutEditor(const StageElements& elements, QObject* parent = nullptr);

  void SetActive(bool on);
  bool Active() const { return active_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Target {
    QPointer<QWidget> widget;
    bool draggable = false;
  };

  StageElements elements_;
  std::vector<Target> targets_;
  bool active_ = false;
  QPointer<QWidget> dragged_;
  QPoint grabOffset_;
};

}  // namespace kavrel
