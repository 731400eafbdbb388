#pragma once

#include <optional>
#include <string>

namespace kavrel {

// Every text crossing this port is GB18030 bytes, like every other data text of the program.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Warning, Error };
enum class Answer { Ok, Cancel, Yes, No };

// The user-facing side of the program: message boxes, input boxes and pickers.
// The Qt implementation shows real dialogs; tests script the answers.
class Prompter {
 public:
  virtual ~Prompter() = default;

  virtual Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) = 0;

  // The same box with the focus (what Enter and the space bar press) on `focus`. Message puts it on
  // the button that abandons the action; this is for the questions whose everyday answer is to go
  // on, or whose safe answer is another one.
  virtual Answer MessageWithFocus(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                                  Answer focus) {
    (void)focus;
    return Message(text, caption, buttons, icon);
  }

  // A text input box; nullopt when cancelled.
  virtual std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;

  // An integer input box that accepts digits and "-" only; the answer is the leading decimal
  // integer of the text. nullopt when cancelled.
  virtual std::optional<long long> InputInteger(const std::string& title, const std::string& prompt,
                                                const std::string& initial) = 0;

  // File-open picker; filter in the "描述|*.jpg;*.png" style. nullopt when cancelled.
  virtual std::optional<std::string> PickOpenFile(const std::string& title, const std::string& filter) = 0;

  // Folder picker. nullopt when cancelled.
  virtual std::optional<std::string> PickFolder(const std::string& title) = 0;
};

}  // namespace kavrel
