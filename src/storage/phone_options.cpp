#include "storage/phone_options.h"

#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

const std::string& Section() {
  static const std::string section = Gb("现场手机互动");
  return section;
}

}  // namespace

PhoneOptions LoadPhoneOptions(const Settings& settings) {
  PhoneOptions options;
  options.address = settings.ReadText(Section(), "address");
  const int port = settings.ReadInt(Section(), "port", options.port);
  if (port >= 1 && port <= 65535) options.port = port;
  const int field = settings.ReadInt(Section(), "matchField", 0);
  options.matchField = field >= 0 && field <= 64 ? field : 0;
  options.maskNames = settings.ReadBool(Section(), "maskNames", options.maskNames);
  options.maskPhones = settings.ReadBool(Section(), "maskPhones", options.maskPhones);
  options.typedSignin = settings.ReadBool(Section(), "typedSignin", false);
  options.enabled = settings.ReadBool(Section(), "enabled", false);
  return options;
}

bool SavePhoneOptions(Settings& settings, const PhoneOptions& options) {
  bool ok = settings.WriteText(Section(), "address", options.address);
  ok = settings.WriteInt(Section(), "port", options.port) && ok;
  ok = settings.WriteInt(Section(), "matchField", options.matchField) && ok;
  ok = settings.WriteBool(Section(), "maskNames", options.maskNames) && ok;
  ok = settings.WriteBool(Section(), "maskPhones", options.maskPhones) && ok;
  ok = settings.WriteBool(Section(), "typedSignin", options.typedSignin) && ok;
  ok = settings.WriteBool(Section(), "enabled", options.enabled) && ok;
  return ok;
}

}  // namespace kavrel
