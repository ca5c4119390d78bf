// The Export command: text lists of the gate and skill pages, the table file on the others.
#include <sys/stat.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "support/support.h"

namespace {

using ottest::Gbk;

const std::string kGateHeader =
    Gbk("//编号 标记 地图号 范围坐标X1 范围坐标Y1 范围坐标X2 范围坐标Y2 目标门号 方向 等级限制");

struct ExportFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;

  void Open(const std::string& name, const std::string& bytes) {
    ottest::WriteFile(dir.File(name), bytes);
    port.answers.push_back(dir.File(name));
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened) << name;
  }
  // Runs Export into a fresh file and returns its bytes.
  std::string Export(const std::string& name = "list.txt") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
    return ottest::FileExists(dir.File(name)) ? ottest::ReadFile(dir.File(name)) : "";
  }
};

// Gate record k, byte j: (k * 5 + j * 3) mod 256.
std::string PlainGates(int records) {
  std::string s(static_cast<size_t>(records) * 9, '\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>((i / 9 * 5 + i % 9 * 3) % 256);
  return s;
}

TEST_F(ExportFixture, GateListsHaveTheHeaderAndOneLinePerRecordOfTheLayout) {
  struct Case {
    int records;  // 0: nothing opened since start
    std::string second;
  } cases[] = {{0, "//gate.bmd 1.X"}, {100, "//gate.bmd 97->99B+"}, {256, "//gate.bmd 1.X"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.records);
    std::string expected = kGateHeader + "\r\n" + c.second + "\r\n";
    if (c.records) {
      const std::string plain = PlainGates(c.records);
      Open("Gate.bmd", ottest::Scramble(plain, 0, plain.size(), 9));
      state.GateStrGrid.Cells(7, 2) = Gbk("改 过");  // listed as the grid holds it
      for (int k = 0; k < c.records; ++k) {
        expected += std::to_string(k);
        for (int j = 0; j < 9; ++j) {
          expected += ' ';
          expected += k == 1 && j == 6
                          ? Gbk("改 过")
                          : std::to_string(static_cast<uint8_t>(plain[static_cast<size_t>(k * 9 + j)]));
        }
        expected += "\r\n";
      }
    } else {
      state.ActivePageIndex = ot::kGatePage;  // the start grid of 50 rows
      for (int k = 0; k < 256; ++k) expected += "         \r\n";
    }
    EXPECT_EQ(Export(), expected);
    EXPECT_EQ(port.dialogs.back(), ot::FileDialog::TextList);
    EXPECT_EQ(state.MemoTxt.size(), static_cast<size_t>(c.records ? c.records : 256) + 2);
  }
}

TEST_F(ExportFixture, CancelledDialogsWriteNothing) {
  struct Case {
    const char* name;
    std::string file;
    std::string bytes;
    ot::FileDialog dialog;
  } cases[] = {
      {"gate list", "Gate.bmd", ottest::Scramble(PlainGates(100), 0, 900, 9),
       ot::FileDialog::TextList},
      {"message file", "Message.wtf", std::string(28, 'h') + std::string("\x01\x02\x00\x00", 4),
       ot::FileDialog::Save},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.file, c.bytes);
    port.dialogs.clear();
    port.answers = {std::nullopt};
    EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Cancelled);
    EXPECT_EQ(port.dialogs, std::vector<ot::FileDialog>{c.dialog});
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{c.file});
    std::remove(dir.File(c.file).c_str());
  }
}

TEST_F(ExportFixture, ListThatCannotBeWrittenReportsCannotCreateFile) {
  Open("Gate.bmd", ottest::Scramble(PlainGates(100), 0, 900, 9));
  const std::string readOnly = dir.File("readonly.txt");
  ottest::WriteFile(readOnly, "kept");
  chmod(readOnly.c_str(), 0444);
  struct Case {
    std::string path;
    std::string content;  // afterwards; empty: no file
  } cases[] = {{readOnly, "kept"}, {dir.File("no such folder/list.txt"), ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    port.answers.push_back(c.path);
    try {
      ot::ExportBtnClick(state, port);
      ADD_FAILURE() << "exported";
    } catch (const ot::FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + c.path);
    }
    if (c.content.empty())
      EXPECT_FALSE(ottest::FileExists(c.path));
    else
      EXPECT_EQ(ottest::ReadFile(c.path), c.content);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"Gate.bmd", "readonly.txt"}));
}

TEST_F(ExportFixture, AboutPageDoesNothing) {
  Open("Gate.bmd", ottest::Scramble(PlainGates(100), 0, 900, 9));
  state.ActivePageIndex = ot::kAboutPage;
  port.dialogs.clear();
  port.answers.push_back(dir.File("list.txt"));
  EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::NoTable);
  EXPECT_TRUE(port.dialogs.empty());
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Gate.bmd"});
  EXPECT_EQ(state.MemoTxt, (std::vector<std::string>{"Memo", "Txt"}));
}

// Skill record i of a plain table: name "S<i>", required level i mod 256, mana cost 258.
std::string PlainSkills(int recordLength) {
  std::string s(static_cast<size_t>(recordLength) * 256 + 4, '\0');
  for (int i = 0; i < 256; ++i) {
    const size_t at = static_cast<size_t>(recordLength * i);
    const std::string name = "S" + std::to_string(i);
    s.replace(at, name.size(), name);
    s[at + 32] = static_cast<char>(i);
    s[at + 34] = 2;
    s[at + 35] = 1;
  }
  return s;
}

TEST_F(ExportFixture, SkillListsOfBothLayouts) {
  struct Case {
    int recordLength;
    int fields;  // per row line
    std::string header;
    std::string second;
  } cases[] = {
      {52, 15,
       Gbk("编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
           "unknown 所需魔力  unknown 技能属性 unknown"),
       "//skill.bmd Ver:99B+"},
      {60, 23,
       Gbk("编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown unknown "
           "unknown 所需魔力  unknown 技能属性 unknown unknown unknown unknown unknown 法师 战士 "
           "精灵 魔剑士 unknown"),
       "//skill.bmd Ver:1.x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fields);
    const std::string plain = PlainSkills(c.recordLength);
    Open("Skill.bmd", ottest::Scramble(plain, 0, plain.size(), static_cast<size_t>(c.recordLength)));
    state.SkillStrGrid.Cells(6, 3) = "edited";
    std::string expected = c.header + "\r\n" + c.second + "\r\n";
    for (int i = 0; i < 256; ++i) {
      expected += " " + std::to_string(i) + " S" + std::to_string(i) + " " + std::to_string(i) + " 0 258";
      for (int f = 5; f < c.fields; ++f) expected += i == 2 && f == 6 ? " edited" : " 0";
      expected += "\r\n";
    }
    EXPECT_EQ(Export(), expected);
    EXPECT_EQ(port.dialogs.back(), ot::FileDialog::TextList);
  }
}

TEST_F(ExportFixture, SkillPageBeforeAnySkillTableDoesNothing) {
  Open("Gate.bmd", ottest::Scramble(PlainGates(100), 0, 900, 9));
  state.ActivePageIndex = ot::kSkillPage;
  port.dialogs.clear();
  port.answers.push_back(dir.File("list.txt"));
  EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::NoTable);
  EXPECT_TRUE(port.dialogs.empty());
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Gate.bmd"});
}

// What a Save or an Export left behind: its outcome or error, the file, messages, dialogs and
// the edit boxes (some save steps leave a text in one).
struct Effect {
  std::string outcome;
  std::optional<std::string> file;
  std::vector<std::string> messages;
  std::vector<ot::FileDialog> dialogs;
  std::vector<std::string> boxes;
  bool operator==(const Effect&) const = default;
};

Effect RunCommand(ot::SaveOutcome (*command)(ot::TEditorState&, ot::UserPort&), ot::TEditorState& state,
                  const std::string& target) {
  ottest::ScriptedPort port;
  port.answers.push_back(target);
  Effect e;
  try {
    e.outcome = std::to_string(static_cast<int>(command(state, port)));
  } catch (const ot::OtError& error) {
    e.outcome = std::string("error: ") + error.what();
  }
  if (ottest::FileExists(target)) e.file = ottest::ReadFile(target);
  for (const auto& m : port.messages) e.messages.push_back(m.caption + ": " + m.text);
  e.dialogs = port.dialogs;
  for (const char* box : {"DialogEdit", "FilterCrcOldEdit", "FilterCrcNewEdit", "ItemEdit",
                          "MovereqEdit", "SkillEdit", "SlideEdit", "TextEdit", "WtfSnEdit"})
    e.boxes.push_back(*state.EditBox(box));
  return e;
}

// On every table page but the gate and skill pages Export does what Save does: the same
// dialog, the same bytes, the same refusals and errors, the same texts left in edit boxes.
TEST_F(ExportFixture, TableFilePagesExportWhatSaveDoes) {
  struct Case {
    int page;
    const char* file;  // nullptr: nothing opened since start
    std::string bytes;
  } cases[] = {
      {ot::kDialogPage, "Dialog.bmd", ottest::PatternBytes(204800, 1)},
      {ot::kDialogPage, nullptr, ""},
      {ot::kFilterPage, "Filter.bmd", ottest::PatternBytes(20004, 2)},
      {ot::kItemPage, "Item.bmd", ottest::PatternBytes(32772, 6)},  // 97: nothing is written
      {ot::kItemPage, "Item.bmd", ottest::PatternBytes(38916, 7)},
      {ot::kItemPage, "Item.bmd", ottest::PatternBytes(688132, 8)},
      {ot::kItemPage, nullptr, ""},
      {ot::kMovereqPage, "Movereq.bmd", ottest::PatternBytes(2884, 9)},
      {ot::kMovereqPage, nullptr, ""},
      {ot::kFilterPage, nullptr, ""},
      {ot::kSlidePage, "Slide.bmd", ottest::PatternBytes(41008, 3)},
      {ot::kSlidePage, nullptr, ""},
      {ot::kTextPage, "Text.bmd", ottest::PatternBytes(450000, 4)},
      {ot::kTextPage, "Text.bmd", ottest::PatternBytes(614400, 5)},
      {ot::kTextPage, nullptr, ""},
      {ot::kMessagePage, "Message.wtf",
       std::string(28, 'h') + std::string("\x01\x02\x03\x09", 4) + ottest::MessageKeyed("abc")},
      {ot::kMessagePage, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + (c.file ? " " + std::to_string(c.bytes.size()) : " start"));
    ot::TEditorState fresh;
    if (c.file) {
      ottest::WriteFile(dir.File(c.file), c.bytes);
      ottest::ScriptedPort opener;
      opener.answers.push_back(dir.File(c.file));
      ASSERT_EQ(ot::OpenBtnClick(fresh, opener), ot::OpenOutcome::Opened);
    }
    fresh.ActivePageIndex = c.page;
    const std::string exported = dir.File("exported"), saved = dir.File("saved");
    std::remove(exported.c_str());
    std::remove(saved.c_str());
    const Effect byExport = RunCommand(ot::ExportBtnClick, fresh, exported);
    const Effect bySave = RunCommand(ot::SaveBtnClick, fresh, saved);
    EXPECT_EQ(byExport, bySave) << byExport.outcome << " / " << bySave.outcome;
    EXPECT_EQ(byExport.dialogs, std::vector<ot::FileDialog>{ot::FileDialog::Save});
    if (c.file && byExport.file) {
      EXPECT_EQ(byExport.file->size(), c.bytes.size());
    }
  }
}

}  // namespace
