// Gate.bmd: the table of gates, nine unsigned bytes per record, in a 100-record layout
// (900 bytes) and a 256-record layout (2304 bytes), told apart by size on Open and by the
// grid's row count on Save.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class GateTable : public TableUnit {
 public:
  static constexpr int kRecordLength = 9;

  int Page() const override;
  std::string_view FileName() const override { return "Gate.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  ExportKind ExportKindOf(const TEditorState& state) const override;
  std::string ExportTextList(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {"GateEdit"}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> images_[2] = {std::vector<uint8_t>(900), std::vector<uint8_t>(2304)};
};

}  // namespace ot
