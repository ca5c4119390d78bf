// Skill.bmd: the skill table, 256 records in a 99B+ layout (52 bytes) and a 1.x layout
// (60 bytes), each file ending in a check value that is carried through unchanged. The
// layout in force is named by the version marker in cell (0,0). Export writes a text list.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class SkillTable : public TableUnit {
 public:
  static constexpr int kRecords = 256;
  static constexpr int kColumns = 23;

  int Page() const override;
  std::string_view FileName() const override { return "Skill.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  ExportKind ExportKindOf(const TEditorState& state) const override;
  std::string ExportTextList(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {"SkillEdit"}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> images_[2] = {std::vector<uint8_t>(13316), std::vector<uint8_t>(15364)};
};

}  // namespace ot
