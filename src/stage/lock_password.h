#pragma once

#include <string>

namespace kavrel {

class Prompter;
class Settings;

// The screen lock's password: key "password" of section "lock_screen", plain text, empty by default.
// It is read afresh at every unlock attempt and every change, so a password changed in the settings
// file by hand counts at once. Texts are GB18030 bytes.
class LockPassword {
 public:
  LockPassword(Settings& settings, Prompter& prompter) : settings_(settings), prompter_(prompter) {}

  // The stored password; empty when the file or the key is missing.
  std::string Stored() const;

  // Whether `typed` equals the stored password byte for byte (no trimming: "abc " is not "abc").
  bool Matches(const std::string& typed) const;

  // The message of a failed unlock: "密码输入不正确！".
  void ReportWrongPassword();

  // The OK action of the change-password window. Checks the old password, then that both new ones
  // agree, then stores the new one (an empty one too). Shows the reason and returns false when
  // nothing was stored; the window then stays open.
  bool ChangeLockPassword(const std::string& oldPassword, const std::string& newPassword,
                          const std::string& confirmation);

 private:
  Settings& settings_;
  Prompter& prompter_;
};

// The text stored for a password. The settings file trims blanks around a value and one pair of
// enclosing quotes, so a password with blanks at either end, or wrapped in quotes, is stored inside one
// more pair of quotes and reads back exactly as typed. Any other password is stored as it is.
std::string StoredPasswordText(const std::string& password);

}  // namespace kavrel
