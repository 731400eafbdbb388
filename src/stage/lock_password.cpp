#include "stage/lock_password.h"

#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

const char* const kSection = "lock_screen";
const char* const kKey = "password";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string StoredPasswordText(const std::string& password) {
  if (password.empty()) return password;
  const char first = password.front();
  const char last = password.back();
  const bool edgeBlank = IsBlank(first) || IsBlank(last);
  const bool quoted = password.size() >= 2 && (first == '"' || first == '\'') && first == last;
  return edgeBlank || quoted ? "\"" + password + "\"" : password;
}

std::string LockPassword::Stored() const {
  return settings_.ReadText(kSection, kKey, "");
}

bool LockPassword::Matches(const std::string& typed) const {
  return typed == Stored();
}

void LockPassword::ReportWrongPassword() {
  prompter_.Message(Gb("密码输入不正确！"), Gb("错误提示："), Buttons::Ok, Icon::Warning);
}

bool LockPassword::ChangeLockPassword(const std::string& oldPassword, const std::string& newPassword,
                                      const std::string& confirmation) {
  if (oldPassword != Stored()) {
    prompter_.Message(Gb("原密码输入不正确！"), Gb("错误提示："), Buttons::Ok, Icon::Warning);
    return false;
  }
  if (newPassword != confirmation) {
    prompter_.Message(Gb("两次密码输入不一致！"), Gb("错误提示："), Buttons::Ok, Icon::Warning);
    return false;
  }
  // A password that did not reach the file would lock the operator out at the next lock: read it back
  // and say so instead of closing as if it had worked.
  const bool written = settings_.WriteText(kSection, kKey, StoredPasswordText(newPassword));
  if (!written || Stored() != newPassword) {
    prompter_.Message(Gb("新密码未能保存，锁屏密码没有更改。请检查程序文件夹的config目录是否可以写入！"),
                      Gb("错误提示："), Buttons::Ok, Icon::Error);
    return false;
  }
  return true;
}

}  // namespace kavrel
