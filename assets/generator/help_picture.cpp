// The picture of the help window ("操作提示"): a four-step quick guide on red, with small drawings of the
// menus and keys the operator uses, and a strip with the keys that matter during the show.
#include <QLinearGradient>
#include <QRadialGradient>
#include <QStringList>
#include <cmath>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

namespace {

const QColor kMenuBorder(0xB8, 0xA0, 0x90);
const QColor kMenuText(0x33, 0x22, 0x20);

// A small drawing of one of the stage's popup menus; highlighted is the row drawn as selected (-1: none).
void PaintMiniMenu(QPainter& p, const QRectF& box, const QString& title, const QStringList& items, int highlighted) {
  p.save();
  const double row = 21;
  // The menu bar button the popup hangs from.
  const QRectF tab(box.left(), box.top(), 44, 20);
  p.setPen(QPen(kMenuBorder, 1));
  p.setBrush(QColor(0xF4, 0xEE, 0xE6));
  p.drawRect(tab);
  p.setFont(CjkFont(12, true));
  p.setPen(kMenuText);
  p.drawText(tab, Qt::AlignCenter, title);
  const QRectF menu(box.left(), tab.bottom() + 1, box.width(), items.size() * row + 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRect(menu.translated(3, 3));
  p.setPen(QPen(kMenuBorder, 1));
  p.setBrush(Qt::white);
  p.drawRect(menu);
  p.setFont(CjkFont(11.5, false));
  for (int i = 0; i < items.size(); ++i) {
    const QRectF r(menu.left() + 3, menu.top() + 3 + i * row, menu.width() - 6, row);
    if (i == highlighted) {
      p.setPen(Qt::NoPen);
      p.setBrush(kRed);
      p.drawRect(r);
      p.setPen(Qt::white);
    } else {
      p.setPen(kMenuText);
    }
    // A hotkey is set apart by spaces in the item text; it is drawn flush right as in a real menu.
    const qsizetype gap = items[i].indexOf(QStringLiteral("  "));
    const QRectF textBox = r.adjusted(6, 0, -5, 0);
    if (gap < 0) {
      p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, items[i]);
    } else {
      p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, items[i].left(gap));
      p.drawText(textBox, Qt::AlignVCenter | Qt::AlignRight, items[i].mid(gap).trimmed());
    }
  }
  p.restore();
}

// A small award table like the one in the award settings window.
void PaintMiniTable(QPainter& p, const QRectF& box) {
  const QStringList head = {"奖项名称", "名额", "批次"};
  const QList<QStringList> rows = {
      {"特等奖", "1", "1"}, {"一等奖", "3", "1"}, {"二等奖", "10", "2"}, {"三等奖", "20", "2"}};
  const double cols[] = {0.46, 0.27, 0.27};
  const double row = 22;
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRect(QRectF(box.left() + 3, box.top() + 3, box.width(), row * 5));
  p.setBrush(Qt::white);
  p.setPen(QPen(kMenuBorder, 1));
  p.drawRect(QRectF(box.left(), box.top(), box.width(), row * 5));
  for (int r = 0; r < 5; ++r) {
    double x = box.left();
    const double y = box.top() + r * row;
    if (r == 0) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xF4, 0xEE, 0xE6));
      p.drawRect(QRectF(box.left() + 0.5, y + 0.5, box.width() - 1, row - 1));
    }
    for (int c = 0; c < 3; ++c) {
      const QRectF cell(x, y, box.width() * cols[c], row);
      p.setPen(QPen(QColor(0xE0, 0xD4, 0xC8), 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(cell);
      p.setPen(r == 0 ? kInk : kMenuText);
      p.setFont(CjkFont(11.5, r == 0));
      p.drawText(cell, Qt::AlignCenter, r == 0 ? head[c] : rows[r - 1][c]);
      x += cell.width();
    }
  }
  p.restore();
}

// A keyboard key cap with its label.
QRectF PaintKeyCap(QPainter& p, QPointF topLeft, const QString& label, double height, double minWidth = 0) {
  const QFont font = CjkFont(height * 0.46, true);
  const double w = std::max(minWidth, QFontMetricsF(font).horizontalAdvance(label) + height * 0.7);
  const QRectF cap(topLeft, QSizeF(w, height));
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x50, 0x3C, 0x30));
  p.drawRoundedRect(cap.translated(0, 2.5), 6, 6);
  QLinearGradient face(cap.topLeft(), cap.bottomLeft());
  face.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  face.setColorAt(1, QColor(0xE6, 0xDE, 0xD2));
  p.setBrush(face);
  p.setPen(QPen(QColor(0xA8, 0x98, 0x88), 1));
  p.drawRoundedRect(cap, 6, 6);
  p.setFont(font);
  p.setPen(kInk);
  p.drawText(cap, Qt::AlignCenter, label);
  p.restore();
  return cap;
}

// A small copy of the stage's start button.
void PaintMiniButton(QPainter& p, const QRectF& box, const QString& caption) {
  p.drawImage(box, PaintButtonFace(box.size().toSize(), ButtonState::Normal));
  p.save();
  p.setFont(CjkFont(box.height() * 0.38, true));
  p.setPen(kTitleYellow);
  p.drawText(box.adjusted(0, -box.height() * 0.05, 0, -box.height() * 0.05), Qt::AlignCenter, caption);
  p.restore();
}

struct Step {
  QString title;
  QString text;
};

void PaintCard(QPainter& p, const QRectF& card, int number, const Step& step) {
  p.save();
  // Shadow, cream face and gold border.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x00, 0x06, 110));
  p.drawRoundedRect(card.translated(0, 4), 14, 14);
  QLinearGradient face(card.topLeft(), card.bottomLeft());
  face.setColorAt(0, kCream);
  face.setColorAt(1, QColor(0xFF, 0xEE, 0xC8));
  p.setBrush(face);
  p.setPen(QPen(GoldBrush(card), 3));
  p.drawRoundedRect(card, 14, 14);
  // Number badge.
  const QPointF badge(card.left() + 26, card.top() + 24);
  p.setPen(QPen(GoldBrush(QRectF(badge - QPointF(16, 16), QSizeF(32, 32))), 3));
  QRadialGradient red(badge - QPointF(4, 5), 20);
  red.setColorAt(0, QColor(0xF0, 0x3A, 0x40));
  red.setColorAt(1, kRedDeep);
  p.setBrush(red);
  p.drawEllipse(badge, 15, 15);
  p.setFont(CjkFont(19, true));
  p.setPen(kGoldLight);
  p.drawText(QRectF(badge - QPointF(15, 16), QSizeF(30, 30)), Qt::AlignCenter, QString::number(number));
  // Title.
  p.setFont(CjkFont(20, true));
  p.setPen(kRedDeep);
  p.drawText(QRectF(card.left() + 48, card.top() + 8, card.width() - 52, 32), Qt::AlignVCenter | Qt::AlignLeft,
             step.title);
  // Description under the drawing.
  p.setFont(CjkFont(14, false));
  p.setPen(kInk);
  p.drawText(QRectF(card.left() + 12, card.top() + 200, card.width() - 20, card.height() - 204),
             Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, step.text);
  p.restore();
}

void PaintArrow(QPainter& p, QPointF centre) {
  p.save();
  p.setPen(QPen(kRedDeep, 2));
  p.setBrush(GoldBrush(QRectF(centre - QPointF(11, 11), QSizeF(22, 22))));
  p.drawEllipse(centre, 11, 11);
  QPainterPath chevron;
  chevron.moveTo(centre + QPointF(-3, -6));
  chevron.lineTo(centre + QPointF(4, 0));
  chevron.lineTo(centre + QPointF(-3, 6));
  p.setPen(QPen(kRedDeep, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(chevron);
  p.restore();
}

}  // namespace

QImage PaintHelpPicture(QSize size) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  const double W = size.width();
  const double H = size.height();
  Rng rng(796520);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);

  // Red ground with a soft light from the top and gold confetti in the corners.
  QLinearGradient ground(0, 0, 0, H);
  ground.setColorAt(0, kRedDeep);
  ground.setColorAt(0.5, kRed);
  ground.setColorAt(1, QColor(0x9A, 0x0A, 0x1A));
  p.fillRect(img.rect(), ground);
  PaintRays(p, QRectF(0, 0, W, H), QPointF(W / 2, -20), 28, H * 0.9, kGoldLight, 22);
  PaintConfetti(
      p, QRectF(0, 0, W, H), 90, rng,
      [&](QPointF at) {
        if (at.y() < 62 && std::abs(at.x() - W / 2) < 150) return 0.0;  // keep the title clean
        if (at.y() > 396) return 0.0;                                   // nothing behind the key strip
        return at.y() < 70 ? 0.8 : (at.x() < 14 || at.x() > W - 14) ? 0.5 : 0.04;
      },
      0.8);

  // Title.
  PaintOutlinedText(p, QRectF(0, 8, W, 48), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("四步快速上手"),
                    CjkFont(32, true), kTitleYellow, QColor(0x5A, 0x02, 0x0A), 5);
  PaintSparkle(p, QPointF(W / 2 - 122, 24), 8, kGoldPale);
  PaintSparkle(p, QPointF(W / 2 + 122, 34), 6, kGoldPale);

  const Step steps[] = {
      {QStringLiteral("准备名单"),
       QStringLiteral("在“设定”中打开“编辑抽奖人员名单”，导入文本或 Excel 名单，或生成号码，保存即可。")},
      {QStringLiteral("设置奖项"),
       QStringLiteral("在“设定”中打开“主副标题/奖项设定”，填写标题、奖项、名额、分几批抽取和奖品。")},
      {QStringLiteral("现场抽奖"),
       QStringLiteral("按空格键或“开始”按钮开始滚动，再按一次停止，中奖者留在屏幕上；再按一次准备下一批。")},
      {QStringLiteral("查看结果"),
       QStringLiteral("F6 滚动展示全部中奖者，F7 显示最近抽出的奖项。每一批的结果都会自动保存。")},
  };
  const double margin = 16;
  const double gap = 16;
  const double cardW = (W - 2 * margin - 3 * gap) / 4;
  const double cardTop = 72;
  const double cardH = 322;
  for (int i = 0; i < 4; ++i) {
    const QRectF card(margin + i * (cardW + gap), cardTop, cardW, cardH);
    PaintCard(p, card, i + 1, steps[i]);
    const QRectF art(card.left() + 10, card.top() + 50, card.width() - 20, 138);
    switch (i) {
      case 0:
        PaintMiniMenu(p, art.adjusted(0, 6, 0, 0), QStringLiteral("set.dat"),
                      {QStringLiteral("0001  张伟"), QStringLiteral("0002  王芳"), QStringLiteral("0003  李娜"),
                       QStringLiteral("0004  刘洋")},
                      0);
        break;
      case 1:
        PaintMiniTable(p, art.adjusted(0, 12, 0, 0));
        break;
      case 2: {
        const QRectF space =
            PaintKeyCap(p, QPointF(art.left() + 8, art.top() + 14), QStringLiteral("空格键"), 34, art.width() - 16);
        p.setFont(CjkFont(12, true));
        p.setPen(kRedDeep);
        p.drawText(QRectF(art.left(), space.bottom() + 6, art.width(), 18), Qt::AlignCenter, QStringLiteral("或"));
        PaintMiniButton(p, QRectF(art.center().x() - 52, space.bottom() + 28, 104, 40), QStringLiteral("开始"));
        break;
      }
      default:
        PaintMiniMenu(p, art.adjusted(0, 6, 0, 0), QStringLiteral("功能"),
                      {QStringLiteral("展示中奖人员名单(O)  F6"), QStringLiteral("显示中奖人员名单(P)  F7"),
                       QStringLiteral("查看中奖名单(Q)"), QStringLiteral("查看未中奖名单(R)")},
                      0);
        break;
    }
    if (i < 3) PaintArrow(p, QPointF(card.right() + gap / 2, card.top() + card.height() / 2));
  }

  // Key strip: the keys the operator needs during the show.
  const QRectF strip(margin, cardTop + cardH + 14, W - 2 * margin, H - (cardTop + cardH + 14) - 12);
  p.setPen(QPen(Alpha(kGold, 200), 1.5));
  p.setBrush(QColor(0x50, 0x00, 0x0A, 170));
  p.drawRoundedRect(strip, 12, 12);
  struct Hint {
    QStringList keys;
    QString text;
  };
  const Hint hints[] = {
      {{QStringLiteral("空格")}, QStringLiteral("开始 / 停止")},
      {{QStringLiteral("F6"), QStringLiteral("F7")}, QStringLiteral("中奖名单")},
      {{QStringLiteral("F1")}, QStringLiteral("重新开始")},
      {{QStringLiteral("F2")}, QStringLiteral("撤销上一批")},
      {{QStringLiteral("ESC")}, QStringLiteral("主菜单")},
  };
  const double cellW = strip.width() / 5;
  for (int i = 0; i < 5; ++i) {
    const double left = strip.left() + i * cellW;
    double keysW = 0;
    const QFont keyFont = CjkFont(34 * 0.46, true);
    for (const QString& k : hints[i].keys)
      keysW += std::max(40.0, QFontMetricsF(keyFont).horizontalAdvance(k) + 24) + 6;
    double x = left + (cellW - keysW + 6) / 2;
    for (const QString& k : hints[i].keys) x = PaintKeyCap(p, QPointF(x, strip.top() + 14), k, 34, 40).right() + 6;
    p.setFont(CjkFont(15, true));
    p.setPen(kGoldLight);
    p.drawText(QRectF(left, strip.top() + 54, cellW, 24), Qt::AlignCenter, hints[i].text);
  }
  return img;
}

}  // namespace gen
