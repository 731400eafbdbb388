#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "phone/phone_feed.h"
#include "phone/phone_server.h"
#include "phone/signin_desk.h"
#include "storage/phone_options.h"
#include "storage/settings.h"

class QWidget;

namespace kavrel {

class Clock;
class DrawSession;
class ProgramDir;
class StageCodeOverlay;
class StageLink;

// The operator's side of the audience's phones: the sign-in desk, the server and the feed of the
// draw into it; the "现场手机互动" window, the console's panel and the large QR code on the stage.
// The server is off until the operator starts it; destroying this stops it.
class PhoneControl : public QObject {
  Q_OBJECT
 public:
  PhoneControl(DrawSession& session, StageLink& stage, const ProgramDir& dir, const Clock& clock);
  ~PhoneControl() override;

  // The "现场手机互动" window (modal, over `parent`).
  void OpenWindow(QWidget* parent);
  // A live panel for the operator console: the address, its QR code and the counts.
  QWidget* MakePanel();

  QString Start(const PhoneOptions& options);
  void Stop();
  bool Running() const { return server_.Running(); }
  QString Url() const;
  QString CountsText() const;
  void ToggleStageCode();

  SigninDesk& Desk() { return desk_; }
  PhoneServer& Server() { return server_; }

 signals:
  // Started, stopped, or the counts changed.
  void Changed();

 private:
  QStringList FieldNames() const;
  static QStringList Addresses();

  StageLink& stage_;
  const ProgramDir& dir_;
  Settings settings_;
  PhoneOptions options_;
  SigninDesk desk_;
  SigninFile loadNotes_;
  PhoneServer server_;
  PhoneFeed feed_;
  QPointer<StageCodeOverlay> overlay_;
  QString startError_;  // why the server is not running, when it should be
};

}  // namespace kavrel
