// The window's side of the commands' user port: the three file dialogs, the message boxes
// and the error display, with Qt dialogs. Tests give the window a scripted port instead.
#pragma once

#include <QString>
#include <QStringList>

#include "frame/user_port.h"

class QWidget;

class WindowPort : public ot::UserPort {
 public:
  // The error display for an error that escapes Save or Export: a critical box with the
  // message (already followed by its full stop), captioned with the application title.
  virtual void ShowError(const QString& text) = 0;
};

class QtUserPort : public WindowPort {
 public:
  explicit QtUserPort(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowError(const QString& text) override;

 private:
  QWidget* parent_;
  QString lastDir_;  // the dialogs open in the folder of the last chosen file
};

// A dialog filter "Name|patterns|Name|patterns..." as Qt name filters: an entry whose name
// already ends in its one pattern in parentheses stays as it is ("Bmd File(*.bmd)"); other
// entries keep their name and get their patterns, blank-separated, in parentheses after it.
QStringList QtNameFilters(std::string_view filter);
