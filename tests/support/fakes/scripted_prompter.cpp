#include "support/fakes/scripted_prompter.h"

namespace kavrel {

std::vector<std::string> ScriptedPrompter::MessageTexts() const {
  std::vector<std::string> out;
  for (const auto& s : shown_)
    if (s.kind == Shown::Kind::Message) out.push_back(s.text);
  return out;
}

Answer ScriptedPrompter::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  shown_.push_back({Shown::Kind::Message, text, caption, buttons, icon, std::nullopt});
  if (!answers_.empty()) {
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
}

Answer ScriptedPrompter::MessageWithFocus(const std::string& text, const std::string& caption, Buttons buttons,
                                          Icon icon, Answer focus) {
  const Answer answer = Message(text, caption, buttons, icon);
  shown_.back().focus = focus;
  return answer;
}

std::optional<std::string> ScriptedPrompter::InputText(const std::string& title, const std::string& prompt,
                                                       const std::string&) {
  shown_.push_back({Shown::Kind::InputText, prompt, title, Buttons::OkCancel, Icon::None, std::nullopt});
  if (texts_.empty()) return std::nullopt;
  auto t = texts_.front();
  texts_.pop_front();
  return t;
}

std::optional<long long> ScriptedPrompter::InputInteger(const std::string& title, const std::string& prompt,
                                                        const std::string&) {
  shown_.push_back({Shown::Kind::InputInteger, prompt, title, Buttons::OkCancel, Icon::None, std::nullopt});
  if (integers_.empty()) return std::nullopt;
  auto v = integers_.front();
  integers_.pop_front();
  return v;
}

std::optional<std::string> ScriptedPrompter::PickOpenFile(const std::string& title, const std::string& filter) {
  shown_.push_back({Shown::Kind::PickOpenFile, filter, title, Buttons::OkCancel, Icon::None, std::nullopt});
  if (paths_.empty()) return std::nullopt;
  auto p = paths_.front();
  paths_.pop_front();
  return p;
}

std::optional<std::string> ScriptedPrompter::PickFolder(const std::string& title) {
  shown_.push_back({Shown::Kind::PickFolder, {}, title, Buttons::OkCancel, Icon::None, std::nullopt});
  if (paths_.empty()) return std::nullopt;
  auto p = paths_.front();
  paths_.pop_front();
  return p;
}

}  // namespace kavrel
