#include "window/qt_port.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "frame/version.h"

namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* DialogName(ot::FileDialog dialog) {
  switch (dialog) {
    case ot::FileDialog::Open: return "OpenDialog1";
    case ot::FileDialog::Save: return "SaveDialog1";
    case ot::FileDialog::TextList: return "dlgSave1";
  }
  return "";
}

}  // namespace

QStringList QtNameFilters(std::string_view filter) {
  const QStringList parts = Utf8(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    const QString& patterns = parts[i + 1];
    if (!patterns.contains(QLatin1Char(';')) && name.endsWith(u'(' + patterns + u')')) {
      entries << name;
    } else {
      QString spaced = patterns;
      spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
      entries << name + QStringLiteral(" (") + spaced + QLatin1Char(')');
    }
  }
  return entries;
}

std::optional<std::string> QtUserPort::ChooseFile(ot::FileDialog dialog) {
  QFileDialog box(parent_);
  box.setObjectName(DialogName(dialog));
  box.setAcceptMode(dialog == ot::FileDialog::Open ? QFileDialog::AcceptOpen
                                                   : QFileDialog::AcceptSave);
  // The open dialog does not insist that a typed name exists; the save dialogs replace an
  // existing file without asking and add no extension.
  box.setFileMode(QFileDialog::AnyFile);
  box.setOption(QFileDialog::DontConfirmOverwrite, true);
  box.setNameFilters(QtNameFilters(ot::DialogFilter(dialog)));
  if (!lastDir_.isEmpty()) box.setDirectory(lastDir_);
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = box.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  lastDir_ = QFileInfo(files.first()).absolutePath();
  return QFile::encodeName(files.first()).toStdString();
}

void QtUserPort::ShowMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, Utf8(caption), Utf8(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.exec();  // which button is pressed changes nothing
}

void QtUserPort::ShowError(const QString& text) {
  QMessageBox::critical(parent_, Utf8(ot::kApplicationTitle), text, QMessageBox::Ok);
}
