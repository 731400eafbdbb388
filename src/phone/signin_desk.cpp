#include "phone/signin_desk.h"

#include <algorithm>
#include <unordered_set>

#include "engine/ports/clock.h"
#include "storage/program_dir.h"

namespace kavrel {

SigninDesk::SigninDesk(const ProgramDir& dir, const Clock& clock, int saveEveryMs, QObject* parent)
    : QObject(parent), dir_(dir), clock_(clock), saveEveryMs_(saveEveryMs) {
  saveTimer_.setSingleShot(true);
  connect(&saveTimer_, &QTimer::timeout, this, &SigninDesk::Save);
}

bool SigninDesk::Load(SigninFile* notes) {
  auto file = LoadSignins(dir_);
  loaded_ = file.has_value();
  if (!file) return false;
  book_ = SigninBook(file->records);
  if (notes) *notes = std::move(*file);
  emit Changed();
  return true;
}

void SigninDesk::Submit(quint64 ticket, const QByteArray& entryGb, const QString& address) {
  if (!loaded_) {
    emit Settled(ticket, Closed);
    return;
  }
  std::string entry(entryGb.constData(), static_cast<std::size_t>(entryGb.size()));
  if (book_.Add(entry, clock_.Now(), address.toStdString()) == SigninBook::AddResult::AlreadySignedIn) {
    // Two phones racing for one entry before the save: the second is refused like any other.
    ++refused_;
    emit Settled(ticket, AlreadySignedIn);
    emit Changed();
    return;
  }
  waiting_.emplace_back(ticket, std::move(entry));
  if (!saveTimer_.isActive()) {
    // A short wait gathers a burst (a room signing in after the announcement) into one save; after
    // that, no more than one save per saveEveryMs.
    const qint64 since = sinceSave_.isValid() ? sinceSave_.elapsed() : saveEveryMs_;
    const qint64 gather = std::min<qint64>(20, saveEveryMs_);
    saveTimer_.start(static_cast<int>(std::max<qint64>(gather, saveEveryMs_ - since)));
  }
}

bool SigninDesk::Undo(const std::string& entry) {
  if (!loaded_) return false;
  SigninBook before = book_;
  if (!book_.Remove(entry)) return false;
  // A sign-in still waiting for its save is answered by that save; the undo must not race it.
  std::erase_if(waiting_, [&](const auto& w) {
    if (w.second != entry) return false;
    emit Settled(w.first, SaveFailed);
    return true;
  });
  if (!SaveSignins(dir_, book_.Records())) {
    book_ = std::move(before);
    return false;
  }
  emit Changed();
  return true;
}

void SigninDesk::Save() {
  sinceSave_.start();
  if (waiting_.empty()) return;
  QElapsedTimer cost;
  cost.start();
  const bool saved = SaveSignins(dir_, book_.Records());
  lastSaveMs_ = cost.elapsed();
  auto settled = std::move(waiting_);
  waiting_.clear();
  if (!saved) {
    // Not on disk: forget them, so the person's retry is a fresh sign-in and not "already signed in".
    std::unordered_set<std::string> lost;
    for (const auto& w : settled) lost.insert(w.second);
    std::vector<SigninRecord> kept;
    for (const auto& r : book_.Records()) {
      if (!lost.count(r.entry)) kept.push_back(r);
    }
    book_ = SigninBook(std::move(kept));
  }
  for (const auto& w : settled) emit Settled(w.first, saved ? Added : SaveFailed);
  emit Changed();
}

}  // namespace kavrel
