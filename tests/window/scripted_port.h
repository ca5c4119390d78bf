// The window's user port for the window tests: dialogs and questions answered from queues,
// messages and errors recorded.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/support.h"
#include "window/qt_port.h"

class ScriptedWindowPort : public WindowPort {
 public:
  std::deque<std::optional<std::string>> answers;  // one per file dialog, in order
  std::vector<ot::FileDialog> dialogs;
  std::vector<ottest::Message> messages;
  std::vector<QString> errors;
  std::deque<UnsavedAnswer> unsavedAnswers;  // Cancel once they run out
  std::vector<QString> unsavedAsked;         // the tables asked about
  std::deque<std::optional<int>> rowAnswers;

  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override {
    dialogs.push_back(dialog);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  void ShowError(const QString& text) override { errors.push_back(text); }
  UnsavedAnswer AskUnsaved(const QString& table) override {
    unsavedAsked.push_back(table);
    if (unsavedAnswers.empty()) return UnsavedAnswer::Cancel;
    const UnsavedAnswer answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
  }
  std::optional<int> AskRow(int, int) override {
    if (rowAnswers.empty()) return std::nullopt;
    auto answer = rowAnswers.front();
    rowAnswers.pop_front();
    return answer;
  }
};
