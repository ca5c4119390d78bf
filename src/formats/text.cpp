#include "formats/text.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

constexpr std::string_view kMarkers[2] = {"文本内容 //Ver 99J,99B+ Text.bmd",
                                          "文本内容 //Ver 1.x Text.bmd"};

}  // namespace

int TextTable::Page() const { return kTextPage; }

const std::vector<Layout>& TextTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"99J, 99B+", 450000, 1500}, {"1.x", 614400, 2048}};
  return kLayouts;
}

void TextTable::FormCreate(TEditorState& state) {
  state.TextStrGrid.Cells(0, 0) = Cp936("编号");
  state.TextStrGrid.Cells(1, 0) = Cp936("文本内容              支持版本 99J->1.X");
  state.TextModBtn.Enabled = false;
}

void TextTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  ScrambleRecords(image.data(), image.data(), static_cast<int32_t>(image.size()), kRecordLength);
  StringGrid& grid = state.TextStrGrid;
  const int records = static_cast<int>(image.size()) / kRecordLength;
  grid.SetRowCount(records + 1);
  std::vector<uint8_t>& record = images_[layout];
  record.assign(image.begin(), image.end());
  for (int k = 0; k < records; ++k) {
    AssignDecimal(grid.Cells(0, k + 1), k + 1);
    grid.Cells(1, k + 1) = ReadTextField(record.data() + kRecordLength * k, kRecordLength);
  }
  grid.Cells(1, 0) = Cp936(kMarkers[layout]);
  state.ActivePageIndex = kTextPage;
}

int TextTable::CurrentLayout(const TEditorState& state) const {
  static const std::string kCp936Markers[2] = {Cp936(kMarkers[0]), Cp936(kMarkers[1])};
  const std::string& title = state.TextStrGrid.Cells(1, 0);
  for (int layout = 0; layout < 2; ++layout)
    if (title == kCp936Markers[layout]) return layout;
  return -1;
}

std::optional<std::string> TextTable::Save(TEditorState& state) {
  // The start title is no marker: before any Open nothing is written.
  const int layout = CurrentLayout(state);
  if (layout < 0) return std::nullopt;
  const StringGrid& grid = state.TextStrGrid;
  std::vector<uint8_t>& record = images_[layout];
  const int records = Layouts()[static_cast<size_t>(layout)].Records;
  for (int r = 1; r <= records; ++r) {
    // The text passes through the page's edit box, which keeps the last one.
    state.TextEdit = CellText(grid, 1, r);
    WriteTextField(record.data() + kRecordLength * (r - 1), kRecordLength, state.TextEdit);
  }
  std::string out(record.begin(), record.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, static_cast<int32_t>(out.size()), kRecordLength);
  return out;
}

std::optional<std::span<const uint8_t>> TextTable::RecordBytes(const TEditorState& state,
                                                               int row) const {
  const int layout = CurrentLayout(state);
  if (layout < 0) return std::nullopt;
  const int records = Layouts()[static_cast<size_t>(layout)].Records;
  if (row < 1 || row > records) return std::nullopt;
  return std::span<const uint8_t>(images_[layout].data() + kRecordLength * (row - 1),
                                  kRecordLength);
}

std::vector<int> TextTable::NumberColumns(const TEditorState&) const { return {}; }

}  // namespace ot
