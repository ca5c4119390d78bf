// Text.bmd: the client's numbered texts, one 300-byte text per record, in a 1500-record
// layout (450000 bytes) and a 2048-record layout (614400 bytes). Open names the layout by a
// version marker in the title of column 1; Save writes the layout that marker names.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class TextTable : public TableUnit {
 public:
  static constexpr int kRecordLength = 300;

  int Page() const override;
  std::string_view FileName() const override { return "Text.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> images_[2] = {std::vector<uint8_t>(450000), std::vector<uint8_t>(614400)};
};

}  // namespace ot
