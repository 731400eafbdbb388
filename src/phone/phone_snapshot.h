#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/phone_options.h"
#include "storage/signin_codes.h"

namespace kavrel {

// The stage's privacy masking, as the draw options say it.
struct StageMask {
  bool on = false;
  int from = 4;
  int to = 7;
};

// What the phone pages show, frozen at one moment: built on the draw's thread after a change and
// handed to the server whole, so the server never reads a draw object and a page never sees half of
// a stop. Immutable once built.
struct PhoneSnapshot {
  int revision = 0;
  QByteArray resultsJson;  // the live results as the pages get them, masking applied
  PhoneOptions options;
  bool sealed = false;                     // the entries are the list the draw sealed
  std::vector<std::string> entries;        // GB18030, the list in the draw (sealed list when there is one)
  std::vector<std::string> signinEntries;  // GB18030, the draw's list (set.dat): whom a phone may sign in as
  // entry -> the awards it won ("award（prize）", UTF-8), in the order they were drawn.
  std::unordered_map<std::string, std::vector<QString>> wins;
  std::string sealLine;  // the receipts' seal line (UTF-8) when sealed: proofs are made on request
  StageMask stageMask;   // what every answer about a person masks, at least
  SigninCodes codes;     // each person's own code
};

// One result line as the snapshot builder gets it (GB18030 texts, unmasked winners).
struct PhoneAward {
  std::string awardName;
  std::string prizeName;
  std::vector<std::string> winners;
};

struct PhoneSnapshotInputs {
  std::vector<PhoneAward> awards;
  std::vector<std::string> entries;
  std::vector<std::string> signinEntries;
  bool sealed = false;
  std::string sealLine;  // the receipts' seal line when sealed (for the proofs)
  SigninCodes codes;
  StageMask stageMask;
  PhoneOptions options;
  QString title;  // the event's title (UTF-8 on the page)
  // The record as it grows, for the pages' 公证 card: the seal, the audience number, the SHA-256 of
  // the log's last line and whether that line closed it (all empty without receipts).
  struct Notary {
    std::string seal;
    std::string audience;
    std::string lastHash;
    bool closed = false;
  } notary;
};

std::shared_ptr<const PhoneSnapshot> BuildPhoneSnapshot(const PhoneSnapshotInputs& in, int revision);

// The latest snapshot, shared between the thread that builds it and the server's thread.
class SnapshotSlot {
 public:
  void Set(std::shared_ptr<const PhoneSnapshot> snapshot) {
    std::lock_guard lock(mutex_);
    snapshot_ = std::move(snapshot);
  }
  std::shared_ptr<const PhoneSnapshot> Get() const {
    std::lock_guard lock(mutex_);
    return snapshot_;
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const PhoneSnapshot> snapshot_;
};

}  // namespace kavrel
