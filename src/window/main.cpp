// ot-editor: starts the application, creates the main window and runs the message loop.
// ot-editor FILE opens FILE as Open does. The hidden option --screenshots DIR writes a
// picture of every page into DIR and exits.
#include <QDir>
#include <QStringList>
#include <QTimer>
#include <exception>

#include "window/application.h"
#include "window/file_open.h"
#include "window/main_form.h"

int main(int argc, char** argv) {
  OtApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("io.orveltarn.ClientTools"));
  try {
    TMainForm form;
    const QStringList args = QCoreApplication::arguments();
    const qsizetype shots = args.indexOf(QStringLiteral("--screenshots"));
    if (shots > 0 && shots + 1 < args.size()) {
      form.show();
      QCoreApplication::processEvents();
      return form.saveScreenshots(args[shots + 1]) ? 0 : 1;
    }
    form.show();
    // A file named on the command line opens once the window is up, so that its messages
    // stand over the window.
    const QString file = FileArgument(args);
    if (!file.isEmpty()) QTimer::singleShot(0, &form, [&form, file] { form.openFile(file); });
    return app.exec();
  } catch (const std::exception& e) {
    OtApplication::ShowStandardError(QString::fromUtf8(e.what()));
  } catch (...) {
    OtApplication::ShowStandardError(QString());
  }
  return 1;
}
