#include "window/qt_port.h"

#include <algorithm>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
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
    case ot::FileDialog::CsvExport: return "CsvExportDialog";
    case ot::FileDialog::CsvImport: return "CsvImportDialog";
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
  const bool opens = dialog == ot::FileDialog::Open || dialog == ot::FileDialog::CsvImport;
  box.setAcceptMode(opens ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // The open dialog does not insist that a typed name exists; the save dialogs replace an
  // existing file without asking and add no extension. The CSV dialogs are the window's own
  // and behave like those of other programs: an imported file must exist, and replacing a
  // file on export is confirmed.
  if (dialog == ot::FileDialog::CsvImport) {
    box.setFileMode(QFileDialog::ExistingFile);
  } else {
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, dialog != ot::FileDialog::CsvExport);
  }
  if (dialog == ot::FileDialog::CsvExport) box.setDefaultSuffix(QStringLiteral("csv"));
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

UnsavedAnswer QtUserPort::AskUnsaved(const QString& table) {
  QMessageBox box(QMessageBox::Warning, Utf8(ot::kApplicationTitle),
                  QStringLiteral("%1 有未保存的修改。").arg(table),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
  box.setObjectName(QStringLiteral("UnsavedQuestion"));
  box.setInformativeText(QStringLiteral("保存这些修改吗? 不保存,修改将会丢失。"));
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save: return UnsavedAnswer::Save;
    case QMessageBox::Discard: return UnsavedAnswer::Discard;
    default: return UnsavedAnswer::Cancel;
  }
}

std::optional<int> QtUserPort::AskRow(int current, int last) {
  QInputDialog box(parent_);
  box.setObjectName(QStringLiteral("GoToRowDialog"));
  box.setWindowTitle(QStringLiteral("转到行"));
  box.setLabelText(QStringLiteral("行号 (1 - %1):").arg(last));
  box.setInputMode(QInputDialog::IntInput);
  box.setIntRange(1, std::max(1, last));
  box.setIntValue(std::clamp(current, 1, std::max(1, last)));
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.intValue();
}
