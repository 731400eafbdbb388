#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/ports/prompter.h"

namespace kavrel {

// Test double of Prompter: answers from a script and records every box it was asked to show.
// An unscripted message box answers with its first button (Ok or Yes); an unscripted input
// box or picker is cancelled.
class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    enum class Kind { Message, InputText, InputInteger, PickOpenFile, PickFolder } kind;
    std::string text;     // message text, or the prompt of an input box
    std::string caption;  // caption or title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::optional<Answer> focus;  // set when the box put the focus on a chosen button
  };

  void ScriptAnswer(Answer a) { answers_.push_back(a); }
  void ScriptText(std::optional<std::string> t) { texts_.push_back(std::move(t)); }
  void ScriptInteger(std::optional<long long> v) { integers_.push_back(v); }
  void ScriptPath(std::optional<std::string> p) { paths_.push_back(std::move(p)); }

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> MessageTexts() const;
  void Clear() { shown_.clear(); }

  Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) override;
  Answer MessageWithFocus(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                          Answer focus) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  std::optional<long long> InputInteger(const std::string& title, const std::string& prompt,
                                        const std::string& initial) override;
  std::optional<std::string> PickOpenFile(const std::string& title, const std::string& filter) override;
  std::optional<std::string> PickFolder(const std::string& title) override;

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> texts_;
  std::deque<std::optional<long long>> integers_;
  std::deque<std::optional<std::string>> paths_;
  std::vector<Shown> shown_;
};

}  // namespace kavrel
