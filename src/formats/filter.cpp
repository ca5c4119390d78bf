#include "formats/filter.h"

#include <cstdio>

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

constexpr int kRecordBytes = FilterTable::kRecordLength * FilterTable::kRecords;

}  // namespace

int FilterTable::Page() const { return kFilterPage; }

const std::vector<Layout>& FilterTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"one layout", kFileSize, kRecords}};
  return kLayouts;
}

void FilterTable::FormCreate(TEditorState& state) {
  state.FilterStrGrid.Cells(0, 0) = Cp936("编号");
  state.FilterStrGrid.Cells(1, 0) = Cp936("文本内容     支持版本:97->1.X");
  state.FilterModBtn.Enabled = false;
}

void FilterTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  // The check value after the records is stored plain.
  ScrambleRecords(image.data(), image.data(), kRecordBytes, kRecordLength);
  image_.assign(image.begin(), image.end());
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X",
                static_cast<unsigned>(GetU32(image_.data() + kRecordBytes)));
  state.FilterCrcOldEdit = hex;
  StringGrid& grid = state.FilterStrGrid;
  grid.SetRowCount(kRecords + 1);
  for (int k = 0; k < kRecords; ++k) {
    AssignDecimal(grid.Cells(0, k + 1), k);
    grid.Cells(1, k + 1) = ReadTextField(image_.data() + kRecordLength * k, kRecordLength);
  }
  state.ActivePageIndex = kFilterPage;
}

int FilterTable::CurrentLayout(const TEditorState&) const { return 0; }

std::optional<std::string> FilterTable::Save(TEditorState& state) {
  // Written whether or not a list was opened: the zero image then gives a zero check value.
  const StringGrid& grid = state.FilterStrGrid;
  for (int r = 1; r <= kRecords; ++r) {
    // The text passes through the text page's edit box, which keeps the last one.
    state.TextEdit = CellText(grid, 1, r);
    WriteTextField(image_.data() + kRecordLength * (r - 1), kRecordLength, state.TextEdit);
  }
  std::string out(image_.begin(), image_.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, kRecordBytes, kRecordLength);
  return out;
}

std::optional<std::span<const uint8_t>> FilterTable::RecordBytes(const TEditorState&,
                                                                 int row) const {
  if (row < 1 || row > kRecords) return std::nullopt;
  return std::span<const uint8_t>(image_.data() + kRecordLength * (row - 1), kRecordLength);
}

std::vector<int> FilterTable::NumberColumns(const TEditorState&) const { return {}; }

}  // namespace ot
