#include "lists/invitations.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/qr_code.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/phone_options.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/signin_codes.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

constexpr int kColumns = 2;
constexpr int kRows = 4;

void DrawCard(QPainter& p, const QRectF& card, const QString& title, const Invitation& inv) {
  p.setPen(QPen(QColor(0x8E, 0x0A, 0x16), 0.4));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(card.adjusted(1, 1, -1, -1), 3, 3);
  const double pad = 4;
  const double qrSide = card.height() - 2 * pad;
  const QRectF qrRect(card.right() - pad - qrSide, card.top() + pad, qrSide, qrSide);
  if (auto qr = QrCode::Encode(inv.link.toStdString())) {
    // Squares, not a scaled bitmap: the PDF stays sharp at any printer's resolution.
    const int n = qr->Width() + 8;
    const double m = qrSide / n;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int y = 0; y < qr->Width(); ++y) {
      for (int x = 0; x < qr->Width(); ++x) {
        if (qr->Dark(x, y)) p.drawRect(QRectF(qrRect.left() + (x + 4) * m, qrRect.top() + (y + 4) * m, m, m));
      }
    }
  }
  const QRectF text(card.left() + pad + 2, card.top() + pad, qrRect.left() - card.left() - 2 * pad - 2,
                    card.height() - 2 * pad);
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setPointSizeF(9);
  p.setFont(font);
  p.setPen(QColor(0x8E, 0x0A, 0x16));
  p.drawText(QRectF(text.left(), text.top(), text.width(), text.height() * 0.22),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, title.isEmpty() ? QStringLiteral("签到邀请函") : title);
  font.setPointSizeF(14);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QRectF(text.left(), text.top() + text.height() * 0.24, text.width(), text.height() * 0.36),
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, ToQt(inv.entry).simplified());
  font.setBold(false);
  font.setPointSizeF(8);
  p.setFont(font);
  p.drawText(
      QRectF(text.left(), text.top() + text.height() * 0.62, text.width(), text.height() * 0.38),
      Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
      QStringLiteral("到场后用手机扫描右侧二维码签到\n签到码：%1\n本码仅限本人使用，请勿转给他人").arg(inv.code));
}

}  // namespace

bool WriteInvitationsPdf(const QString& path, const QString& title, const std::vector<Invitation>& invitations) {
  QPdfWriter pdf(path);
  if (!pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter)))
    return false;
  pdf.setTitle(QStringLiteral("签到邀请函"));
  pdf.setCreator(QStringLiteral("kavrel抽奖"));
  QPainter p;
  if (!p.begin(&pdf)) return false;
  // Drawn in millimetres of the printable area.
  const QRectF area = pdf.pageLayout().paintRect(QPageLayout::Millimeter);
  const double scale = pdf.resolution() / 25.4;
  p.scale(scale, scale);
  const double w = area.width() / kColumns;
  const double h = area.height() / kRows;
  for (std::size_t i = 0; i < invitations.size(); ++i) {
    const int onPage = static_cast<int>(i % (kColumns * kRows));
    if (i > 0 && onPage == 0 && !pdf.newPage()) return false;
    const QRectF card((onPage % kColumns) * w, (onPage / kColumns) * h, w, h);
    DrawCard(p, card, title, invitations[i]);
  }
  return p.end();
}

void SaveInvitationsPdf(const ProgramDir& dir, QWidget* parent) {
  const QString caption = QStringLiteral("签到邀请函：");
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  const PhoneOptions options = LoadPhoneOptions(settings);
  if (options.address.empty()) {
    QMessageBox::information(parent, caption,
                             QStringLiteral("请先在“设定”→“现场手机互动”中选择手机连接的网络地址和端口，"
                                            "邀请函上的二维码指向这个地址。"));
    return;
  }
  const auto entries = PoolEntries(DecodeExternalText(ReadTextFile(dir.Path(ProgramDir::kSetDat))));
  if (entries.empty()) {
    QMessageBox::information(parent, caption, QStringLiteral("名单是空的（邀请函按已保存的名单制作）。"));
    return;
  }
  const auto codes = EnsureSigninCodes(dir, entries);
  if (!codes) {
    QMessageBox::critical(parent, caption,
                          QStringLiteral("无法读取或保存签到码文件 config\\signin-codes.dat，没有制作邀请函。"));
    return;
  }
  const QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("保存签到邀请函"), QStringLiteral("签到邀请函.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
  if (path.isEmpty()) return;
  const QString host = QString::fromLatin1(options.address.c_str());
  const QString base = QStringLiteral("http://%1:%2/?c=")
                           .arg(host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host)
                           .arg(options.port);
  std::vector<Invitation> invitations;
  invitations.reserve(entries.size());
  for (const std::string& entry : entries) {
    const QString code = QString::fromLatin1(codes->CodeOf(entry).c_str());
    invitations.push_back(Invitation{entry, base + code, code});
  }
  const QString title = ToQt(settings.ReadText(Gb("标题设置"), Gb("主标题")));
  if (!WriteInvitationsPdf(path, title, invitations)) {
    QMessageBox::critical(parent, caption, QStringLiteral("无法写入文件：%1").arg(path));
    return;
  }
  QMessageBox::information(parent, caption,
                           QStringLiteral("已为 %1 人制作签到邀请函：%2\n\n每人的二维码只能为本人签到。"
                                          "名单改动并保存后，新加的人需要重新制作邀请函。")
                               .arg(invitations.size())
                               .arg(path));
}

}  // namespace kavrel
