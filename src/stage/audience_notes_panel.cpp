#include "stage/audience_notes_panel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "engine/draw_session.h"
#include "platform/qr_code.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

QFont NotesFont(int pixels) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

}  // namespace

AudienceNotesPanel::AudienceNotesPanel(DrawSession& session, QWidget* stage) : QWidget(stage), session_(session) {
  setObjectName(QStringLiteral("画板_公证提示"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  session_.AddObserver(*this);
}

AudienceNotesPanel::~AudienceNotesPanel() {
  session_.RemoveObserver(*this);
}

// Read from the back of a hall on a projector: about 2.8 % of the stage's height.
int AudienceNotesPanel::TextPixels() const {
  return std::max(14, parentWidget()->height() * 28 / 1000);
}

void AudienceNotesPanel::Refresh() {
  AudienceNotes notes = NotesForAudience(session_.Draw(), session_.Receipts());
  if (notes.seal != sealShown_) {
    sealShown_ = notes.seal;
    qr_ = QImage();
    duplicates_.clear();
    if (!notes.seal.empty()) {
      if (const auto code = QrCode::Encode(notes.seal)) qr_ = code->ToImage(1);
      // How the list's repeated entries were sealed, with the largest shares of tickets: read once
      // per seal (it is fixed with it).
      for (QString line : ToQt(session_.SealedDuplicatesNote()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed().remove(QChar(0x3000));
        if (!line.isEmpty() && duplicates_.size() < 4) duplicates_.push_back(FromQt(line));
      }
    }
  }
  // Beside the seal, before the first batch.
  if (!notes.seal.empty()) {
    const std::ptrdiff_t afterNumber = session_.Receipts().Reseals() > 0 ? 3 : 2;
    notes.lines.insert(notes.lines.begin() + std::min(afterNumber, static_cast<std::ptrdiff_t>(notes.lines.size())),
                       duplicates_.begin(), duplicates_.end());
  }
  notes_ = std::move(notes);
  if (notes_.lines.empty()) return hide();

  const QFontMetrics metrics(NotesFont(TextPixels()));
  const int pad = metrics.height() / 2;
  int textWidth = 0;
  for (const auto& line : notes_.lines) textWidth = std::max(textWidth, metrics.horizontalAdvance(ToQt(line)));
  const int textHeight = metrics.height() * static_cast<int>(notes_.lines.size());
  const int qrSide = qr_.isNull() ? 0 : std::max(textHeight, metrics.height() * 4);
  const int width = pad * 2 + textWidth + (qrSide ? qrSide + pad : 0);
  const int height = pad * 2 + std::max(textHeight, qrSide);
  const QRect stage = parentWidget()->rect();
  // Left of the centre text and above the status line and the buttons, where no element of the stage
  // stands in any layout.
  const int margin = stage.height() / 60;
  setGeometry(stage.left() + margin, stage.height() * 78 / 100 - height, width, height);
  show();
  raise();
  update();
}

void AudienceNotesPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFont font = NotesFont(TextPixels());
  const QFontMetrics metrics(font);
  const int pad = metrics.height() / 2;
  QPainterPath box;
  box.addRoundedRect(QRectF(rect()), pad, pad);
  p.fillPath(box, QColor(0, 0, 0, 170));
  int x = pad;
  if (!qr_.isNull()) {
    const int side = height() - pad * 2;
    // Scaled by whole modules' worth without smoothing, so a phone reads sharp edges.
    p.drawImage(QRect(x, pad, side, side), qr_);
    x += side + pad;
  }
  p.setFont(font);
  p.setPen(QColor(255, 236, 160));
  int y = pad + metrics.ascent();
  for (const auto& line : notes_.lines) {
    p.drawText(x, y, ToQt(line));
    y += metrics.height();
  }
}

}  // namespace kavrel
