// The commands' way of talking to the user: file choices and messages. The window answers
// with Qt dialogs, ot-table with its arguments and stderr, the tests with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ot {

// The file dialogs of the window; each has its own filter. CsvExport and CsvImport are the
// window's spreadsheet interchange, which the commands never ask for.
enum class FileDialog { Open, Save, TextList, CsvExport, CsvImport };

// What Open does when the chosen file would replace what a page shows.
enum class ReplaceAnswer {
  Replace,             // go on
  Keep,                // stop: the page keeps what it shows
  ReplaceAfterSaving,  // go on; files were written meanwhile, so the file is looked at anew
};

class UserPort {
 public:
  virtual ~UserPort() = default;
  // The chosen path, or nullopt when the user cancels.
  virtual std::optional<std::string> ChooseFile(FileDialog dialog) = 0;
  // A message box with OK and Cancel and no icon; text and caption in UTF-8.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  // Asked by Open once the chosen file is recognised as the table of `page`, before it is
  // read. The window asks the user here when the page has unsaved changes.
  virtual ReplaceAnswer MayReplacePage(int page) {
    (void)page;
    return ReplaceAnswer::Replace;
  }
};

// The dialog filters, entries and patterns as the window shows them ("Name|patterns|...").
std::string_view DialogFilter(FileDialog dialog);

}  // namespace ot
