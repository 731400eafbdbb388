#pragma once

#include <functional>

namespace kavrel {

// Runs the heavy part of a list command (parsing, sorting out, building a file) on plain data. The
// window's runner does it on a worker thread with the progress bar showing and the window
// painting; tests and benchmarks run it inline. The work never touches a widget or asks anything.
class WorkRunner {
 public:
  virtual ~WorkRunner() = default;
  virtual void Run(const std::function<void()>& work) = 0;
};

class InlineRunner : public WorkRunner {
 public:
  void Run(const std::function<void()>& work) override { work(); }
};

}  // namespace kavrel
