#include "phone/phone_feed.h"

#include <system_error>

#include "engine/draw_session.h"
#include "phone/phone_server.h"
#include "phone/phone_snapshot.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/signin_codes.h"
#include "storage/text_file.h"

namespace kavrel {

PhoneFeed::PhoneFeed(DrawSession& session, const ProgramDir& dir, PhoneServer& server, int settleMs, QObject* parent)
    : QObject(parent), session_(session), dir_(dir), server_(server) {
  settle_.setSingleShot(true);
  settle_.setInterval(settleMs);
  connect(&settle_, &QTimer::timeout, this, &PhoneFeed::PublishNow);
  session_.AddObserver(*this);
}

PhoneFeed::~PhoneFeed() {
  session_.RemoveObserver(*this);
}

void PhoneFeed::SetOptions(const PhoneOptions& options) {
  options_ = options;
  lastJson_.clear();  // masking may have changed: publish even when the results did not
  PublishNow();
}

void PhoneFeed::DrawChanged(const DrawSession&, DrawChanges changes) {
  // The phones show none of where the stage stands or what it says (a roll starting, a pause). A notice
  // of nothing the draw keeps may follow a list saved, which the phones look people up in.
  if (changes.Only(DrawChange::Phase | DrawChange::Texts)) return;
  // Nobody is asking while the server is off; its start publishes afresh.
  if (server_.Running() && !settle_.isActive()) settle_.start();
}

bool PhoneFeed::ListFile::Reload(const std::filesystem::path& path) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  const auto newStamp = exists ? std::filesystem::last_write_time(path, ec) : std::filesystem::file_time_type{};
  const auto newSize = exists && !ec ? std::filesystem::file_size(path, ec) : 0;
  if (!ec && exists == present && newStamp == stamp && newSize == size) return false;
  present = exists;
  stamp = newStamp;
  size = newSize;
  // Read as the draw reads its list (a list saved as UTF-8 too), so a sign-in names the very entry the
  // draw's pool holds.
  entries = exists ? PoolEntries(DecodeExternalText(ReadTextFile(path))) : std::vector<std::string>{};
  return true;
}

void PhoneFeed::ReloadEntriesIfChanged() {
  const bool listChanged = list_.Reload(dir_.Path(ProgramDir::kSetDat));
  const bool sealedChanged = sealed_.Reload(dir_.Path(ProgramDir::kSealedList));
  if (!listChanged && !sealedChanged) return;
  entriesChanged_ = true;
  if (listChanged) {
    // Everyone on the list has a code before a phone can ask (a person added at the door too). A file
    // that cannot be read or written leaves the codes as they were: no code is handed out that a
    // restart would forget.
    if (auto codes = EnsureSigninCodes(dir_, list_.entries)) {
      codes_ = std::move(*codes);
      codesSaved_ = true;
    } else {
      codesSaved_ = false;
    }
  }
}

void PhoneFeed::PublishNow() {
  settle_.stop();
  // No spoilers: the phones learn the winners when the stage has revealed them (its end tells us).
  if (session_.Revealing()) return;
  ReloadEntriesIfChanged();
  PhoneSnapshotInputs in;
  for (const ResultLine& line : session_.Winners())
    in.awards.push_back(PhoneAward{line.awardName, line.prizeName, line.winners});
  // Lookups answer from the sealed list once the draw is sealed (what the receipts prove).
  in.entries = sealed_.present ? sealed_.entries : list_.entries;
  in.signinEntries = list_.entries;
  in.sealed = sealed_.present;
  // Proofs are made against the seal of the draw's own receipts, never against a log it does not keep.
  const DrawReceipts& receipts = session_.Receipts();
  if (receipts.Active()) in.sealLine = receipts.SealLine();
  in.codes = codes_;
  const DrawOptions& draw = session_.Rules();
  // The stage masks only the rolling texts; a photo's name is the person's file name.
  in.stageMask = StageMask{draw.maskOn && session_.Mode().textMode, draw.maskFrom, draw.maskTo};
  in.options = options_;
  // Every phone in the room keeps the record's hashes as it grows: a log rewritten afterwards no
  // longer holds what they saw (kavrel-verify --seen).
  if (receipts.Active())
    in.notary = {receipts.Seal(), receipts.AudienceNumber(), receipts.LastHash(), receipts.Closed()};
  auto snap = BuildPhoneSnapshot(in, revision_ + 1);
  if (snap->resultsJson == lastJson_ && !entriesChanged_) return;
  entriesChanged_ = false;
  ++revision_;
  lastJson_ = snap->resultsJson;
  server_.Publish(std::move(snap));
}

}  // namespace kavrel
