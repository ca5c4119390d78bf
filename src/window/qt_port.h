// The window's side of the commands' user port: the three file dialogs, the message boxes
// and the error display, with Qt dialogs. Tests give the window a scripted port instead.
#pragma once

#include <QString>
#include <QStringList>

#include "frame/user_port.h"

class QWidget;

// The answer to the question about a page with unsaved changes.
enum class UnsavedAnswer { Save, Discard, Cancel };

class WindowPort : public ot::UserPort {
 public:
  // The error display for an error that escapes Save or Export: a critical box with the
  // message (already followed by its full stop), captioned with the application title.
  virtual void ShowError(const QString& text) = 0;
  // Asks what becomes of the unsaved changes of the table named (before the window closes,
  // or before another file of that table replaces them).
  virtual UnsavedAnswer AskUnsaved(const QString& table) = 0;
  // Asks for a row number from 1 to last (Go to row); nullopt when cancelled.
  virtual std::optional<int> AskRow(int current, int last) = 0;
};

class QtUserPort : public WindowPort {
 public:
  explicit QtUserPort(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowError(const QString& text) override;
  UnsavedAnswer AskUnsaved(const QString& table) override;
  std::optional<int> AskRow(int current, int last) override;

 private:
  QWidget* parent_;
  QString lastDir_;  // the dialogs open in the folder of the last chosen file
};

// A dialog filter "Name|patterns|Name|patterns..." as Qt name filters: an entry whose name
// already ends in its one pattern in parentheses stays as it is ("Bmd File(*.bmd)"); other
// entries keep their name and get their patterns, blank-separated, in parentheses after it.
QStringList QtNameFilters(std::string_view filter);
