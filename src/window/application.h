// The application object of ot-editor: an error that escapes an event handler is shown in
// the standard error display (the message with a full stop, captioned with the application
// title) and the window stays usable.
#pragma once

#include <QApplication>

class OtApplication : public QApplication {
  Q_OBJECT

 public:
  OtApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
  static void ShowStandardError(const QString& message);
};
