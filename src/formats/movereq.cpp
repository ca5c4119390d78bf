#include "formats/movereq.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

constexpr std::string_view kTitles[7] = {"编号",     "序号",     "中文地图名", "英文地图名",
                                         "所需等级", "所需费用", "Gate编号"};

// Offsets within a move record.
constexpr int kSerial = 0;
constexpr int kChineseName = 4;
constexpr int kEnglishName = 36;
constexpr int kNameWidth = 32;
constexpr int kLevel = 68;
constexpr int kFee = 72;
constexpr int kGate = 76;

}  // namespace

int MovereqTable::Page() const { return kMovereqPage; }

const std::vector<Layout>& MovereqTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"one layout", kFileSize, kRecords}};
  return kLayouts;
}

void MovereqTable::FormCreate(TEditorState& state) {
  for (int c = 0; c < 7; ++c) state.MovereqStrGrid.Cells(c, 0) = Cp936(kTitles[c]);
  state.MovereqEdit = Cp936("支持版本:98C->1.X Movereq.bmd");
  state.MovereqModBtn.Enabled = false;
}

void MovereqTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  uint8_t* records = image.data() + kHeaderSize;
  ScrambleRecords(records, records, kRecords * kRecordLength, kRecordLength);
  StringGrid& grid = state.MovereqStrGrid;
  grid.SetRowCount(kRecords + 1);
  image_.assign(image.begin(), image.end());
  for (int k = 0; k < kRecords; ++k) {
    const uint8_t* p = image_.data() + kHeaderSize + kRecordLength * k;
    const int r = k + 1;
    AssignDecimal(grid.Cells(0, r), r);
    AssignDecimal(grid.Cells(1, r), GetI32(p + kSerial));
    grid.Cells(2, r) = ReadTextField(p + kChineseName, kNameWidth);
    grid.Cells(3, r) = ReadTextField(p + kEnglishName, kNameWidth);
    AssignDecimal(grid.Cells(4, r), GetI32(p + kLevel));
    AssignDecimal(grid.Cells(5, r), GetI32(p + kFee));
    AssignDecimal(grid.Cells(6, r), GetI32(p + kGate));
  }
  state.MovereqEdit =
      Cp936("MoveReq.bmd有") + std::to_string(GetI32(image_.data())) + Cp936("项数据");
  state.ActivePageIndex = kMovereqPage;
}

int MovereqTable::CurrentLayout(const TEditorState&) const { return 0; }

std::optional<std::string> MovereqTable::Save(TEditorState& state) {
  const StringGrid& grid = state.MovereqStrGrid;
  int32_t inUse = 0;
  for (int r = 1; r <= kRecords; ++r) {
    uint8_t* p = image_.data() + kHeaderSize + kRecordLength * (r - 1);
    PutLow(p + kSerial, 4, CellInt(grid, 1, r));
    WriteTextField(p + kChineseName, kNameWidth, CellText(grid, 2, r));
    WriteTextField(p + kEnglishName, kNameWidth, CellText(grid, 3, r));
    PutLow(p + kLevel, 4, CellInt(grid, 4, r));
    PutLow(p + kFee, 4, CellInt(grid, 5, r));
    PutLow(p + kGate, 4, CellInt(grid, 6, r));
    // A row is in use by its texts, not its values: " 0" and "00" count although they
    // convert to 0.
    if (CellText(grid, 1, r) != "0" || !CellText(grid, 2, r).empty()) ++inUse;
  }
  // Only a save that converted every cell reaches this point and renews the count.
  PutLow(image_.data(), 4, inUse);
  std::string out(image_.begin(), image_.end());
  auto* records = reinterpret_cast<uint8_t*>(out.data()) + kHeaderSize;
  ScrambleRecords(records, records, kRecords * kRecordLength, kRecordLength);
  return out;
}

std::optional<std::span<const uint8_t>> MovereqTable::RecordBytes(const TEditorState&,
                                                                  int row) const {
  if (row < 1 || row > kRecords) return std::nullopt;
  return std::span<const uint8_t>(image_.data() + kHeaderSize + kRecordLength * (row - 1),
                                  kRecordLength);
}

std::vector<int> MovereqTable::NumberColumns(const TEditorState&) const { return {1, 4, 5, 6}; }

}  // namespace ot
