#include "console/phone_hookup.h"

namespace kavrel {

// This build has no web server for the phones: nothing to attach.
std::unique_ptr<PhoneHookup> MakePhoneHookup(DrawSession&, StageLink&, const ProgramDir&, const Clock&) {
  return nullptr;
}

}  // namespace kavrel
