// Opening a named file without the open dialog: a file given on the command line or dropped
// onto the window goes through the same Open command, with the dialog answered once by the
// name, so that the refusals, messages and status bar are those of Open.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

#include "window/qt_port.h"

class TMainForm;

// Answers the next open dialog with a fixed path; everything else goes to the inner port.
class OneShotOpenPort : public WindowPort {
 public:
  OneShotOpenPort(WindowPort& inner, std::string path) : inner_(inner), path_(std::move(path)) {}
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowError(const QString& text) override;
  UnsavedAnswer AskUnsaved(const QString& table) override { return inner_.AskUnsaved(table); }
  std::optional<int> AskRow(int current, int last) override {
    return inner_.AskRow(current, last);
  }

 private:
  WindowPort& inner_;
  std::string path_;
  bool answered_ = false;
};

// Watches the window for dragged files: a drag that carries a local file is accepted, and
// the first local file of a drop is opened.
class FileDropOpener : public QObject {
 public:
  explicit FileDropOpener(TMainForm* form);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TMainForm* form_;
};

// The file named on the command line (the first argument after the program that is not an
// option or an option's value), or an empty string.
QString FileArgument(const QStringList& arguments);
