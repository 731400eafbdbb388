#pragma once

#include <QImage>
#include <QWidget>

#include "engine/audience_notes.h"
#include "engine/draw_observer.h"

namespace kavrel {

class DrawSession;

// The place on the stage where the room can check the operator: the seal (with its QR code) and
// the audience number before the first batch, and each choice that changes who can win the next
// batch while it is announced and rolling. Shown on the projector whether or not a console is up;
// hidden when there is nothing to say. A view of the draw: it only reads the session.
class AudienceNotesPanel : public QWidget, public DrawObserver {
 public:
  AudienceNotesPanel(DrawSession& session, QWidget* stage);
  ~AudienceNotesPanel() override;

  void DrawChanged(const DrawSession&, DrawChanges) override { Refresh(); }
  // Reads the notes again and places the panel on the stage's left, low.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int TextPixels() const;
  DrawSession& session_;
  AudienceNotes notes_;
  std::string sealShown_;
  std::vector<std::string> duplicates_;  // GB18030 lines on the list's repeated entries, for that seal
  QImage qr_;
};

}  // namespace kavrel
