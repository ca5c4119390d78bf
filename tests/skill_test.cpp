#include "formats/skill.h"

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

// The fields of columns 2 to 22 as the file format defines them: offset and width.
struct Field {
  int col;
  size_t offset;
  int width;
};
constexpr Field kFields[] = {
    {2, 32, 1},  {3, 33, 1},  {4, 34, 2},  {5, 36, 2},  {6, 38, 2},  {7, 40, 1},  {8, 41, 1},
    {9, 42, 1},  {10, 43, 1}, {11, 44, 2}, {12, 46, 2}, {13, 48, 2}, {14, 50, 2}, {15, 52, 1},
    {16, 53, 1}, {17, 54, 1}, {18, 55, 1}, {19, 56, 1}, {20, 57, 1}, {21, 58, 1}, {22, 59, 1}};

struct SkillLayout {
  const char* name;
  size_t size;
  size_t length;
  int lastCol;
  const char* marker;
  const char* note;
};
const SkillLayout k99B{"99B+", 13316, 52, 14, "编号       Ver:99B+", "//Ver:99B+ Skill.bmd"};
const SkillLayout k1x{"1.x", 15364, 60, 22, "编号       Ver:1.x", "//Ver:1.x Skill.bmd"};

const char* const kTitles[23] = {
    "编号",    "魔法名称", "需求等级", "基本攻击力", "消耗魔法值",
    "消耗AG",  "有效距离", "unknown",  "unknown",    "unknown",
    "unknown", "所需魔力", "unknown",  "技能属性",   "98B+数据到这结束,后面为1.X数据",
    "unknown", "unknown",  "unknown",  "法师",       "战士",
    "精灵",    "魔剑士",   "unknown"};

std::string Scrambled(const std::string& plain, const SkillLayout& l) {
  return ottest::Scramble(plain, 0, plain.size(), l.length);
}

// Pattern bytes for every field and the check value; names of every kind: empty, short with
// old bytes behind the NUL, and (record 255) 32 bytes without a terminator.
std::string PlainSkills(const SkillLayout& l, uint32_t seed) {
  std::string s = ottest::PatternBytes(l.size, seed);
  for (size_t i = 0; i < 255; ++i) {
    const std::string name = i % 5 == 0 ? "" : Gbk("火球") + std::to_string(i);
    PutBytes(s, i * l.length, name + '\0');
  }
  PutBytes(s, 255 * l.length, std::string(32, 'N'));
  return s;
}

struct SkillFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  ot::StringGrid& grid = state.SkillStrGrid;

  void Open(const std::string& plain, const SkillLayout& l) {
    const std::string path = dir.File("Skill.bmd");
    ottest::WriteFile(path, Scrambled(plain, l));
    port.answers.push_back(path);
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  }
  std::string SavePlain(const SkillLayout& l, const std::string& name = "out.bmd") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    return Scrambled(ottest::ReadFile(dir.File(name)), l);
  }
};

TEST_F(SkillFixture, StartState) {
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(grid.ColCount(), 23);
  for (int c = 0; c < 23; ++c) EXPECT_EQ(grid.Cells(c, 0), Gbk(kTitles[c])) << c;
  EXPECT_EQ(state.SkillEdit, Gbk("支持版本 99B+,1.X"));
  EXPECT_FALSE(state.SkillModBtn.Enabled);
}

TEST_F(SkillFixture, OpenFillsTheGridOfEitherLayout) {
  // Each layout opened after the other: the 99B+ open empties columns 15 to 22.
  for (const SkillLayout* l : {&k1x, &k99B, &k1x}) {
    SCOPED_TRACE(l->name);
    const std::string plain = PlainSkills(*l, 3);
    Open(plain, *l);
    EXPECT_EQ(state.ActivePageIndex, ot::kSkillPage);
    EXPECT_EQ(grid.RowCount(), 257);
    EXPECT_EQ(grid.ColCount(), 23);
    EXPECT_EQ(grid.Cells(0, 0), Gbk(l->marker));
    EXPECT_EQ(state.SkillEdit, Gbk(l->note));
    for (int c = 1; c < 23; ++c) EXPECT_EQ(grid.Cells(c, 0), Gbk(kTitles[c]));
    for (size_t i = 0; i < 256; ++i) {
      const int r = static_cast<int>(i) + 1;
      ASSERT_EQ(grid.Cells(0, r), std::to_string(i));
      const size_t p = i * l->length;
      if (i < 255) {
        EXPECT_EQ(grid.Cells(1, r), i % 5 == 0 ? "" : Gbk("火球") + std::to_string(i));
      }
      for (const Field& f : kFields) {
        const std::string expected =
            f.col <= l->lastCol ? std::to_string(ottest::GetLe(plain, p + f.offset, f.width)) : "";
        ASSERT_EQ(grid.Cells(f.col, r), expected) << "column " << f.col << " row " << r;
      }
    }
    EXPECT_EQ(grid.Cells(1, 256), std::string(32, 'N'));
    const auto record = state.UnitOfPage(ot::kSkillPage)->RecordBytes(state, 256);
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record->data()), record->size()),
              plain.substr(255 * l->length, l->length));
  }
}

TEST_F(SkillFixture, UnchangedSaveGivesTheFileBack) {
  for (const SkillLayout* l : {&k99B, &k1x}) {
    for (uint32_t seed : {1u, 2u}) {
      SCOPED_TRACE(l->name);
      const std::string plain = seed == 1 ? PlainSkills(*l, 9) : ottest::PatternBytes(l->size, 11);
      Open(plain, *l);
      EXPECT_EQ(SavePlain(*l), plain);  // check value and bytes behind names included
      EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), Scrambled(plain, *l));
      EXPECT_EQ(state.SkillEdit, Gbk("目前只能保存数据,效验值未计算写入."));
    }
  }
}

TEST_F(SkillFixture, EditsLandInTheirFieldsAndNowhereElse) {
  for (const SkillLayout* l : {&k99B, &k1x}) {
    SCOPED_TRACE(l->name);
    const std::string plain = PlainSkills(*l, 5);
    Open(plain, *l);
    std::string expected = plain;
    // Row 10 (record 9): every number column gets its own value.
    for (const Field& f : kFields) {
      if (f.col > l->lastCol) break;
      const int value = 1000 + f.col;
      grid.Cells(f.col, 10) = std::to_string(value);
      PutLe(expected, 9 * l->length + f.offset, f.width, value);
    }
    // The conversion and the low bytes, in row 20.
    struct NumberCase {
      int col;  // 2: byte, 4: word
      const char* text;
      uint32_t stored;
    } numbers[] = {{2, "300", 44},       {3, "-1", 255}, {4, "65536", 0},  {5, "-1", 0xFFFF},
                   {6, "$1234", 0x1234}, {7, "256", 0},  {11, " 0x10", 16}};
    for (const auto& n : numbers) {
      grid.Cells(n.col, 20) = n.text;
      const Field& f = kFields[n.col - 2];
      PutLe(expected, 19 * l->length + f.offset, f.width, n.stored);
    }
    // Names by the text field rule.
    const std::string oldName = plain.substr(30 * l->length, 32);  // 火球30 NUL, then pattern
    grid.Cells(1, 31) = "ab";
    PutBytes(expected, 30 * l->length, std::string("ab\0", 3));
    grid.Cells(1, 32) = std::string(32, 'L');
    PutBytes(expected, 31 * l->length, std::string(32, 'L'));
    grid.Cells(1, 33) = std::string(45, 'M');  // cut; the level behind keeps its own cell
    PutBytes(expected, 32 * l->length, std::string(32, 'M'));
    grid.Cells(1, 34) = std::string(31, 'S');
    PutBytes(expected, 33 * l->length, std::string(31, 'S') + '\0');
    // In the 99B+ layout columns 15 to 22 are never read: text in them does not matter.
    if (l == &k99B) grid.Cells(17, 40) = "not read";
    const std::string saved = SavePlain(*l);
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(saved.substr(30 * l->length + 3, 29), oldName.substr(3));
    EXPECT_EQ(saved.substr(l->size - 4), plain.substr(l->size - 4));  // the check value
  }
}

TEST_F(SkillFixture, NamesOf99BPassThroughTheTextBox) {
  state.TextEdit = "before";
  Open(PlainSkills(k1x, 1), k1x);
  SavePlain(k1x);
  EXPECT_EQ(state.TextEdit, "before");  // the 1.x names go straight to the record
  Open(PlainSkills(k99B, 1), k99B);
  grid.Cells(1, 256) = Gbk("最后一个");
  SavePlain(k99B);
  EXPECT_EQ(state.TextEdit, Gbk("最后一个"));
}

TEST_F(SkillFixture, NoticeAfterEverySaveThatWasNotStoppedByABadCell) {
  // Nothing opened: nothing written, no file created, a message says why, and the notice.
  state.ActivePageIndex = ot::kSkillPage;
  port.answers.push_back(dir.File("none.bmd"));
  EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Refused);
  EXPECT_FALSE(ottest::FileExists(dir.File("none.bmd")));
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].text.find("Skill.bmd"), std::string::npos);
  EXPECT_EQ(state.SkillEdit, Gbk("目前只能保存数据,效验值未计算写入."));

  // A bad cell: the Save stops there, nothing is written, the box keeps the Open's note.
  Open(PlainSkills(k1x, 2), k1x);
  const std::string target = dir.File("target.bmd");
  ottest::WriteFile(target, "old");
  for (const char* bad : {"", "x", "5 "}) {
    grid.Cells(22, 256) = bad;
    port.answers.push_back(target);
    try {
      ot::SaveBtnClick(state, port);
      ADD_FAILURE() << "saved";
    } catch (const ot::ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
      EXPECT_EQ(e.Col, 22);
      EXPECT_EQ(e.Row, 256);
    }
    EXPECT_EQ(ottest::ReadFile(target), "old");
    EXPECT_EQ(state.SkillEdit, Gbk("//Ver:1.x Skill.bmd"));
  }
}

TEST_F(SkillFixture, SkillListOfEitherLayout) {
  struct Case {
    const SkillLayout* layout;
    const char* header;
    const char* version;
  } cases[] = {
      {&k99B,
       "编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
       "unknown 所需魔力  unknown 技能属性 unknown",
       "//skill.bmd Ver:99B+"},
      {&k1x,
       "编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
       "unknown 所需魔力  unknown 技能属性 unknown unknown unknown unknown unknown 法师 战士 精灵 "
       "魔剑士 unknown",
       "//skill.bmd Ver:1.x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout->name);
    std::string plain(c.layout->size, '\0');
    PutBytes(plain, 0, Gbk("治疗") + '\0');
    PutLe(plain, 32, 1, 7);    // column 2 of row 1
    PutLe(plain, 50, 2, 513);  // column 14
    Open(plain, *c.layout);
    grid.Cells(3, 2) = "edited";
    port.answers.push_back(dir.File("skills"));
    ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
    EXPECT_EQ(port.dialogs.back(), ot::FileDialog::TextList);
    std::string expected = Gbk(c.header) + "\r\n" + c.version + "\r\n";
    const int fields = c.layout->lastCol + 1;
    for (int r = 1; r <= 256; ++r) {
      std::string line;
      if (r == 1) {
        line = " 0 " + Gbk("治疗") + " 7 0 0 0 0 0 0 0 0 0 0 0 513";
        if (fields == 23) line += " 0 0 0 0 0 0 0 0";
      } else {
        line = " " + std::to_string(r - 1) + " ";  // no name
        for (int c2 = 2; c2 < fields; ++c2) line += c2 == 3 && r == 2 ? " edited" : " 0";
      }
      expected += line + "\r\n";
    }
    EXPECT_EQ(ottest::ReadFile(dir.File("skills")), expected);
    EXPECT_EQ(state.MemoTxt.size(), 258u);
  }
}

TEST_F(SkillFixture, ExportBeforeAnyOpenDoesNothing) {
  state.ActivePageIndex = ot::kSkillPage;
  port.answers.push_back(dir.File("skills.txt"));
  EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::NoTable);
  EXPECT_TRUE(port.dialogs.empty());
  EXPECT_TRUE(port.messages.empty());
  EXPECT_FALSE(ottest::FileExists(dir.File("skills.txt")));
  EXPECT_EQ(state.SkillEdit, Gbk("支持版本 99B+,1.X"));
}

TEST_F(SkillFixture, AnImageOfAnotherSizeIsRefused) {
  std::vector<uint8_t> image(13316);
  EXPECT_THROW(state.UnitOfPage(ot::kSkillPage)->Open(state, std::span<uint8_t>(image), 1),
               std::invalid_argument);
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(state.SkillEdit, Gbk("支持版本 99B+,1.X"));
}

}  // namespace
