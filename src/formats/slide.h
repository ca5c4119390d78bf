// Slide.bmd: the client's slide messages, five blocks of 32 texts of 256 bytes behind an
// 8-byte file header. Each block starts with an opaque word and a count word; Save sets the
// count word from the block's entries and keeps the header and opaque words as read.
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class SlideTable : public TableUnit {
 public:
  static constexpr int kRecordLength = 3;  // the key simply runs on over the whole file
  static constexpr int kBlocks = 5;
  static constexpr int kEntries = 32;
  static constexpr int kEntryLength = 256;
  static constexpr int kHeaderLength = 8;
  static constexpr int kBlockLength = 8 + kEntries * kEntryLength;
  static constexpr int kFileSize = kHeaderLength + kBlocks * kBlockLength;

  int Page() const override;
  std::string_view FileName() const override { return "Slide.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

  // File offset of entry e of block b.
  static constexpr int EntryOffset(int b, int e) {
    return kHeaderLength + kBlockLength * b + 8 + kEntryLength * e;
  }

 private:
  std::vector<uint8_t> image_ = std::vector<uint8_t>(kFileSize);
};

}  // namespace ot
