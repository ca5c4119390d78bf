#include "window/file_open.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "window/main_form.h"

namespace {

// The first local file among the dragged data, or an empty string.
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
  return {};
}

}  // namespace

std::optional<std::string> OneShotOpenPort::ChooseFile(ot::FileDialog dialog) {
  if (dialog == ot::FileDialog::Open && !answered_) {
    answered_ = true;
    return path_;
  }
  return inner_.ChooseFile(dialog);
}

void OneShotOpenPort::ShowMessage(std::string_view text, std::string_view caption) {
  inner_.ShowMessage(text, caption);
}

void OneShotOpenPort::ShowError(const QString& text) { inner_.ShowError(text); }

void TMainForm::openFile(const QString& path) {
  OneShotOpenPort once(port(), QFile::encodeName(path).toStdString());
  WindowPort* const previous = port_;
  port_ = &once;
  try {
    OpenBtnClick();
  } catch (...) {
    port_ = previous;
    throw;
  }
  port_ = previous;
}

FileDropOpener::FileDropOpener(TMainForm* form) : QObject(form), form_(form) {
  form->setAcceptDrops(true);
  form->installEventFilter(this);
}

bool FileDropOpener::eventFilter(QObject* watched, QEvent* event) {
  if (watched != form_) return false;
  switch (event->type()) {
    case QEvent::DragEnter: {
      auto* drag = static_cast<QDragEnterEvent*>(event);
      if (FirstLocalFile(drag->mimeData()).isEmpty()) {
        drag->ignore();
      } else {
        drag->acceptProposedAction();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString file = FirstLocalFile(drop->mimeData());
      if (file.isEmpty()) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      form_->openFile(file);
      return true;
    }
    default:
      return false;
  }
}

QString FileArgument(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (arg == QLatin1String("--screenshots")) {
      ++i;  // its value is a folder, not a file to open
      continue;
    }
    if (arg == QLatin1String("--")) return i + 1 < arguments.size() ? arguments[i + 1] : QString();
    if (arg.startsWith(QLatin1Char('-'))) continue;
    return arg;
  }
  return {};
}
