#pragma once

#include <string>

namespace kavrel {

class Settings;

// How the phone pages are served, kept in config.ini section "现场手机互动": the address and port the
// operator chose, which field of a list entry a sign-in or a lookup is matched against, and how
// the winners' names and phone numbers are masked on the phones.
struct PhoneOptions {
  std::string address;  // an IPv4/IPv6 address of this computer (ASCII); empty: not chosen yet
  int port = 8080;
  // 0: the whole entry; n: the n-th field of the entry, the fields being what spaces separate
  // ("E001  张三  " has the fields "E001" and "张三").
  int matchField = 0;
  bool maskNames = false;  // 张*三
  bool maskPhones = true;  // 138****5678
  // Signing in (and looking up) by a typed employee number or name, besides each person's own code.
  // Off by default: anyone who knows a colleague's number can then sign them in.
  bool typedSignin = false;
  // Running when the program last stopped: started again at the next start, so phones keep working
  // across a restart or a crash in the middle of the event.
  bool enabled = false;
};

PhoneOptions LoadPhoneOptions(const Settings& settings);
// False when config.ini could not be written.
bool SavePhoneOptions(Settings& settings, const PhoneOptions& options);

}  // namespace kavrel
