// Movereq.bmd: the table of move requests, 36 records of 80 bytes behind a plain 4-byte count
// of the records in use, which Save recomputes from the rows. One layout.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class MovereqTable : public TableUnit {
 public:
  static constexpr int kFileSize = 2884;
  static constexpr int kHeaderSize = 4;  // the entry count, stored plain
  static constexpr int kRecordLength = 80;
  static constexpr int kRecords = 36;

  int Page() const override;
  std::string_view FileName() const override { return "Movereq.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {"MovereqEdit"}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> image_ = std::vector<uint8_t>(kFileSize);
};

}  // namespace ot
