#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/draw_observer.h"
#include "storage/phone_options.h"

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

 private:
  void DrawChanged(const DrawSession&) override;
  void ReloadEntriesIfChanged();

  DrawSession& session_;
  const ProgramDir& dir_;
  PhoneServer& server_;
  PhoneOptions options_;
  QTimer settle_;
  int revision_ = 0;
  QByteArray lastJson_;
  // The list as last read, with the file it came from and that file's stamp.
  std::vector<std::string> entries_;
  bool entriesChanged_ = false;
  bool sealed_ = false;
  std::string sealLine_;
  std::filesystem::path entriesFrom_;
  std::filesystem::file_time_type entriesStamp_{};
  std::uintmax_t entriesSize_ = 0;
};

}  // namespace kavrel
