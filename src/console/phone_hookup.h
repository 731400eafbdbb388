#pragma once

#include <memory>

class QWidget;

namespace kavrel {

class Clock;
class DrawSession;
class ProgramDir;
class StageLink;

// The audience's phones as the program wires them in: the console's panel and the "现场手机互动"
// window. An interface, so that main.cpp needs none of the server's headers.
class PhoneHookup {
 public:
  virtual ~PhoneHookup() = default;
  virtual QWidget* MakePanel() = 0;
  virtual void OpenWindow(QWidget* parent) = 0;
};

std::unique_ptr<PhoneHookup> MakePhoneHookup(DrawSession& session, StageLink& stage, const ProgramDir& dir,
                                             const Clock& clock);

}  // namespace kavrel
