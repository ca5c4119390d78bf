#include "frame/table_unit.h"

#include "frame/editor_state.h"

namespace ot {

std::string TableUnit::NotSavedMessage(const TEditorState&) const {
  return "本页尚未打开" + std::string(FileName()) + "表格,没有可保存的数据.";
}

ExportKind TableUnit::ExportKindOf(const TEditorState&) const { return ExportKind::TableFile; }

std::string TableUnit::ExportTextList(TEditorState&) { return {}; }

std::optional<std::span<const uint8_t>> TableUnit::RecordBytes(const TEditorState&, int) const {
  return std::nullopt;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace ot
