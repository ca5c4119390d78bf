#include "formats/dialog.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

// The fields of a record in grid column order, which is also the order Save writes them.
struct Field {
  int Offset;
  int Width;
  bool Number;  // a signed 32-bit number; else a text field
  std::string_view Title;
};

constexpr Field kFields[18] = {
    {0, 300, false, "文本内容"},     {300, 4, true, "子文本数量"},
    {304, 4, true, "触发事件编号1"}, {308, 4, true, "触发事件编号2"},
    {312, 4, true, "触发事件编号3"}, {316, 4, true, "触发事件编号4"},
    {320, 4, true, "触发事件编号5"}, {324, 60, false, "unknown_c60"},
    {384, 64, false, "子文本内容1"}, {448, 64, false, "子文本内容2"},
    {512, 64, false, "子文本内容3"}, {576, 64, false, "子文本内容4"},
    {640, 64, false, "子文本内容5"}, {704, 64, false, "子文本内容6"},
    {768, 64, false, "子文本内容7"}, {832, 64, false, "子文本内容8"},
    {896, 64, false, "子文本内容9"}, {960, 64, false, "子文本内容10"},
};

constexpr std::string_view kMarker = "文本内容 //Ver 97->1.x Dialog.bmd";

}  // namespace

int DialogTable::Page() const { return kDialogPage; }

const std::vector<Layout>& DialogTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"one layout", kFileSize, kRecords}};
  return kLayouts;
}

void DialogTable::FormCreate(TEditorState& state) {
  StringGrid& grid = state.DialogStrGrid;
  grid.Cells(0, 0) = Cp936("编号");
  for (int c = 1; c <= 18; ++c) grid.Cells(c, 0) = Cp936(kFields[c - 1].Title);
  state.DialogModBtn.Enabled = false;
}

void DialogTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  ScrambleRecords(image.data(), image.data(), static_cast<int32_t>(image.size()), kRecordLength);
  StringGrid& grid = state.DialogStrGrid;
  grid.SetRowCount(kRecords + 1);
  image_.assign(image.begin(), image.end());
  for (int k = 0; k < kRecords; ++k) {
    const uint8_t* record = image_.data() + kRecordLength * k;
    AssignDecimal(grid.Cells(0, k + 1), k);
    for (int c = 1; c <= 18; ++c) {
      const Field& f = kFields[c - 1];
      std::string& cell = grid.Cells(c, k + 1);
      if (f.Number)
        AssignDecimal(cell, GetI32(record + f.Offset));
      else
        cell = ReadTextField(record + f.Offset, static_cast<size_t>(f.Width));
    }
  }
  grid.Cells(1, 0) = Cp936(kMarker);
  state.ActivePageIndex = kDialogPage;
}

int DialogTable::CurrentLayout(const TEditorState&) const { return 0; }

std::optional<std::string> DialogTable::Save(TEditorState& state) {
  // One layout and no marker test: the grid is written whether or not a table was opened.
  const StringGrid& grid = state.DialogStrGrid;
  for (int r = 1; r <= kRecords; ++r) {
    uint8_t* record = image_.data() + kRecordLength * (r - 1);
    for (int c = 1; c <= 18; ++c) {
      const Field& f = kFields[c - 1];
      if (f.Number) {
        PutLow(record + f.Offset, 4, CellInt(grid, c, r));
      } else {
        // Text cells pass through the page's edit box, which keeps the last one.
        state.DialogEdit = CellText(grid, c, r);
        WriteTextField(record + f.Offset, static_cast<size_t>(f.Width), state.DialogEdit);
      }
    }
  }
  std::string out(image_.begin(), image_.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, static_cast<int32_t>(out.size()), kRecordLength);
  return out;
}

std::optional<std::span<const uint8_t>> DialogTable::RecordBytes(const TEditorState&,
                                                                 int row) const {
  if (row < 1 || row > kRecords) return std::nullopt;
  return std::span<const uint8_t>(image_.data() + kRecordLength * (row - 1), kRecordLength);
}

std::vector<int> DialogTable::NumberColumns(const TEditorState&) const {
  return {2, 3, 4, 5, 6, 7};
}

}  // namespace ot
