#include "stage/notary_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qr_code.h"
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

}  // namespace

NotaryWindow::NotaryWindow(const std::string& seal, const std::string& lastHash, QWidget* parent) : QDialog(parent) {
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

  qrLabel_ = new QLabel(this);
  qrLabel_->setObjectName(QStringLiteral("画板_二维码"));
  qrLabel_->setAlignment(Qt::AlignCenter);
  layout->addWidget(qrLabel_, 0, Qt::AlignHCenter);

  auto* details = new QLabel(this);
  details->setObjectName(QStringLiteral("标签_公证说明"));
  details->setWordWrap(true);
  details->setAlignment(Qt::AlignCenter);
  details->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont detailFont = details->font();
  detailFont.setPixelSize(std::max(12, 2 * unit - unit / 2));
  details->setFont(detailFont);
  layout->addWidget(details);

  if (seal.empty()) {
    sealLabel_->setText(QStringLiteral("——"));
    details->setText(
        QStringLiteral("本场抽奖没有公证记录（例如继续了一场没有记录的抽奖）。重新开始抽奖后将生成新的公证封印。"));
    qrLabel_->hide();
  } else {
    sealLabel_->setText(Ascii(ShortSeal(seal)));
    if (const auto qr = QrCode::Encode(seal)) {
      const int modules = qr->Width() + 8;
      const int moduleSize = std::max(3, std::min(area.height() * 2 / 5, 40 * unit) / modules);
      qrLabel_->setPixmap(QPixmap::fromImage(qr->ToImage(moduleSize)));
    }
    details->setText(
        QStringLiteral(
            "封印在第一批抽奖之前，根据抽奖名单（按奖池顺序）和奖项计划算出（SHA-256），二维码为完整封印：\n%1\n"
            "最后一条公证记录的 SHA-256：\n%2\n"
            "抽奖结束后，任何人都可以用程序目录中的 kavrel-verify 重放整场抽奖，核对中奖结果。")
            .arg(Ascii(seal), Ascii(lastHash)));
  }

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
