#include "stage/winners_wall.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "stage/stage_look.h"
#include "storage/codec.h"
#include "storage/result_store.h"

namespace kavrel {
namespace {

const QColor kName(0xFF, 0xE0, 0x8A);       // warm gold
const QColor kHeading(0xFF, 0xFF, 0xFF);    // white award headings
const QColor kVeil(0x30, 0x00, 0x06, 185);  // dims the background so every name reads

// Text with a dark rim, readable on any part of the dimmed picture.
void DrawRimmed(QPainter& p, const QRect& box, int flags, const QString& text, const QFont& font, const QColor& c) {
  p.setFont(font);
  p.setPen(QColor(40, 0, 6, 230));
  for (const QPoint d : {QPoint(-2, 0), QPoint(2, 0), QPoint(0, -2), QPoint(0, 2)})
    p.drawText(box.translated(d), flags, text);
  p.setPen(c);
  p.drawText(box, flags, text);
}

}  // namespace

std::vector<WallGroup> WallGroupsOf(const std::vector<ResultLine>& results) {
  std::vector<WallGroup> groups;
  const std::string& abandoned = AbandonedMark();
  for (const ResultLine& line : results) {
    const QString award = ToQt(line.awardName);
    auto it = std::find_if(groups.begin(), groups.end(), [&](const WallGroup& g) { return g.award == award; });
    if (it == groups.end()) {
      groups.push_back({award, ToQt(line.prizeName), {}});
      it = std::prev(groups.end());
    }
    for (const std::string& w : line.winners) {
      const bool gaveUp =
          w.size() >= abandoned.size() && w.compare(w.size() - abandoned.size(), abandoned.size(), abandoned) == 0;
      if (!gaveUp && !w.empty()) it->winners << ToQt(w);
    }
  }
  return groups;
}

WinnersWall::WinnersWall(std::vector<WallGroup> groups, const QPixmap& background, QWidget* parent)
    : QWidget(parent), groups_(std::move(groups)), background_(background) {
  setObjectName(QStringLiteral("画板_中奖墙"));
  setFocusPolicy(Qt::StrongFocus);
  nameFont_ = StageFont(kFaceYaHei, 36, true);
  headingFont_ = nameFont_;
  pageTimer_.setInterval(kPageSeconds * 1000);
  connect(&pageTimer_, &QTimer::timeout, this, &WinnersWall::NextPage);
  QStringList all;
  for (const WallGroup& g : groups_) all << g.award + QStringLiteral("：") + g.winners.join(QStringLiteral("、"));
  setAccessibleName(QStringLiteral("中奖名单：") + all.join(QStringLiteral("；")));
}

QRect WinnersWall::NamesArea() const {
  // The title band at the top, the page number at the foot, margins at the sides.
  const int top = height() * 14 / 100;
  const int bottom = height() * 7 / 100;
  const int side = width() * 5 / 100;
  return {side, top, std::max(0, width() - 2 * side), std::max(0, height() - top - bottom)};
}

void WinnersWall::Relayout() {
  std::vector<int> counts;
  QStringList names;
  for (const WallGroup& g : groups_) {
    counts.push_back(static_cast<int>(g.winners.size()));
    names << g.winners;
  }
  // The widest few names decide the columns (measured once, scaled by proportion).
  QFont probe = nameFont_;
  probe.setPixelSize(100);
  const QFontMetrics fm(probe);
  int widest = 0;
  for (const QString& n : names) widest = std::max(widest, fm.horizontalAdvance(n));
  const QRect area = NamesArea();
  layout_ = LayOutWall(counts, area.size(), height(), [widest](int px) { return widest * px / 100 + 2; });
  nameFont_.setPixelSize(std::max(1, layout_.pixelSize));
  headingFont_.setPixelSize(std::max(1, layout_.headingPixelSize));
  ShowPage(std::min(page_, std::max(0, PageCount() - 1)));
}

void WinnersWall::ShowPage(int page) {
  page_ = page;
  if (PageCount() > 1)
    pageTimer_.start();
  else
    pageTimer_.stop();
  update();
}

void WinnersWall::NextPage() {
  if (PageCount() > 0) ShowPage((page_ + 1) % PageCount());
}

void WinnersWall::PreviousPage() {
  if (PageCount() > 0) ShowPage((page_ + PageCount() - 1) % PageCount());
}

bool WinnersWall::PagingKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_Right:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

bool WinnersWall::HandleKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
      NextPage();
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
      PreviousPage();
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    default:
      return false;
  }
}

void WinnersWall::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && HandleKey(event->key())) return;
  QWidget::keyPressEvent(event);
}

void WinnersWall::resizeEvent(QResizeEvent*) {
  Relayout();
}

void WinnersWall::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  if (!background_.isNull())
    p.drawPixmap(rect(), background_);
  else
    p.fillRect(rect(), QColor(0x8E, 0x0A, 0x16));
  p.fillRect(rect(), kVeil);

  QFont title = nameFont_;
  title.setPixelSize(std::max(12, height() * 7 / 100));
  DrawRimmed(p, QRect(0, height() * 3 / 100, width(), height() * 10 / 100), Qt::AlignCenter, QStringLiteral("中奖名单"),
             title, kName);
  const QRect area = NamesArea();
  if (PageCount() == 0) {
    DrawRimmed(p, area, Qt::AlignCenter, QStringLiteral("还没有中奖人员"), headingFont_, kHeading);
    return;
  }
  for (const WallItem& item : layout_.pages[static_cast<std::size_t>(page_)]) {
    const WallGroup& g = groups_[static_cast<std::size_t>(item.group)];
    const QRect box = item.rect.translated(area.topLeft());
    if (item.winner < 0) {
      QString heading = g.prize.isEmpty() ? g.award : g.award + QStringLiteral("  ") + g.prize;
      if (item.continued) heading += QStringLiteral("（续）");
      const QFontMetrics fm(headingFont_);
      DrawRimmed(p, box, Qt::AlignHCenter | Qt::AlignBottom, fm.elidedText(heading, Qt::ElideRight, box.width()),
                 headingFont_, kHeading);
    } else {
      const QFontMetrics fm(nameFont_);
      DrawRimmed(p, box, Qt::AlignLeft | Qt::AlignVCenter,
                 fm.elidedText(g.winners[item.winner], Qt::ElideRight, box.width()), nameFont_, kName);
    }
  }
  if (PageCount() > 1) {
    QFont small = headingFont_;
    small.setPixelSize(std::max(10, height() * 3 / 100));
    DrawRimmed(p, QRect(0, height() - height() * 6 / 100, width() - width() * 3 / 100, height() * 5 / 100),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("第 %1 / %2 页").arg(page_ + 1).arg(PageCount()),
               small, kHeading);
  }
}

}  // namespace kavrel
