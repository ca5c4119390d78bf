#include "formats/skill.h"

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

constexpr std::string_view kTitles[SkillTable::kColumns] = {
    "编号",    "魔法名称", "需求等级", "基本攻击力", "消耗魔法值",
    "消耗AG",  "有效距离", "unknown",  "unknown",    "unknown",
    "unknown", "所需魔力", "unknown",  "技能属性",   "98B+数据到这结束,后面为1.X数据",
    "unknown", "unknown",  "unknown",  "法师",       "战士",
    "精灵",    "魔剑士",   "unknown"};

constexpr int kNameWidth = 32;

// The numeric fields of columns 2 to 22: offset and width. The 99B+ record ends after
// column 14; the 1.x record adds columns 15 to 22.
struct NumberField {
  int Offset;
  int Width;
};
constexpr NumberField kNumbers[] = {{32, 1}, {33, 1}, {34, 2}, {36, 2}, {38, 2}, {40, 1}, {41, 1},
                                    {42, 1}, {43, 1}, {44, 2}, {46, 2}, {48, 2}, {50, 2}, {52, 1},
                                    {53, 1}, {54, 1}, {55, 1}, {56, 1}, {57, 1}, {58, 1}, {59, 1}};

struct SkillLayout {
  std::string_view Marker;
  std::string_view OpenNote;
  int RecordLength;
  int LastColumn;  // the last column that holds a field
  std::string_view Header;
  std::string_view ListVersion;
};
constexpr SkillLayout kSkillLayouts[2] = {
    {"编号       Ver:99B+", "//Ver:99B+ Skill.bmd", 52, 14,
     "编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
     "unknown 所需魔力  unknown 技能属性 unknown",
     "//skill.bmd Ver:99B+"},
    {"编号       Ver:1.x", "//Ver:1.x Skill.bmd", 60, 22,
     "编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
     "unknown 所需魔力  unknown 技能属性 unknown unknown unknown unknown unknown 法师 战士 精灵 "
     "魔剑士 unknown",
     "//skill.bmd Ver:1.x"},
};

const std::string& Marker(int layout) {
  static const std::string kMarkers[2] = {Cp936(kSkillLayouts[0].Marker),
                                          Cp936(kSkillLayouts[1].Marker)};
  return kMarkers[layout];
}

}  // namespace

int SkillTable::Page() const { return kSkillPage; }

const std::vector<Layout>& SkillTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"99B+", 13316, kRecords}, {"1.x", 15364, kRecords}};
  return kLayouts;
}

void SkillTable::FormCreate(TEditorState& state) {
  for (int c = 0; c < kColumns; ++c) state.SkillStrGrid.Cells(c, 0) = Cp936(kTitles[c]);
  state.SkillEdit = Cp936("支持版本 99B+,1.X");
  state.SkillModBtn.Enabled = false;
}

void SkillTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  const SkillLayout& l = kSkillLayouts[layout];
  std::vector<uint8_t>& record = images_[layout];
  ScrambleRecords(image.data(), image.data(), static_cast<int32_t>(image.size()), l.RecordLength);
  StringGrid& grid = state.SkillStrGrid;
  grid.SetRowCount(kRecords + 1);
  record.assign(image.begin(), image.end());
  for (int i = 0; i < kRecords; ++i) {
    const uint8_t* p = record.data() + l.RecordLength * i;
    const int r = i + 1;
    if (l.LastColumn < kColumns - 1)
      for (int c = l.LastColumn + 1; c < kColumns; ++c) grid.Cells(c, r).clear();
    AssignDecimal(grid.Cells(0, r), i);
    grid.Cells(1, r) = ReadTextField(p, kNameWidth);
    for (int c = 2; c <= l.LastColumn; ++c) {
      const NumberField& f = kNumbers[c - 2];
      AssignDecimal(grid.Cells(c, r), GetUnsigned(p + f.Offset, f.Width));
    }
  }
  state.SkillEdit = Cp936(l.OpenNote);
  grid.Cells(0, 0) = Marker(layout);
  state.ActivePageIndex = kSkillPage;
}

int SkillTable::CurrentLayout(const TEditorState& state) const {
  const std::string& cell = state.SkillStrGrid.Cells(0, 0);
  for (int layout = 0; layout < 2; ++layout)
    if (cell == Marker(layout)) return layout;
  return -1;
}

std::optional<std::string> SkillTable::Save(TEditorState& state) {
  const int layout = CurrentLayout(state);
  std::optional<std::string> out;
  if (layout >= 0) {
    const SkillLayout& l = kSkillLayouts[layout];
    const StringGrid& grid = state.SkillStrGrid;
    std::vector<uint8_t>& record = images_[layout];
    for (int r = 1; r <= kRecords; ++r) {
      uint8_t* p = record.data() + l.RecordLength * (r - 1);
      if (layout == 0) {
        // The 99B+ names pass through the text page's edit box, which keeps the last one.
        state.TextEdit = CellText(grid, 1, r);
        WriteTextField(p, kNameWidth, state.TextEdit);
      } else {
        WriteTextField(p, kNameWidth, CellText(grid, 1, r));
      }
      for (int c = 2; c <= l.LastColumn; ++c) {
        const NumberField& f = kNumbers[c - 2];
        PutLow(p + f.Offset, f.Width, CellInt(grid, c, r));
      }
    }
    out.emplace(record.begin(), record.end());
    auto* bytes = reinterpret_cast<uint8_t*>(out->data());
    ScrambleRecords(bytes, bytes, static_cast<int32_t>(out->size()), l.RecordLength);
  }
  // Shown after every save on this page that was not stopped by a bad cell, also when
  // nothing could be written.
  state.SkillEdit = Cp936("目前只能保存数据,效验值未计算写入.");
  return out;
}

ExportKind SkillTable::ExportKindOf(const TEditorState& state) const {
  return CurrentLayout(state) >= 0 ? ExportKind::TextList : ExportKind::Nothing;
}

std::string SkillTable::ExportTextList(TEditorState& state) {
  const int layout = CurrentLayout(state);
  std::vector<std::string>& lines = state.MemoTxt;
  lines.clear();
  if (layout < 0) return {};
  const SkillLayout& l = kSkillLayouts[layout];
  const StringGrid& grid = state.SkillStrGrid;
  lines.push_back(Cp936(l.Header));
  lines.emplace_back(l.ListVersion);
  for (int r = 1; r <= kRecords; ++r) {
    std::string line;
    for (int c = 0; c <= l.LastColumn; ++c) {
      line += ' ';
      line += CellText(grid, c, r);
    }
    lines.push_back(std::move(line));
  }
  return JoinCrLf(lines);
}

std::optional<std::span<const uint8_t>> SkillTable::RecordBytes(const TEditorState& state,
                                                                int row) const {
  const int layout = CurrentLayout(state);
  if (layout < 0 || row < 1 || row > kRecords) return std::nullopt;
  const int length = kSkillLayouts[layout].RecordLength;
  return std::span<const uint8_t>(images_[layout].data() + length * (row - 1),
                                  static_cast<size_t>(length));
}

std::vector<int> SkillTable::NumberColumns(const TEditorState& state) const {
  const int layout = CurrentLayout(state);
  std::vector<int> columns;
  if (layout < 0) return columns;
  for (int c = 2; c <= kSkillLayouts[layout].LastColumn; ++c) columns.push_back(c);
  return columns;
}

}  // namespace ot
