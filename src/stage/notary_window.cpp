#include "stage/notary_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qr_code.h"
#include "storage/codec.h"
#include "storage/receipt_log.h"

namespace kavrel {

namespace {

const char* const kWindowStyle =
    "QDialog { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #8E0A16, stop:1 #C8102E); }"
    "QLabel { color: #FFE08A; font-family: '微软雅黑'; }"
    "QPushButton { font-family: '微软雅黑'; font-size: 12pt; color: #FFE08A; border: 1px solid #F2B632;"
    " border-radius: 4px; padding: 4px 24px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #E0303E, stop:0.5 #C8102E, stop:1 #8E0A16); }"
    "QPushButton:hover { background: #E0303E; } QPushButton:pressed { background: #8E0A16; }";

QString Ascii(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A 64-digit hash on two lines of 32: a word wrap never breaks inside it, so it would be cut.
QString TwoLines(const std::string& hash) {
  return hash.size() <= 32 ? Ascii(hash) : Ascii(hash.substr(0, 32)) + QLatin1Char('\n') + Ascii(hash.substr(32));
}

}  // namespace

NotaryWindow::NotaryWindow(const NotaryFacts& facts, QWidget* parent) : QDialog(parent) {
  const std::string& seal = facts.seal;
  setObjectName(QStringLiteral("公证信息"));
  setWindowTitle(QStringLiteral("公证信息"));
  setStyleSheet(QString::fromUtf8(kWindowStyle));

  // Sized to the screen it opens on, so the seal reads from the back of the hall on a projector and
  // the window still fits an 800 x 600 screen.
  QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize area = screen ? screen->availableGeometry().size() : QSize(1024, 768);
  const int unit = std::max(4, std::min(area.width(), area.height()) / 100);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3 * unit, 2 * unit, 3 * unit, 2 * unit);
  layout->setSpacing(unit);

  auto* heading = new QLabel(QStringLiteral("本场抽奖的公证封印"), this);
  heading->setObjectName(QStringLiteral("标签_标题"));
  heading->setAlignment(Qt::AlignCenter);
  QFont headingFont = heading->font();
  headingFont.setPixelSize(3 * unit);
  headingFont.setBold(true);
  heading->setFont(headingFont);
  layout->addWidget(heading);

  sealLabel_ = new QLabel(this);
  sealLabel_->setObjectName(QStringLiteral("标签_公证封印"));
  sealLabel_->setAlignment(Qt::AlignCenter);
  sealLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont sealFont(QStringLiteral("monospace"));
  sealFont.setStyleHint(QFont::Monospace);
  sealFont.setPixelSize(6 * unit);
  sealFont.setBold(true);
  sealLabel_->setFont(sealFont);
  sealLabel_->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
  layout->addWidget(sealLabel_);

  // The codes on the left (the seal's and, once the draw has ended, the closing one beside it, each
  // with its caption), the explanation on the right: a wide screen has room across, not down. The
  // codes keep their size whatever the text needs, so a phone can always read them whole.
  auto* body = new QHBoxLayout;
  body->setSpacing(3 * unit);
  auto codeColumn = [&](const char* name, const char* caption) {
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(name));
    label->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(QString::fromUtf8(caption), this);
    title->setAlignment(Qt::AlignCenter);
    column->addStretch();
    column->addWidget(label, 0, Qt::AlignHCenter);
    column->addWidget(title, 0, Qt::AlignHCenter);
    column->addStretch();
    body->addLayout(column);
    return std::pair{label, title};
  };
  const auto [sealCode, sealCaption] = codeColumn("画板_二维码", "公证封印");
  const auto [closingCode, closingCaption] = codeColumn("画板_结束二维码", "结束封印");
  qrLabel_ = sealCode;
  closingQrLabel_ = closingCode;
  auto* details = new QLabel(this);
  details->setObjectName(QStringLiteral("标签_公证说明"));
  details->setWordWrap(true);
  details->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  details->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont detailFont = details->font();
  detailFont.setPixelSize(std::max(12, 2 * unit - unit / 2));
  details->setFont(detailFont);
  details->setMinimumWidth(std::min(area.width() * 2 / 5, 60 * unit));
  body->addWidget(details, 1);
  layout->addLayout(body);

  const bool closed = !seal.empty() && facts.closed;
  closingQrLabel_->setVisible(closed);
  closingCaption->setVisible(closed);
  if (seal.empty()) {
    sealLabel_->setText(QStringLiteral("——"));
    details->setAlignment(Qt::AlignCenter);
    details->setText(
        QStringLiteral("本场抽奖没有公证记录（例如继续了一场没有记录的抽奖）。重新开始抽奖后将生成新的公证封印。"));
    qrLabel_->hide();
    sealCaption->hide();
  } else {
    sealLabel_->setText(Ascii(ShortSeal(seal)));
    // Two codes side by side are each a little smaller; each stays large enough for a phone at the back.
    const int codeHeight = std::min(area.height() * 2 / 5, 40 * unit) * (closed ? 4 : 5) / 5;
    auto paint = [&](QLabel* label, const std::string& text) {
      if (const auto qr = QrCode::Encode(text)) {
        const int modules = qr->Width() + 8;
        label->setPixmap(QPixmap::fromImage(qr->ToImage(std::max(3, codeHeight / modules))));
        label->setFixedSize(label->pixmap().size());
      }
    };
    paint(qrLabel_, seal);
    if (closed) paint(closingQrLabel_, facts.lastHash);
    const QString audience =
        facts.audienceNumber.empty()
            ? QStringLiteral("现场随机数：未输入（第一轮之前可从“功能”→“现场随机数”输入）")
            : QStringLiteral("现场随机数：%1（已记录，与密钥一起决定每一轮的中奖者）").arg(Ascii(facts.audienceNumber));
    const QString ending =
        closed ? QStringLiteral(
                     "抽奖已结束，密钥已公开。结束封印：\n%1\n请拍下两个二维码：核对时结束封印不符，"
                     "即记录被截短或改动。")
                     .arg(TwoLines(facts.lastHash))
               : QStringLiteral("最后一条记录的 SHA-256：\n%1\n抽奖结束时将公开密钥，并在此显示结束封印。")
                     .arg(TwoLines(facts.lastHash));
    // Repeated entries kept as extra tickets are shown with their share, so that nobody holds a
    // third of the tickets unseen.
    const QString duplicates =
        facts.duplicates.empty() ? QString() : ToQt(facts.duplicates).trimmed() + QStringLiteral("\n\n");
    details->setText(QStringLiteral("封印在第一轮之前算出，涵盖抽奖名单、奖项计划、本场的时间与随机值和抽奖密钥的 "
                                    "SHA-256；每一轮的中奖者都由这把密钥决定。完整封印：\n%1\n\n%2\n\n%3%4\n\n"
                                    "用程序目录中的 kavrel-verify 可重放整场抽奖，核对中奖结果。")
                         .arg(TwoLines(seal), audience, duplicates, ending));
  }

  // A wrapped label in a row does not make its window tall enough by itself; measured in the font
  // the style sheet gives it.
  details->ensurePolished();
  details->setMinimumHeight(details->heightForWidth(details->minimumWidth()));

  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  close->setObjectName(QStringLiteral("按钮_关闭"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(close);
  row->addStretch();
  layout->addLayout(row);
  setMaximumSize(area);
}

}  // namespace kavrel
