#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>

#include "results/latest_award_layout.h"
#include "storage/result_store.h"

namespace kavrel {

// Metrics of the latest-award font (微软雅黑 bold) at the screen's resolution.
class QtTextMeasure : public TextMeasure {
 public:
  explicit QtTextMeasure(const QWidget* device) : device_(device) {}
  int LineHeight(int pointSize, const std::string& gbText) const override;
  int Width(int pointSize, const std::string& gbText) const override;

 private:
  const QWidget* device_;
};

QFont LatestAwardFont(int pointSize);

// The latest award in two columns on its picture. The layout follows the panel's size.
class LatestAwardPanel : public QWidget {
  Q_OBJECT

 public:
  LatestAwardPanel(std::optional<ResultLine> line, QWidget* parent);

  const LatestAwardLayout& layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::optional<ResultLine> line_;
  LatestAwardLayout layout_;
  QPixmap background_;
};

}  // namespace kavrel
