#pragma once

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "stage/winners_wall_layout.h"

namespace kavrel {

struct ResultLine;

// One award on the wall and its winners, in the order they were drawn.
struct WallGroup {
  QString award;
  QString prize;
  QStringList winners;
};

// Every winner so far (the draw's result lines), grouped by award in the order the awards were first
// drawn; a winner who gave the prize up is left out.
std::vector<WallGroup> WallGroupsOf(const std::vector<ResultLine>& results);

// The winners wall (画板_中奖墙): a full-screen page of every winner so far, grouped by award, over the
// stage's background, in names the back of the hall can read. More than a page turns by itself every
// few seconds, or with the clicker (PageDown, PageUp); Escape closes it.
class WinnersWall : public QWidget {
  Q_OBJECT

 public:
  // `background`: the stage's picture at the wall's size (dimmed under the names).
  WinnersWall(std::vector<WallGroup> groups, const QPixmap& background, QWidget* parent = nullptr);

  // The page on show (0-based) and how many there are.
  int Page() const { return page_; }
  int PageCount() const { return static_cast<int>(layout_.pages.size()); }
  const WallLayout& Layout() const { return layout_; }

  void NextPage();
  void PreviousPage();
  // The clicker and the keyboard: true when the key was the wall's.
  bool HandleKey(int qtKey);
  // The keys HandleKey takes: PageDown, PageUp, the arrows and Escape.
  static bool PagingKey(int qtKey);

  // Seconds a page stays before the next one comes.
  static constexpr int kPageSeconds = 10;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRect NamesArea() const;
  void Relayout();
  void ShowPage(int page);

  std::vector<WallGroup> groups_;
  QPixmap background_;
  QFont nameFont_;
  QFont headingFont_;
  WallLayout layout_;
  int page_ = 0;
  QTimer pageTimer_;
};

}  // namespace kavrel
