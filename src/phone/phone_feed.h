#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/draw_observer.h"
#include "storage/phone_options.h"
#include "storage/signin_codes.h"

namespace kavrel {

class DrawSession;
class PhoneServer;
class ProgramDir;

// Watches the draw and hands the phone server a fresh snapshot shortly after each change (changes
// within `settleMs` make one snapshot). Reads the result file, the list and the seal on the UI
// thread, so the server's thread never touches a file or a draw object.
class PhoneFeed : public QObject, private DrawObserver {
  Q_OBJECT
 public:
  PhoneFeed(DrawSession& session, const ProgramDir& dir, PhoneServer& server, int settleMs = 50,
            QObject* parent = nullptr);
  ~PhoneFeed() override;

  void SetOptions(const PhoneOptions& options);
  // Builds and publishes now (after a list or settings change, and when the server starts).
  void PublishNow();
  // False when config\signin-codes.dat could not be read or written: the personal codes are then
  // missing for some or all of the list.
  bool CodesSaved() const { return codesSaved_; }

 private:
  void DrawChanged(const DrawSession&, DrawChanges changes) override;
  void ReloadEntriesIfChanged();

  DrawSession& session_;
  const ProgramDir& dir_;
  PhoneServer& server_;
  PhoneOptions options_;
  QTimer settle_;
  int revision_ = 0;
  QByteArray lastJson_;
  // A list file as last read, with that file's stamp and size, so it is read again only when it changed.
  struct ListFile {
    std::vector<std::string> entries;
    bool present = false;
    std::filesystem::file_time_type stamp{};
    std::uintmax_t size = 0;
    bool Reload(const std::filesystem::path& path);  // true when it changed
  };
  // The draw's list (whom a phone can sign in as) and the list the draw sealed (what a lookup answers
  // about): they differ when a draw takes only those signed in, and someone not yet signed in must
  // still be able to sign in for the next draw.
  ListFile list_;
  ListFile sealed_;
  bool entriesChanged_ = false;
  SigninCodes codes_;
  bool codesSaved_ = true;
};

}  // namespace kavrel
