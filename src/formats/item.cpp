#include "formats/item.h"

#include <array>

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/fields.h"
#include "frame/image_check.h"
#include "frame/scramble.h"

namespace ot {
namespace {

enum class FieldKind : uint8_t { None, Number, Text };

// The field behind a grid column: a text field (name, tail), an unsigned number of one or
// two bytes, or none (the column receives no value).
struct ItemField {
  std::string_view Title;
  int Offset;
  int Width;
  FieldKind Kind;
};

constexpr ItemField Text(std::string_view title, int offset, int width) {
  return {title, offset, width, FieldKind::Text};
}
constexpr ItemField Byte(std::string_view title, int offset) {
  return {title, offset, 1, FieldKind::Number};
}
constexpr ItemField Word(std::string_view title, int offset) {
  return {title, offset, 2, FieldKind::Number};
}
constexpr ItemField NoField(std::string_view title) { return {title, 0, 0, FieldKind::None}; }

constexpr std::string_view kU = "unknown";

// Columns 1 to 33 of the 96Y/97/98C layout.
constexpr ItemField k97Fields[] = {
    Text("物品名称", 0, 30),
    Byte("单双手", 30),
    Byte("掉落物品怪物等级", 31),
    Byte("X", 32),
    Byte("Y", 33),
    Byte("最小攻击力", 34),
    Byte("最大攻击力", 35),
    Byte("防御率", 36),
    Byte("防御力", 37),
    Byte("魔法防御", 38),
    Byte("攻击速度", 39),
    Byte("移动速度", 40),
    Byte("持久度", 41),
    Byte(kU, 42),
    Word("力量", 44),
    Word("敏捷", 46),
    NoField(kU),
    NoField(kU),
    Byte("佩带物品等级", 48),
    Byte("价格参数", 49),
    Byte(kU, 50),
    Byte(kU, 51),
    Byte(kU, 52),
    Byte(kU, 53),
    Byte(kU, 54),
    Byte("法师", 55),
    Byte("战士", 56),
    Byte("精灵", 57),
    Byte("魔剑士", 58),
    Byte("冰属性", 59),
    Byte("毒属性", 60),
    NoField("雷属性"),
    NoField("火属性"),
};

// Columns 1 to 42 of the 99B+/1.x layout.
constexpr ItemField k1xFields[] = {
    Text("物品名称", 0, 30),
    Byte("单双手", 30),
    Byte("掉落物品怪物等级", 31),
    Byte("佩戴类型", 32),
    Byte("武器固有技能", 33),
    Byte("X", 34),
    Byte("Y", 35),
    Byte("最小攻击力", 36),
    Byte("最大攻击力", 37),
    Byte("防御率", 38),
    Byte("防御力", 39),
    Byte("魔法防御", 40),
    Byte("攻击速度", 41),
    Byte("移动速度", 42),
    Byte("持久度", 43),
    Byte(kU, 44),
    Byte(kU, 45),
    Word("力量", 46),
    Word("敏捷", 48),
    Word(kU, 50),
    Byte(kU, 52),
    Byte(kU, 53),
    Byte("佩带物品等级", 54),
    Byte("价格参数", 55),
    Byte(kU, 56),
    Byte(kU, 57),
    Byte(kU, 58),
    Byte(kU, 59),
    Byte(kU, 60),
    Byte("法师", 61),
    Byte("战士", 62),
    Byte("精灵", 63),
    Byte("魔剑士", 64),
    Byte("圣导师", 65),
    Byte("冰属性", 66),
    Byte("毒属性", 67),
    Byte("雷属性", 68),
    Byte("火属性", 69),
    Byte("地属性", 70),
    Byte("风属性", 71),
    Byte("水属性", 72),
    Text(kU, 73, 3),
};

// Columns 1 to 45 of the Kor 1.02B layout.
constexpr ItemField kKorFields[] = {
    Text("物品名称", 0, 30),
    Word("单双手", 30),
    Word("掉落物品怪物等级", 32),
    Byte("佩戴类型", 34),
    Byte("武器固有技能", 35),
    Byte("X", 36),
    Byte("Y", 37),
    Byte("最小攻击力", 38),
    Byte("最大攻击力", 39),
    Byte("防御率", 40),
    Byte("防御力", 41),
    Byte("魔法防御", 42),
    Byte("攻击速度", 43),
    Byte("移动速度", 44),
    Byte("持久度", 45),
    Byte(kU, 46),
    Byte(kU, 47),
    Word("力量", 48),
    Word("敏捷", 50),
    Word(kU, 52),
    Word(kU, 54),
    Byte(kU, 56),
    Byte(kU, 57),
    Byte("佩带物品等级", 58),
    Byte("价格参数", 59),
    Byte(kU, 60),
    Byte(kU, 61),
    Byte(kU, 62),
    Byte(kU, 63),
    Word(kU, 64),
    Word(kU, 66),
    Byte(kU, 68),
    Byte("法师", 69),
    Byte("战士", 70),
    Byte("精灵", 71),
    Byte("魔剑士", 72),
    Byte("圣导师", 73),
    Byte("冰属性", 74),
    Byte("毒属性", 75),
    Byte("雷属性", 76),
    Byte("火属性", 77),
    Byte("地属性", 78),
    Byte("风属性", 79),
    Byte("水属性", 80),
    Text(kU, 81, 3),
};

struct ItemLayout {
  std::span<const ItemField> Fields;  // grid columns 1 to Fields.size()
  int RecordLength;
  int Records;
  int RowNumberModulus;  // column 0 shows i % modulus; 0: i + 1
  std::string_view Marker;
  std::string_view OpenNote;
  bool Writable;
};

const ItemLayout kItemLayouts[3] = {
    {k97Fields, 64, 512, 0, "编号       Ver:97", "//Ver:96Y,97,98C Item.bmd", false},
    {k1xFields, 76, 512, 32, "编号       Ver:1.x", "//Ver:99B+,1.x Item.bmd", true},
    {kKorFields, 84, 8192, 512, "编号       Ver:1.02B", "//Ver:Kor 1.02B Item.bmd", true},
};

constexpr std::string_view kNumberTitle = "编号";

// The code page 936 texts of a layout, converted once.
struct LayoutTexts {
  std::vector<std::string> Titles;  // columns 0 to C - 1, plain "编号" in column 0
  std::string Marker;
  std::string OpenNote;
};

const LayoutTexts& TextsOf(int layout) {
  static const std::array<LayoutTexts, 3> kTexts = [] {
    std::array<LayoutTexts, 3> texts;
    for (size_t l = 0; l < texts.size(); ++l) {
      texts[l].Titles.push_back(Cp936(kNumberTitle));
      for (const ItemField& f : kItemLayouts[l].Fields) texts[l].Titles.push_back(Cp936(f.Title));
      texts[l].Marker = Cp936(kItemLayouts[l].Marker);
      texts[l].OpenNote = Cp936(kItemLayouts[l].OpenNote);
    }
    return texts;
  }();
  return kTexts[static_cast<size_t>(layout)];
}

int ColumnCount(int layout) { return static_cast<int>(kItemLayouts[layout].Fields.size()) + 1; }

}  // namespace

int ItemTable::Page() const { return kItemPage; }

const std::vector<Layout>& ItemTable::Layouts() const {
  static const std::vector<Layout> kLayouts = {
      {"96Y, 97, 98C", 32772, 512}, {"99B+, 1.x", 38916, 512}, {"Kor 1.02B", 688132, 8192}};
  return kLayouts;
}

void ItemTable::FormCreate(TEditorState& state) {
  // The grid keeps the window's size; the 1.x titles go into columns 0 to 42.
  const std::vector<std::string>& titles = TextsOf(k1x).Titles;
  for (size_t c = 0; c < titles.size(); ++c)
    state.ItemStrGrid.Cells(static_cast<int>(c), 0) = titles[c];
  state.ItemEdit = Cp936("支持版本 99B+,1.X");
  state.ItemModBtn.Enabled = false;
}

void ItemTable::Open(TEditorState& state, std::span<uint8_t> image, int layout) {
  RequireLayoutSize(*this, image, layout);
  const ItemLayout& l = kItemLayouts[layout];
  const LayoutTexts& texts = TextsOf(layout);
  std::vector<uint8_t>& record = images_[layout];
  ScrambleRecords(image.data(), image.data(), static_cast<int32_t>(image.size()), l.RecordLength);
  StringGrid& grid = state.ItemStrGrid;
  // Changing the column count moves every cell: do it while the grid has the fewer rows.
  if (l.Records + 1 < grid.RowCount()) {
    grid.SetRowCount(l.Records + 1);
    grid.SetColCount(ColumnCount(layout));
  } else {
    grid.SetColCount(ColumnCount(layout));
    grid.SetRowCount(l.Records + 1);
  }
  for (size_t c = 0; c < texts.Titles.size(); ++c)
    grid.Cells(static_cast<int>(c), 0) = texts.Titles[c];
  record.assign(image.begin(), image.end());
  for (int i = 0; i < l.Records; ++i) {
    const uint8_t* p = record.data() + static_cast<size_t>(l.RecordLength) * static_cast<size_t>(i);
    const int r = i + 1;
    AssignDecimal(grid.Cells(0, r), l.RowNumberModulus ? i % l.RowNumberModulus : i + 1);
    int c = 1;
    // Columns without a field keep the text they held before.
    for (const ItemField& f : l.Fields) {
      if (f.Kind == FieldKind::Number)
        AssignDecimal(grid.Cells(c, r), GetUnsigned(p + f.Offset, f.Width));
      else if (f.Kind == FieldKind::Text)
        grid.Cells(c, r) = ReadTextField(p + f.Offset, static_cast<size_t>(f.Width));
      ++c;
    }
  }
  state.ItemEdit = texts.OpenNote;
  grid.Cells(0, 0) = texts.Marker;
  state.ItemModBtn.Enabled = false;
  state.ActivePageIndex = kItemPage;
}

int ItemTable::CurrentLayout(const TEditorState& state) const {
  const std::string& cell = state.ItemStrGrid.Cells(0, 0);
  for (int layout = 0; layout < 3; ++layout)
    if (cell == TextsOf(layout).Marker) return layout;
  return -1;
}

std::optional<std::string> ItemTable::Save(TEditorState& state) {
  const int layout = CurrentLayout(state);
  if (layout < 0 || !kItemLayouts[layout].Writable) return std::nullopt;
  const ItemLayout& l = kItemLayouts[layout];
  const StringGrid& grid = state.ItemStrGrid;
  std::vector<uint8_t>& record = images_[layout];
  for (int r = 1; r <= l.Records; ++r) {
    uint8_t* p = record.data() + static_cast<size_t>(l.RecordLength) * static_cast<size_t>(r - 1);
    int c = 1;
    for (const ItemField& f : l.Fields) {
      if (f.Kind == FieldKind::Number)
        PutLow(p + f.Offset, f.Width, CellInt(grid, c, r));
      else if (f.Kind == FieldKind::Text)
        WriteTextField(p + f.Offset, static_cast<size_t>(f.Width), CellText(grid, c, r));
      ++c;
    }
  }
  std::string out(record.begin(), record.end());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  ScrambleRecords(bytes, bytes, static_cast<int32_t>(out.size()), l.RecordLength);
  return out;
}

std::string ItemTable::NotSavedMessage(const TEditorState& state) const {
  if (CurrentLayout(state) == k97) return "这个版本(96Y,97,98C)的Item.bmd只能打开查看,不能保存.";
  return TableUnit::NotSavedMessage(state);
}

std::optional<std::span<const uint8_t>> ItemTable::RecordBytes(const TEditorState& state,
                                                               int row) const {
  const int layout = CurrentLayout(state);
  if (layout < 0) return std::nullopt;
  const ItemLayout& l = kItemLayouts[layout];
  if (row < 1 || row > l.Records) return std::nullopt;
  return std::span<const uint8_t>(
      images_[layout].data() + static_cast<size_t>(l.RecordLength) * static_cast<size_t>(row - 1),
      static_cast<size_t>(l.RecordLength));
}

std::vector<int> ItemTable::NumberColumns(const TEditorState& state) const {
  // The number columns of the layout shown, the 96Y/97/98C one included: they hold numbers
  // even though that layout is never saved.
  const int layout = CurrentLayout(state);
  std::vector<int> columns;
  if (layout < 0) return columns;
  int c = 1;
  for (const ItemField& f : kItemLayouts[layout].Fields) {
    if (f.Kind == FieldKind::Number) columns.push_back(c);
    ++c;
  }
  return columns;
}

}  // namespace ot
