#include "formats/slide.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {

int SlideTable::Page() const { return kSlidePage; }

const std::vector<Layout>& SlideTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"one layout", kFileSize, kBlocks * kEntries}};
  return kLayouts;
}

void SlideTable::FormCreate(TEditorState& state) {
  StringGrid& grid = state.SlideStrGrid;
  grid.Cells(0, 0) = Cp936("编号");
  grid.Cells(1, 0) = Cp936("数据类型");
  grid.Cells(2, 0) = Cp936("数据项序号");
  grid.Cells(3, 0) = Cp936("文本内容             支持版本 98C->1.X");
  state.SlideModBtn.Enabled = false;
}

void SlideTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  ScrambleRecords(image.data(), image.data(), static_cast<int32_t>(image.size()), kRecordLength);
  image_.assign(image.begin(), image.end());
  StringGrid& grid = state.SlideStrGrid;
  grid.SetRowCount(kBlocks * kEntries + 1);
  for (int b = 0; b < kBlocks; ++b) {
    for (int e = 0; e < kEntries; ++e) {
      const int row = kEntries * b + e + 1;
      AssignDecimal(grid.Cells(0, row), row);
      AssignDecimal(grid.Cells(1, row), b + 1);
      AssignDecimal(grid.Cells(2, row), e + 1);
      grid.Cells(3, row) = ReadTextField(image_.data() + EntryOffset(b, e), kEntryLength);
    }
  }
  state.ActivePageIndex = kSlidePage;
}

int SlideTable::CurrentLayout(const TEditorState&) const { return 0; }

std::optional<std::string> SlideTable::Save(TEditorState& state) {
  const StringGrid& grid = state.SlideStrGrid;
  for (int b = 0; b < kBlocks; ++b) {
    int empty = 0;
    for (int e = 0; e < kEntries; ++e) {
      // The text passes through the page's edit box, which keeps the last one.
      state.SlideEdit = CellText(grid, 3, kEntries * b + e + 1);
      WriteTextField(image_.data() + EntryOffset(b, e), kEntryLength, state.SlideEdit);
      if (state.SlideEdit.empty()) ++empty;
    }
    // One less than the filled entries, wherever the empty ones lie (-1 for an empty block).
    PutLow(image_.data() + kHeaderLength + kBlockLength * b + 4, 4, kEntries - 1 - empty);
  }
  std::string out(image_.begin(), image_.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, static_cast<int32_t>(out.size()), kRecordLength);
  return out;
}

std::optional<std::span<const uint8_t>> SlideTable::RecordBytes(const TEditorState&,
                                                                int row) const {
  if (row < 1 || row > kBlocks * kEntries) return std::nullopt;
  const int b = (row - 1) / kEntries, e = (row - 1) % kEntries;
  return std::span<const uint8_t>(image_.data() + EntryOffset(b, e), kEntryLength);
}

std::vector<int> SlideTable::NumberColumns(const TEditorState&) const { return {}; }

}  // namespace ot
