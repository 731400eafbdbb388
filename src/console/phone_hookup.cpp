#include "console/phone_hookup.h"

#include "console/phone_control.h"

namespace kavrel {
namespace {

class PhoneControlHookup final : public PhoneHookup {
 public:
  PhoneControlHookup(DrawSession& session, StageLink& stage, const ProgramDir& dir, const Clock& clock)
      : control_(session, stage, dir, clock) {}
  QWidget* MakePanel() override { return control_.MakePanel(); }
  void OpenWindow(QWidget* parent) override { control_.OpenWindow(parent); }

 private:
  PhoneControl control_;
};

}  // namespace

std::unique_ptr<PhoneHookup> MakePhoneHookup(DrawSession& session, StageLink& stage, const ProgramDir& dir,
                                             const Clock& clock) {
  return std::make_unique<PhoneControlHookup>(session, stage, dir, clock);
}

}  // namespace kavrel
