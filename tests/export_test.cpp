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

// On every table page but the gate and skill pages Export writes what Save writes, through
// the same dialog.
TEST_F(ExportFixture, TableFilePagesExportWhatSaveWrites) {
  struct Case {
    const char* file;
    std::string bytes;
    int page;
  } cases[] = {
      {"Message.wtf",
       std::string(28, 'h') + std::string("\x01\x02\x03\x09", 4) + ottest::MessageKeyed("abc"),
       ot::kMessagePage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Open(c.file, c.bytes);
    ASSERT_EQ(state.ActivePageIndex, c.page);
    port.dialogs.clear();
    const std::string exported = Export("exported");
    port.answers.push_back(dir.File("saved"));
    ASSERT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    EXPECT_EQ(exported, ottest::ReadFile(dir.File("saved")));
    EXPECT_FALSE(exported.empty());
    EXPECT_EQ(port.dialogs, (std::vector<ot::FileDialog>{ot::FileDialog::Save, ot::FileDialog::Save}));
  }
}

}  // namespace
