#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

#include "storage/signin_store.h"

namespace kavrel {

class Clock;
class ProgramDir;

// The owner of the event's sign-ins, on the UI thread: takes sign-ins the server hands over, keeps
// one per entry and saves config\signin.dat at most once per `saveEveryMs`, so three hundred phones
// signing in together cost a handful of atomic writes. A sign-in is answered only after the save
// that holds it: a phone never reads "签到成功" for a sign-in a crash could lose.
class SigninDesk : public QObject {
  Q_OBJECT
 public:
  SigninDesk(const ProgramDir& dir, const Clock& clock, int saveEveryMs = 50, QObject* parent = nullptr);

  // Reads config\signin.dat. False when it exists but cannot be read: sign-in then stays closed,
  // since the next save would wipe the file. `notes` gets the damaged and repeated line counts.
  bool Load(SigninFile* notes = nullptr);
  bool Loaded() const { return loaded_; }

  std::size_t Count() const { return book_.Count(); }
  int Refused() const { return refused_; }  // second sign-ins of an entry already signed in
  bool Contains(const std::string& entry) const { return book_.Contains(entry); }
  const SigninBook& Book() const { return book_; }
  qint64 LastSaveMs() const { return lastSaveMs_; }  // what the last save cost (for the load bench)

  enum Outcome { Added = 0, AlreadySignedIn = 1, SaveFailed = 2, Closed = 3 };

 public slots:
  // From the server's thread (queued): `entryGb` signs in from `address`; Settled(ticket, outcome)
  // answers.
  void Submit(quint64 ticket, const QByteArray& entryGb, const QString& address = {});

 public:
  // The operator takes back a sign-in (someone signed in for an absent colleague): saved at once.
  // False when the entry was not signed in or the file could not be written (nothing changes then).
  bool Undo(const std::string& entry);

 signals:
  void Settled(quint64 ticket, int outcome);
  // The count or the refusals changed (for the console and the list editor).
  void Changed();

 private:
  void Save();

  const ProgramDir& dir_;
  const Clock& clock_;
  int saveEveryMs_;
  bool loaded_ = false;
  SigninBook book_;
  int refused_ = 0;
  std::vector<std::pair<quint64, std::string>> waiting_;  // added, not yet saved
  QTimer saveTimer_;
  QElapsedTimer sinceSave_;
  qint64 lastSaveMs_ = 0;
};

}  // namespace kavrel
