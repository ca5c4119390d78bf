// Filter.bmd: the client's list of 1000 short texts of 20 bytes, followed by a 4-byte check
// value that is stored plain, shown in hexadecimal and written back as it was read.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class FilterTable : public TableUnit {
 public:
  static constexpr int kRecordLength = 20;
  static constexpr int kRecords = 1000;
  static constexpr int kFileSize = kRecordLength * kRecords + 4;

  int Page() const override;
  std::string_view FileName() const override { return "Filter.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {"FilterCrcOldEdit"}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> image_ = std::vector<uint8_t>(kFileSize);
};

}  // namespace ot
