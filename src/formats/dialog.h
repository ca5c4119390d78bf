// Dialog.bmd: the client's 200 dialogue records of 1024 bytes: a main text, a sub-text
// count and five event numbers (signed 32-bit), a 60-byte text and ten 64-byte sub-texts.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class DialogTable : public TableUnit {
 public:
  static constexpr int kRecordLength = 1024;
  static constexpr int kRecords = 200;
  static constexpr int kFileSize = kRecordLength * kRecords;

  int Page() const override;
  std::string_view FileName() const override { return "Dialog.bmd"; }
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
  std::vector<uint8_t> image_ = std::vector<uint8_t>(kFileSize);
};

}  // namespace ot
