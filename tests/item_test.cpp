#include "formats/item.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "support/record_bytes.h"
#include "support/support.h"

namespace {

using ottest::Gbk;
using ottest::PutBytes;
using ottest::PutLe;

// A grid column of an item layout as the file format defines it.
struct Col {
  const char* title;
  size_t offset;
  int width;  // numbers: 1 or 2 bytes; texts: the field's width; 0: no field
  char kind;  // 'n' number, 't' text, '-' no field
};
Col T(const char* title, size_t offset, int width) { return {title, offset, width, 't'}; }
Col B(const char* title, size_t offset) { return {title, offset, 1, 'n'}; }
Col W(const char* title, size_t offset) { return {title, offset, 2, 'n'}; }
Col None(const char* title) { return {title, 0, 0, '-'}; }
const char* const U = "unknown";

struct ItemLayout {
  const char* name;
  size_t size;
  size_t length;
  size_t records;
  const char* marker;
  const char* note;
  int rowModulus;  // column 0 shows i % modulus; 0: i + 1
  bool writable;
  std::vector<Col> cols;  // columns 1 to C - 1
  int ColCount() const { return static_cast<int>(cols.size()) + 1; }
};

const ItemLayout& L97() {
  static const ItemLayout l{"97",
                            32772,
                            64,
                            512,
                            "编号       Ver:97",
                            "//Ver:96Y,97,98C Item.bmd",
                            0,
                            false,
                            {T("物品名称", 0, 30),
                             B("单双手", 30),
                             B("掉落物品怪物等级", 31),
                             B("X", 32),
                             B("Y", 33),
                             B("最小攻击力", 34),
                             B("最大攻击力", 35),
                             B("防御率", 36),
                             B("防御力", 37),
                             B("魔法防御", 38),
                             B("攻击速度", 39),
                             B("移动速度", 40),
                             B("持久度", 41),
                             B(U, 42),
                             W("力量", 44),
                             W("敏捷", 46),
                             None(U),
                             None(U),
                             B("佩带物品等级", 48),
                             B("价格参数", 49),
                             B(U, 50),
                             B(U, 51),
                             B(U, 52),
                             B(U, 53),
                             B(U, 54),
                             B("法师", 55),
                             B("战士", 56),
                             B("精灵", 57),
                             B("魔剑士", 58),
                             B("冰属性", 59),
                             B("毒属性", 60),
                             None("雷属性"),
                             None("火属性")}};
  return l;
}

const ItemLayout& L1x() {
  static const ItemLayout l{"1.x",
                            38916,
                            76,
                            512,
                            "编号       Ver:1.x",
                            "//Ver:99B+,1.x Item.bmd",
                            32,
                            true,
                            {T("物品名称", 0, 30),
                             B("单双手", 30),
                             B("掉落物品怪物等级", 31),
                             B("佩戴类型", 32),
                             B("武器固有技能", 33),
                             B("X", 34),
                             B("Y", 35),
                             B("最小攻击力", 36),
                             B("最大攻击力", 37),
                             B("防御率", 38),
                             B("防御力", 39),
                             B("魔法防御", 40),
                             B("攻击速度", 41),
                             B("移动速度", 42),
                             B("持久度", 43),
                             B(U, 44),
                             B(U, 45),
                             W("力量", 46),
                             W("敏捷", 48),
                             W(U, 50),
                             B(U, 52),
                             B(U, 53),
                             B("佩带物品等级", 54),
                             B("价格参数", 55),
                             B(U, 56),
                             B(U, 57),
                             B(U, 58),
                             B(U, 59),
                             B(U, 60),
                             B("法师", 61),
                             B("战士", 62),
                             B("精灵", 63),
                             B("魔剑士", 64),
                             B("圣导师", 65),
                             B("冰属性", 66),
                             B("毒属性", 67),
                             B("雷属性", 68),
                             B("火属性", 69),
                             B("地属性", 70),
                             B("风属性", 71),
                             B("水属性", 72),
                             T(U, 73, 3)}};
  return l;
}

const ItemLayout& LKor() {
  static const ItemLayout l{"Kor 1.02B",
                            688132,
                            84,
                            8192,
                            "编号       Ver:1.02B",
                            "//Ver:Kor 1.02B Item.bmd",
                            512,
                            true,
                            {T("物品名称", 0, 30),
                             W("单双手", 30),
                             W("掉落物品怪物等级", 32),
                             B("佩戴类型", 34),
                             B("武器固有技能", 35),
                             B("X", 36),
                             B("Y", 37),
                             B("最小攻击力", 38),
                             B("最大攻击力", 39),
                             B("防御率", 40),
                             B("防御力", 41),
                             B("魔法防御", 42),
                             B("攻击速度", 43),
                             B("移动速度", 44),
                             B("持久度", 45),
                             B(U, 46),
                             B(U, 47),
                             W("力量", 48),
                             W("敏捷", 50),
                             W(U, 52),
                             W(U, 54),
                             B(U, 56),
                             B(U, 57),
                             B("佩带物品等级", 58),
                             B("价格参数", 59),
                             B(U, 60),
                             B(U, 61),
                             B(U, 62),
                             B(U, 63),
                             W(U, 64),
                             W(U, 66),
                             B(U, 68),
                             B("法师", 69),
                             B("战士", 70),
                             B("精灵", 71),
                             B("魔剑士", 72),
                             B("圣导师", 73),
                             B("冰属性", 74),
                             B("毒属性", 75),
                             B("雷属性", 76),
                             B("火属性", 77),
                             B("地属性", 78),
                             B("风属性", 79),
                             B("水属性", 80),
                             T(U, 81, 3)}};
  return l;
}

std::string Scrambled(const std::string& plain, const ItemLayout& l) {
  return ottest::Scramble(plain, 0, plain.size(), l.length);
}

// The bytes of a text field up to its first NUL, at most the field's width.
std::string TextOf(const std::string& plain, size_t offset, int width) {
  std::string field = plain.substr(offset, static_cast<size_t>(width));
  return field.substr(0, field.find('\0'));
}

// The cell text a column of a record shows.
std::string Expected(const std::string& plain, size_t record, const ItemLayout& l, const Col& c) {
  const size_t p = record * l.length + c.offset;
  return c.kind == 'n' ? std::to_string(ottest::GetLe(plain, p, c.width))
                       : TextOf(plain, p, c.width);
}

// Pattern bytes, with readable names and tails in some records, shorter ones keeping old
// bytes behind their NUL.
std::string PlainItems(const ItemLayout& l, uint32_t seed) {
  std::string s = ottest::PatternBytes(l.size, seed);
  for (size_t i = 0; i < l.records; i += 3) {
    PutBytes(s, i * l.length, Gbk("宝剑") + std::to_string(i % 100) + '\0');
    if (l.cols.back().kind == 't') PutBytes(s, i * l.length + l.cols.back().offset, "T\0");
  }
  return s;
}

struct ItemFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  ot::StringGrid& grid = state.ItemStrGrid;

  void Open(const std::string& plain, const ItemLayout& l) {
    const std::string path = dir.File("Item.bmd");
    ottest::WriteFile(path, Scrambled(plain, l));
    port.answers.push_back(path);
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  }
  ot::SaveOutcome SaveTo(const std::string& path) {
    port.answers.push_back(path);
    return ot::SaveBtnClick(state, port);
  }
  std::string SavePlain(const ItemLayout& l) {
    EXPECT_EQ(SaveTo(dir.File("out.bmd")), ot::SaveOutcome::Saved);
    return Scrambled(ottest::ReadFile(dir.File("out.bmd")), l);
  }
};

TEST_F(ItemFixture, StartStateShowsThe1xTitlesAndSavesNothing) {
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(grid.ColCount(), 46);
  EXPECT_EQ(grid.Cells(0, 0), Gbk("编号"));
  for (int c = 1; c <= 42; ++c) EXPECT_EQ(grid.Cells(c, 0), Gbk(L1x().cols[c - 1].title)) << c;
  for (int c = 43; c < 46; ++c) EXPECT_EQ(grid.Cells(c, 0), "") << c;
  EXPECT_EQ(state.ItemEdit, Gbk("支持版本 99B+,1.X"));
  EXPECT_FALSE(state.ItemModBtn.Enabled);

  state.ActivePageIndex = ot::kItemPage;
  EXPECT_EQ(SaveTo(dir.File("x.bmd")), ot::SaveOutcome::Refused);
  EXPECT_FALSE(ottest::FileExists(dir.File("x.bmd")));
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].text.find("尚未打开Item.bmd"), std::string::npos)
      << port.messages[0].text;
  EXPECT_EQ(port.messages[0].caption, ot::kSaveRefusedCaption);
}

TEST_F(ItemFixture, OpenFillsTheGridOfEveryLayout) {
  for (const ItemLayout* l : {&LKor(), &L1x(), &L97(), &LKor()}) {
    SCOPED_TRACE(l->name);
    const std::string plain = PlainItems(*l, 4);
    state.ItemModBtn.Enabled = true;
    Open(plain, *l);
    EXPECT_EQ(state.ActivePageIndex, ot::kItemPage);
    ASSERT_EQ(grid.RowCount(), static_cast<int>(l->records) + 1);
    ASSERT_EQ(grid.ColCount(), l->ColCount());
    EXPECT_EQ(grid.Cells(0, 0), Gbk(l->marker));
    for (int c = 1; c < l->ColCount(); ++c)
      EXPECT_EQ(grid.Cells(c, 0), Gbk(l->cols[c - 1].title)) << c;
    EXPECT_EQ(state.ItemEdit, Gbk(l->note));
    EXPECT_FALSE(state.ItemModBtn.Enabled);
    for (size_t i = 0; i < l->records; ++i) {
      const int r = static_cast<int>(i) + 1;
      const size_t number = l->rowModulus ? i % static_cast<size_t>(l->rowModulus) : i + 1;
      ASSERT_EQ(grid.Cells(0, r), std::to_string(number)) << "row " << r;
      for (int c = 1; c < l->ColCount(); ++c) {
        const Col& col = l->cols[static_cast<size_t>(c - 1)];
        if (col.kind == '-') continue;
        ASSERT_EQ(grid.Cells(c, r), Expected(plain, i, *l, col)) << "column " << c << " row " << r;
      }
    }
    EXPECT_EQ(grid.Cells(1, 4), Gbk("宝剑3"));
    const auto record = state.UnitOfPage(ot::kItemPage)->RecordBytes(state, 5);
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record->data()), record->size()),
              plain.substr(4 * l->length, l->length));
    std::vector<int> numbers;
    for (int c = 1; c < l->ColCount(); ++c)
      if (l->cols[static_cast<size_t>(c - 1)].kind == 'n') numbers.push_back(c);
    EXPECT_EQ(state.UnitOfPage(ot::kItemPage)->NumberColumns(state), numbers);
  }
}

TEST_F(ItemFixture, OpenClearsNoCellThatTheLayoutDoesNotFill) {
  Open(PlainItems(LKor(), 1), LKor());
  const std::string kept = grid.Cells(17, 300);
  grid.Cells(32, 1) = "mine";
  Open(PlainItems(L97(), 2), L97());
  EXPECT_EQ(grid.Cells(17, 300), kept);  // the Kor 1.02B layout's text stays
  EXPECT_EQ(grid.Cells(32, 1), "mine");
  for (int c : {17, 18, 32, 33}) EXPECT_EQ(grid.Cells(c, 0), Gbk(L97().cols[c - 1].title));
}

TEST_F(ItemFixture, UnchangedSaveGivesTheFileBackAndThe97LayoutIsNeverWritten) {
  for (const ItemLayout* l : {&L97(), &L1x(), &LKor()}) {
    for (uint32_t seed : {1u, 2u}) {
      SCOPED_TRACE(std::string(l->name) + " seed " + std::to_string(seed));
      const std::string plain = seed == 1 ? PlainItems(*l, 6) : ottest::PatternBytes(l->size, 8);
      Open(plain, *l);
      const std::string target = dir.File("target.bmd");
      ottest::WriteFile(target, "old");
      port.messages.clear();
      if (l->writable) {
        ASSERT_EQ(SaveTo(target), ot::SaveOutcome::Saved);
        EXPECT_EQ(ottest::ReadFile(target), Scrambled(plain, *l));  // check value included
        EXPECT_TRUE(port.messages.empty());
      } else {
        EXPECT_EQ(SaveTo(target), ot::SaveOutcome::Refused);
        EXPECT_EQ(ottest::ReadFile(target), "old");
        EXPECT_EQ(SaveTo(dir.File("new.bmd")), ot::SaveOutcome::Refused);
        EXPECT_FALSE(ottest::FileExists(dir.File("new.bmd")));
        ASSERT_EQ(port.messages.size(), 2u);
        EXPECT_NE(port.messages[0].text.find("不能保存"), std::string::npos)
            << port.messages[0].text;
      }
    }
  }
}

TEST_F(ItemFixture, EditsLandInTheirFieldsAndNowhereElse) {
  for (const ItemLayout* l : {&L1x(), &LKor()}) {
    SCOPED_TRACE(l->name);
    const std::string plain = PlainItems(*l, 12);
    Open(plain, *l);
    std::string expected = plain;
    const int last = static_cast<int>(l->records);
    // Row 7: every number column gets its own value.
    int firstByte = 0, firstWord = 0;
    for (int c = 1; c < l->ColCount(); ++c) {
      const Col& col = l->cols[static_cast<size_t>(c - 1)];
      if (col.kind != 'n') continue;
      if (col.width == 1 && !firstByte) firstByte = c;
      if (col.width == 2 && !firstWord) firstWord = c;
      grid.Cells(c, 7) = std::to_string(c * 5 + 1);
      PutLe(expected, 6 * l->length + col.offset, col.width, c * 5 + 1);
    }
    // The conversion and the low bytes: one case per row.
    struct NumberCase {
      bool word;
      const char* text;
      uint32_t stored;
    } numbers[] = {{false, "300", 44},   {false, "-1", 255},      {true, "65536", 0},
                   {true, "-1", 0xFFFF}, {true, "$1234", 0x1234}, {false, " 0x7f", 0x7F}};
    int row = 20;
    for (const auto& n : numbers) {
      const int c = n.word ? firstWord : firstByte;
      const Col& col = l->cols[static_cast<size_t>(c - 1)];
      grid.Cells(c, row) = n.text;
      PutLe(expected, static_cast<size_t>(row - 1) * l->length + col.offset, col.width, n.stored);
      ++row;
    }
    // Name and tail by the text field rule. Row 40 has 宝剑39 NUL, then old bytes.
    struct TextCase {
      int col;  // 1: name (30 bytes), else the tail (3 bytes)
      int row;
      std::string text;
      std::string written;  // the bytes written from the field's start
    };
    const int tail = l->ColCount() - 1;
    const size_t tailOffset = l->cols.back().offset;
    const TextCase texts[] = {
        {1, 40, "ab", std::string("ab\0", 3)},  // shortened: the old bytes stay behind
        {1, 41, std::string(30, 'n'), std::string(30, 'n')},  // no terminator
        {1, 42, std::string(29, 'o'), std::string(29, 'o') + '\0'},
        {1, 43, std::string(31, 'p'), std::string(30, 'p')},  // cut; byte 30 keeps its cell
        {tail, 40, "a", std::string("a\0", 2)},
        {tail, 41, "abc", "abc"},
        {tail, last, "wxyz", "wxy"},  // cut before the check value
    };
    for (const auto& t : texts) {
      grid.Cells(t.col, t.row) = t.text;
      PutBytes(expected, static_cast<size_t>(t.row - 1) * l->length + (t.col == 1 ? 0 : tailOffset),
               t.written);
    }
    const std::string saved = SavePlain(*l);
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(saved.substr(39 * l->length + 3, 27), plain.substr(39 * l->length + 3, 27));
    EXPECT_EQ(saved.substr(l->size - 4), plain.substr(l->size - 4));  // the check value
    // Opened again, the file shows what was stored.
    ottest::WriteFile(dir.File("again.bmd"), ottest::ReadFile(dir.File("out.bmd")));
    port.answers.push_back(dir.File("again.bmd"));
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
    EXPECT_EQ(grid.Cells(1, 40), "ab");
    EXPECT_EQ(grid.Cells(1, 41), std::string(30, 'n'));
    EXPECT_EQ(grid.Cells(1, 43), std::string(30, 'p'));
    EXPECT_EQ(grid.Cells(firstByte, 20), "44");
    EXPECT_EQ(grid.Cells(tail, last), "wxy");
  }
}

TEST_F(ItemFixture, BadNumberAnywhereStopsTheSaveBeforeAnyByteIsWritten) {
  for (const ItemLayout* l : {&L1x(), &LKor()}) {
    SCOPED_TRACE(l->name);
    Open(PlainItems(*l, 3), *l);
    const int last = static_cast<int>(l->records);
    const int lastNumber = l->ColCount() - 2;
    const std::string target = dir.File("target.bmd");
    ottest::WriteFile(target, "old");
    struct Case {
      int col, row;
      const char* text;
    } cases[] = {{lastNumber, last, "x"}, {2, 1, ""}, {10, 300 % last, "1 "}};
    for (const auto& c : cases) {
      const std::string before = grid.Cells(c.col, c.row);
      grid.Cells(c.col, c.row) = c.text;
      try {
        SaveTo(target);
        ADD_FAILURE() << "saved";
      } catch (const ot::ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + std::string(c.text) + "' is not a valid integer value");
        EXPECT_EQ(e.Col, c.col);
        EXPECT_EQ(e.Row, c.row);
        EXPECT_EQ(e.Page, ot::kItemPage);
      }
      EXPECT_EQ(ottest::ReadFile(target), "old");
      grid.Cells(c.col, c.row) = before;
    }
  }
}

TEST_F(ItemFixture, ExportWritesWhatSaveWrites) {
  for (const ItemLayout* l : {&L97(), &LKor()}) {
    SCOPED_TRACE(l->name);
    const std::string plain = PlainItems(*l, 5);
    Open(plain, *l);
    const std::string target = dir.File(std::string(l->name) + ".bmd");
    port.answers.push_back(target);
    const auto outcome = ot::ExportBtnClick(state, port);
    EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
    if (l->writable) {
      EXPECT_EQ(outcome, ot::SaveOutcome::Saved);
      EXPECT_EQ(ottest::ReadFile(target), Scrambled(plain, *l));
    } else {
      EXPECT_EQ(outcome, ot::SaveOutcome::Refused);
      EXPECT_FALSE(ottest::FileExists(target));
    }
  }
}

TEST_F(ItemFixture, AnImageOfAnotherSizeIsRefused) {
  // An image shorter than its layout (or a layout index out of range) is refused unread.
  struct Case {
    size_t size;
    int layout;
  } cases[] = {{38915, 1}, {32772, 1}, {688132, 3}, {688132, -1}};
  for (const auto& c : cases) {
    std::vector<uint8_t> image(c.size);
    EXPECT_THROW(state.UnitOfPage(ot::kItemPage)->Open(state, std::span<uint8_t>(image), c.layout),
                 std::invalid_argument);
  }
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(state.ItemEdit, Gbk("支持版本 99B+,1.X"));
}

}  // namespace
