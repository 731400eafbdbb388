#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavrel {

class ProgramDir;

// Each person's own sign-in code: a short random text printed on their invitation (a QR code of
// the personal link) and never derived from anything a colleague knows, such as the employee
// number. Only that code signs its person in, and a lookup needs it.
//
// config\signin-codes.dat: one line per entry, the code, a TAB, the entry (GB18030), CR LF.
class SigninCodes {
 public:
  // 8 characters of an alphabet without look-alikes (no 0/O, 1/I/L): about 39 bits, so guessing
  // one at the server's rate limits takes longer than any event lasts.
  static constexpr std::size_t kLength = 8;
  static constexpr std::string_view kAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";

  // The code of `entry`, or empty.
  std::string CodeOf(std::string_view entry) const;
  // The entry with `code` (letters in either case), or nullopt.
  std::optional<std::string> EntryOf(std::string_view code) const;
  std::size_t Size() const { return byEntry_.size(); }

  // Gives every entry of `entries` without a code a fresh one (from `random`, a uniform source over
  // 0..n-1; the system's cryptographic generator when empty). Codes of entries no longer listed are
  // kept: a person taken off and put back keeps the invitation already printed. True when a code
  // was added (the file needs saving).
  bool Complete(const std::vector<std::string>& entries, std::function<std::size_t(std::size_t)> random = {});

  std::string Text() const;
  // Lines that are not "code TAB entry", or repeat a code or an entry, are skipped.
  static SigninCodes Parse(std::string_view text);

 private:
  void Put(std::string code, std::string entry);

  std::vector<std::pair<std::string, std::string>> lines_;  // code, entry, in the order they were made
  std::unordered_map<std::string, std::string> byEntry_;
  std::unordered_map<std::string, std::string> byCode_;
};

// config\signin-codes.dat; nullopt when it exists but cannot be read (never replaced then: printed
// invitations would stop working).
std::optional<SigninCodes> LoadSigninCodes(const ProgramDir& dir);
bool SaveSigninCodes(const ProgramDir& dir, const SigninCodes& codes);

// Reads the codes, completes them for `entries` and saves when any was added; nullopt when the file
// could not be read or the new codes not saved (no code is handed out that a restart would lose).
std::optional<SigninCodes> EnsureSigninCodes(const ProgramDir& dir, const std::vector<std::string>& entries);

}  // namespace kavrel
