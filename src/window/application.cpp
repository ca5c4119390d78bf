#include "window/application.h"

#include <QMessageBox>
#include <exception>

#include "frame/version.h"

OtApplication::OtApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromUtf8(ot::kApplicationTitle.data(),
                                       static_cast<qsizetype>(ot::kApplicationTitle.size())));
  setApplicationVersion(QString::fromLatin1(ot::kVersion.data(),
                                            static_cast<qsizetype>(ot::kVersion.size())));
}

bool OtApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowStandardError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowStandardError(QString());  // an error of no known kind carries an empty message
  }
  return false;
}

void OtApplication::ShowStandardError(const QString& message) {
  QMessageBox::critical(activeWindow(), applicationName(), message + u'.', QMessageBox::Ok);
}
