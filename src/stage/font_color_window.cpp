#include "stage/font_color_window.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolButton>

#include "stage/marquee_label.h"

namespace kavrel {

namespace {

const char* const kEffects[] = {"0.通常", "1.凹入", "2.凸出", "3.阴影"};

std::optional<QFont> SystemFontDialog(const QFont& current, QWidget* parent) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, current, parent, QStringLiteral("字体"));
  if (!ok) return std::nullopt;
  return font;
}

std::optional<QColor> SystemColourDialog(const QColor& current, QWidget* parent) {
  const QColor colour = QColorDialog::getColor(current, parent, QStringLiteral("颜色"));
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

// The font buttons' icon: a serif "A" over a coloured bar, drawn here rather than shipped as a file.
QIcon FontIcon() {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f(QStringLiteral("Serif"));
  f.setPixelSize(15);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x8E, 0x0A, 0x16));
  p.drawText(QRect(0, -2, 20, 18), Qt::AlignCenter, QStringLiteral("A"));
  p.fillRect(QRect(3, 16, 14, 3), QColor(0xF2, 0xB6, 0x32));
  return QIcon(pm);
}

QLabel* Caption(const QString& text, QRect geometry, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace

ColourPicker::ColourPicker(const QColor& colour, Chooser chooser, QWidget* parent)
    : QPushButton(parent), colour_(colour), chooser_(chooser ? std::move(chooser) : Chooser(&SystemColourDialog)) {
  setAutoDefault(false);
  setToolTip(QStringLiteral("单击选择颜色"));
  connect(this, &QPushButton::clicked, this, [this] {
    if (const std::optional<QColor> c = chooser_(colour_, window())) SetColour(*c);
  });
}

void ColourPicker::SetColour(const QColor& colour) {
  if (!colour.isValid()) return;
  colour_ = colour;
  update();
  emit colourChanged(colour);
}

void ColourPicker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
  p.fillRect(rect().adjusted(4, 4, -4, -4), colour_);
  p.setPen(QColor(64, 64, 64));
  p.drawRect(rect().adjusted(4, 4, -5, -5));
}

FontColorWindow::FontColorWindow(StageStyler& styler, QWidget* parent, FontChooser fontChooser,
                                 ColourPicker::Chooser colourChooser)
    : QDialog(parent), styler_(styler), fontChooser_(fontChooser ? std::move(fontChooser) : &SystemFontDialog) {
  setObjectName(QStringLiteral("FontColorWindow"));
  setWindowTitle(QStringLiteral("修改字体及颜色"));
  setModal(true);
  setFixedSize(520, 410);

  const QIcon icon = FontIcon();
  for (std::size_t k = 0; k < kFontRows.size(); ++k) {
    const StageElement row = kFontRows[k];
    const int y = 48 * static_cast<int>(k);
    const QString stem = QString::fromUtf8(RowStem(row));
    StageLabel* label = styler_.Label(row);

    Caption(RowCaption(row), QRect(16, 9 + y, 210, 32), this);

    auto* font = new QToolButton(this);
    font->setObjectName(QStringLiteral("超级按钮_") + stem);
    font->setIcon(icon);
    font->setText(QStringLiteral("字体"));
    font->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    font->setAutoRaise(true);
    font->setGeometry(226, y, 32, 50);
    connect(font, &QToolButton::clicked, this, [this, row] { ChooseFont(row); });

    auto* colour = new ColourPicker(label->TextColour(), colourChooser, this);
    colour->setObjectName(QStringLiteral("颜色选择器_") + stem);
    colour->setGeometry(269, 10 + y, 80, 24);
    connect(colour, &ColourPicker::colourChanged, this, [this, row](const QColor& c) { styler_.SetColour(row, c); });

    Caption(QStringLiteral("效果："), QRect(356, 6 + y, 50, 32), this);
    auto* effect = new QComboBox(this);
    effect->setObjectName(QStringLiteral("组合框_") + stem);
    for (const char* item : kEffects) effect->addItem(QString::fromUtf8(item));
    effect->setGeometry(408, k == 5 ? 253 : 12 + y, 72, 20);
    // Showing the label's current effect is not a change: connect only afterwards.
    effect->setCurrentIndex(static_cast<int>(label->Effect()));
    connect(effect, &QComboBox::currentIndexChanged, this, [this, row](int index) { styler_.SetEffect(row, index); });
  }

  Caption(QStringLiteral("修改滚动字幕的字体颜色："), QRect(16, 293, 172, 24), this);
  auto* marqueeText = new ColourPicker(styler_.MarqueeTextColour(), colourChooser, this);
  marqueeText->setObjectName(QStringLiteral("颜色选择器_滚动"));
  marqueeText->setGeometry(189, 296, 80, 24);
  connect(marqueeText, &ColourPicker::colourChanged, this,
          [this](const QColor& c) { styler_.SetMarqueeTextColour(c); });

  Caption(QStringLiteral("修改滚动字幕背景颜色："), QRect(272, 294, 154, 24), this);
  auto* marqueeBack = new ColourPicker(styler_.MarqueeBackground(), colourChooser, this);
  marqueeBack->setObjectName(QStringLiteral("颜色选择器_滚动背景"));
  marqueeBack->setGeometry(427, 296, 80, 24);
  connect(marqueeBack, &ColourPicker::colourChanged, this,
          [this](const QColor& c) { styler_.SetMarqueeBackground(c); });

  Caption(QStringLiteral("修改滚动中奖区的字体颜色："), QRect(6, 331, 182, 24), this);
  auto* roll = new ColourPicker(styler_.RollColour(), colourChooser, this);
  roll->setObjectName(QStringLiteral("颜色选择器_滚动中奖区"));
  roll->setGeometry(189, 334, 80, 24);
  connect(roll, &ColourPicker::colourChanged, this, [this](const QColor& c) { styler_.SetRollColour(c); });

  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  close->setObjectName(QStringLiteral("按钮_关闭"));
  close->setAutoDefault(false);
  close->setGeometry(404, 330, 60, 32);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void FontColorWindow::ChooseFont(StageElement row) {
  // The design's face names (微软雅黑) are substitutes here; the dialog opens on the face and style really
  // used, so that OK without a change keeps the caption as it looks. The style goes by the font's own name
  // ("Bold"): the dialog would otherwise look for its translated name ("粗体") and fall back to Regular.
  QFont current = styler_.Label(row)->font();
  const QFontInfo used(current);
  current.setFamily(used.family());
  current.setStyleName(used.styleName());
  if (const std::optional<QFont> font = fontChooser_(current, this)) styler_.SetFont(row, *font);
}

}  // namespace kavrel
