#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;

// One person signed in on the venue's network: the list entry (set.dat's line, GB18030), when, and
// from which address (ASCII; empty in files written before addresses were kept).
struct SigninRecord {
  std::string entry;
  LocalDateTime at;
  std::string address = {};  // initialised, so {entry, at} still says everything it means
};

// config\signin.dat: one line per signed-in entry, "yyyy-MM-dd HH:mm:ss", a TAB, the entry, then a
// TAB and the phone's address when known, CR LF. An entry never holds a TAB or a line break (list
// entries are single lines without TABs), so the line splits unambiguously; lines without the
// address (older files) read as before.
struct SigninFile {
  std::vector<SigninRecord> records;
  // Lines that are not "stamp TAB entry" (a cut or edited file): counted and the first named, so the
  // operator is told instead of people silently losing their sign-in.
  int damagedLines = 0;
  int firstDamagedLine = 0;  // 1-based, 0 when none
  // Lines naming an entry already signed in above them (kept once).
  int repeatedLines = 0;
};

std::string BuildSigninText(const std::vector<SigninRecord>& records);
SigninFile ParseSigninText(std::string_view text);

// Reads config\signin.dat; a missing file is an empty record, nullopt a file that exists but cannot
// be read (never treated as "nobody signed in": the next save would wipe it).
std::optional<SigninFile> LoadSignins(const ProgramDir& dir);

// Replaces config\signin.dat atomically. False when it could not be written (the old file stays).
bool SaveSignins(const ProgramDir& dir, const std::vector<SigninRecord>& records);

// The sign-ins of one event in memory: one per entry, in the order they came. Not thread-safe;
// the owner guards it.
class SigninBook {
 public:
  SigninBook() = default;
  explicit SigninBook(std::vector<SigninRecord> records);

  enum class AddResult { Added, AlreadySignedIn };
  AddResult Add(std::string entry, const LocalDateTime& at, std::string address = {});
  // Takes a sign-in back (the operator undoes one made for someone absent). False when not signed in.
  bool Remove(std::string_view entry);

  bool Contains(std::string_view entry) const;
  std::size_t Count() const { return records_.size(); }
  const std::vector<SigninRecord>& Records() const { return records_; }
  void Clear();

  // The entries of `pool` that signed in, in the pool's order (an entry listed twice in the pool is
  // kept twice: duplicates the operator kept are extra tickets).
  std::vector<std::string> Present(const std::vector<std::string>& pool) const;

 private:
  std::vector<SigninRecord> records_;
  std::unordered_set<std::string> entries_;
};

}  // namespace kavrel
