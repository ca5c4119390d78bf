#include "formats/gate.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

constexpr std::string_view kTitles[10] = {
    "编号",       "标记",       "地图号",   "范围坐标X1", "范围坐标Y1",
    "范围坐标X2", "范围坐标Y2", "目标门号", "方向",       "等级限制"};
constexpr std::string_view kOpenNotes[2] = {"//Ver:97->99B+ gate.bmd", "//Ver:1.X gate.bmd"};

}  // namespace

int GateTable::Page() const { return kGatePage; }

const std::vector<Layout>& GateTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"97 to 99B+", 900, 100}, {"1.X", 2304, 256}};
  return kLayouts;
}

void GateTable::FormCreate(TEditorState& state) {
  for (int c = 0; c < 10; ++c) state.GateStrGrid.Cells(c, 0) = Cp936(kTitles[c]);
  state.GateEdit = Cp936("支持版本:97->1.X Gate.bmd");
  state.GateModBtn.Enabled = false;
}

void GateTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  const int32_t n = static_cast<int32_t>(image.size());
  ScrambleRecords(image.data(), image.data(), n, kRecordLength);
  state.GateEdit = Cp936(kOpenNotes[layout]);
  StringGrid& grid = state.GateStrGrid;
  const int records = n / kRecordLength;
  grid.SetRowCount(records + 1);
  std::vector<uint8_t>& record = images_[layout];
  record.assign(image.begin(), image.end());
  for (int k = 0; k < records; ++k) {
    const uint8_t* p = record.data() + kRecordLength * k;
    AssignDecimal(grid.Cells(0, k + 1), k);
    for (int c = 1; c <= 9; ++c) AssignDecimal(grid.Cells(c, k + 1), p[c - 1]);
  }
  state.ActivePageIndex = kGatePage;
}

int GateTable::CurrentLayout(const TEditorState& state) const {
  return state.GateStrGrid.RowCount() == 101 ? 0 : 1;
}

std::optional<std::string> GateTable::Save(TEditorState& state) {
  const int layout = CurrentLayout(state);
  const StringGrid& grid = state.GateStrGrid;
  std::vector<uint8_t>& record = images_[layout];
  const int records = Layouts()[static_cast<size_t>(layout)].Records;
  for (int r = 1; r <= records; ++r)
    for (int c = 1; c <= 9; ++c)
      PutLow(record.data() + kRecordLength * (r - 1) + (c - 1), 1, CellInt(grid, c, r));
  std::string out(record.begin(), record.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, static_cast<int32_t>(out.size()), kRecordLength);
  return out;
}

ExportKind GateTable::ExportKindOf(const TEditorState&) const { return ExportKind::TextList; }

std::string GateTable::ExportTextList(TEditorState& state) {
  const int layout = CurrentLayout(state);
  const StringGrid& grid = state.GateStrGrid;
  std::vector<std::string>& lines = state.MemoTxt;
  lines.clear();
  lines.push_back(Cp936("//编号 标记 地图号 范围坐标X1 范围坐标Y1 范围坐标X2 范围坐标Y2 目标门号 方向 等级限制"));
  lines.push_back(layout == 0 ? "//gate.bmd 97->99B+" : "//gate.bmd 1.X");
  const int records = Layouts()[static_cast<size_t>(layout)].Records;
  for (int r = 1; r <= records; ++r) {
    std::string line = CellText(grid, 0, r);
    for (int c = 1; c <= 9; ++c) {
      line += ' ';
      line += CellText(grid, c, r);
    }
    lines.push_back(std::move(line));
  }
  return JoinCrLf(lines);
}

std::optional<std::span<const uint8_t>> GateTable::RecordBytes(const TEditorState& state,
                                                               int row) const {
  const int layout = CurrentLayout(state);
  const int records = Layouts()[static_cast<size_t>(layout)].Records;
  if (row < 1 || row > records) return std::nullopt;
  return std::span<const uint8_t>(images_[layout].data() + kRecordLength * (row - 1),
                                  kRecordLength);
}

std::vector<int> GateTable::NumberColumns(const TEditorState&) const {
  return {1, 2, 3, 4, 5, 6, 7, 8, 9};
}

}  // namespace ot
