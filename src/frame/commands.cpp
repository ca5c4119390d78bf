#include "frame/commands.h"

#include <exception>

#include "frame/errors.h"
#include "frame/filesys.h"
#include "frame/recognition.h"

namespace ot {

std::string_view DialogFilter(FileDialog dialog) {
  switch (dialog) {
    case FileDialog::Open:
      return "Bmd File(*.bmd)|*.bmd|Wtf File(*.wtf)|*.wtf|Att File(*.att;*.bmp)|*.att;*.bmp|"
             "Image File(*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga)|*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga|"
             "All File(*.*)|*.*";
    case FileDialog::Save:
      return "Bmd and Wtf File(*.bmd;*.wtf)|*.bmd;*.wtf|"
             "Image File(*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga)|*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga|"
             "Att File(*.att)|*.att|All File(*.*)|*.*";
    case FileDialog::TextList:
      return "文本文件(*.txt)|*.txt";
    case FileDialog::CsvExport:
    case FileDialog::CsvImport:
      return "CSV 文件(*.csv)|*.csv|All File(*.*)|*.*";
  }
  return {};
}

namespace {

// The table a chosen file is, judged by its extension and size, or nullopt after the refusal
// has been shown. Sets the status bar's path; a missing file is reported before its refusal.
std::optional<Recognition> RecogniseChosen(TEditorState& state, UserPort& port,
                                           const std::string& path, FileProbe& probe) {
  // Read access is all Open needs: a read-only table opens.
  probe = ProbeFile(path);
  state.StatusPanels[1] = path;
  if (probe.Size == 0) port.ShowMessage(kFileMissingMessage, kOpenErrorCaption);
  const std::string_view ext = ExtractFileExt(path);
  std::optional<Recognition> row;
  if (AnySizeExtension(ext)) {
    if (probe.Size < 0) {
      port.ShowMessage("无法读取文件 " + path + ": " + probe.Reason, kOpenErrorCaption);
      return std::nullopt;
    }
    if (probe.Size > kMaxAnySizeFile) {
      port.ShowMessage("文件太大,无法打开: " + path, kOpenErrorCaption);
      return std::nullopt;
    }
    row = Recognise(ext, probe.Size);
  } else if (ext == ".bmd") {
    // A .bmd table is judged by its size alone, before anything is read.
    row = Recognise(ext, probe.Size);
    if (!row) {
      port.ShowMessage(kBmdRefusedMessage, kOpenErrorCaption);
      return std::nullopt;
    }
  }
  if (!row) port.ShowMessage(kTypeRefusedMessage, kOpenErrorCaption);
  return row;
}

}  // namespace

OpenOutcome OpenBtnClick(TEditorState& state, UserPort& port) {
  auto chosen = port.ChooseFile(FileDialog::Open);
  if (!chosen) return OpenOutcome::Cancelled;
  const std::string& path = *chosen;
  try {
    const std::string shownPath = state.StatusPanels[1];
    FileProbe probe;
    std::optional<Recognition> row = RecogniseChosen(state, port, path, probe);
    if (!row) return OpenOutcome::Refused;
    switch (port.MayReplacePage(row->Page)) {
      case ReplaceAnswer::Replace:
        break;
      case ReplaceAnswer::Keep:
        state.StatusPanels[1] = shownPath;
        return OpenOutcome::Cancelled;
      case ReplaceAnswer::ReplaceAfterSaving:
        // The saved file may be the chosen one: its size and so its table may have changed.
        row = RecogniseChosen(state, port, path, probe);
        if (!row) return OpenOutcome::Refused;
        break;
    }
    TableUnit* unit = state.UnitOfPage(row->Page);
    if (!unit) throw std::logic_error("no unit for a recognised table");
    std::vector<uint8_t> image = ReadWholeFile(path, probe.Size);
    try {
      unit->Open(state, std::span<uint8_t>(image), row->Layout);
    } catch (const OpenRefused& refused) {
      port.ShowMessage(refused.what(), kOpenErrorCaption);
      return OpenOutcome::Refused;
    }
    return OpenOutcome::Opened;
  } catch (const std::exception&) {
    port.ShowMessage(kOpenFailedMessage, kOpenFailedCaption);
    return OpenOutcome::Refused;
  }
}

SaveOutcome SaveBtnClick(TEditorState& state, UserPort& port) {
  const int page = state.ActivePageIndex;
  TableUnit* unit = state.UnitOfPage(page);
  if (!unit) return SaveOutcome::NoTable;
  auto chosen = port.ChooseFile(FileDialog::Save);
  if (!chosen) return SaveOutcome::Cancelled;
  std::optional<std::string> bytes;
  try {
    bytes = unit->Save(state);
  } catch (ConversionError& e) {
    e.Page = page;
    throw;
  }
  if (!bytes) {
    port.ShowMessage(unit->NotSavedMessage(state), kSaveRefusedCaption);
    return SaveOutcome::Refused;
  }
  WriteFileAtomically(*chosen, *bytes);
  return SaveOutcome::Saved;
}

SaveOutcome ExportBtnClick(TEditorState& state, UserPort& port) {
  TableUnit* unit = state.UnitOfPage(state.ActivePageIndex);
  if (!unit) return SaveOutcome::NoTable;
  switch (unit->ExportKindOf(state)) {
    case ExportKind::Nothing:
      return SaveOutcome::NoTable;
    case ExportKind::TableFile:
      return SaveBtnClick(state, port);
    case ExportKind::TextList:
      break;
  }
  const std::string list = unit->ExportTextList(state);
  auto chosen = port.ChooseFile(FileDialog::TextList);
  if (!chosen) return SaveOutcome::Cancelled;
  try {
    WriteFileAtomically(*chosen, list);
  } catch (const FileError&) {
    throw FileError("Cannot create file " + *chosen);
  }
  return SaveOutcome::Saved;
}

}  // namespace ot
