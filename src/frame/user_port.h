// The commands' way of talking to the user: file choices and messages. The window answers
// with Qt dialogs, ot-table with its arguments and stderr, the tests with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ot {

// The three file dialogs of the window; each has its own filter.
enum class FileDialog { Open, Save, TextList };

class UserPort {
 public:
  virtual ~UserPort() = default;
  // The chosen path, or nullopt when the user cancels.
  virtual std::optional<std::string> ChooseFile(FileDialog dialog) = 0;
  // A message box with OK and Cancel and no icon; text and caption in UTF-8.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

// The dialog filters, entries and patterns as the window shows them ("Name|patterns|...").
std::string_view DialogFilter(FileDialog dialog);

}  // namespace ot
