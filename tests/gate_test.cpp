#include "formats/gate.h"

#include <gtest/gtest.h>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "support/support.h"

namespace {

using ottest::Gbk;

// A plain gate table of n records whose byte j of record k is (k * 7 + j) mod 256.
std::string PlainGates(int records) {
  std::string s(static_cast<size_t>(records) * 9, '\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>((i / 9 * 7 + i % 9) % 256);
  return s;
}

struct GateFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;

  void Open(const std::string& plain, const std::string& name = "Gate.bmd") {
    const std::string path = dir.File(name);
    ottest::WriteFile(path, ottest::Scramble(plain, 0, plain.size(), 9));
    port.answers.push_back(path);
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  }
  std::string Save(const std::string& name = "out.bmd") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    return ottest::ReadFile(dir.File(name));
  }
};

TEST_F(GateFixture, StartState) {
  EXPECT_EQ(state.GateStrGrid.RowCount(), 50);
  EXPECT_EQ(state.GateStrGrid.ColCount(), 10);
  EXPECT_EQ(state.GateStrGrid.Cells(0, 0), Gbk("编号"));
  EXPECT_EQ(state.GateStrGrid.Cells(1, 0), Gbk("标记"));
  EXPECT_EQ(state.GateStrGrid.Cells(9, 0), Gbk("等级限制"));
  EXPECT_EQ(state.GateEdit, Gbk("支持版本:97->1.X Gate.bmd"));
  EXPECT_FALSE(state.GateModBtn.Enabled);
  EXPECT_EQ(state.ActivePageIndex, ot::kAboutPage);
}

TEST_F(GateFixture, BothLayoutsOpenAndSaveBackByteForByte) {
  struct Case {
    int records;
    const char* note;
  } cases[] = {{100, "//Ver:97->99B+ gate.bmd"}, {256, "//Ver:1.X gate.bmd"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.records);
    const std::string plain = PlainGates(c.records);
    Open(plain);
    const auto& g = state.GateStrGrid;
    EXPECT_EQ(state.ActivePageIndex, ot::kGatePage);
    EXPECT_EQ(g.RowCount(), c.records + 1);
    EXPECT_EQ(state.GateEdit, Gbk(c.note));
    EXPECT_EQ(g.Cells(0, 1), "0");
    EXPECT_EQ(g.Cells(0, c.records), std::to_string(c.records - 1));
    // Record 3, byte 4: 3 * 7 + 4 = 25.
    EXPECT_EQ(g.Cells(5, 4), "25");
    EXPECT_EQ(g.Cells(0, 0), Gbk("编号"));  // the titles stay
    const std::string saved = Save();
    EXPECT_EQ(saved, ottest::Scramble(plain, 0, plain.size(), 9));
  }
}

TEST_F(GateFixture, UnsignedBytesShowWithoutSignOrLeadingZeros) {
  std::string plain(900, '\0');
  plain[0] = static_cast<char>(255);
  plain[1] = static_cast<char>(128);
  plain[2] = 9;
  Open(plain);
  EXPECT_EQ(state.GateStrGrid.Cells(1, 1), "255");
  EXPECT_EQ(state.GateStrGrid.Cells(2, 1), "128");
  EXPECT_EQ(state.GateStrGrid.Cells(3, 1), "9");
  EXPECT_EQ(state.GateStrGrid.Cells(4, 1), "0");
}

TEST_F(GateFixture, EditedCellsAreStoredByTheConversionAndTheLowByte) {
  Open(std::string(900, '\0'));
  struct Case {
    const char* text;
    uint8_t stored;
  } cases[] = {{"256", 0}, {"-1", 255}, {"$FF", 255}, {"0xff", 255}, {" 7", 7}, {"300", 44}};
  int col = 1;
  for (const auto& c : cases) state.GateStrGrid.Cells(col++, 1) = c.text;
  const std::string saved = Save();
  const std::string plain = ottest::Scramble(saved, 0, saved.size(), 9);
  col = 0;
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<uint8_t>(plain[static_cast<size_t>(col++)]), c.stored) << c.text;
  // Opened again, the file shows the stored values.
  ottest::WriteFile(dir.File("again.bmd"), saved);
  port.answers.push_back(dir.File("again.bmd"));
  ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  EXPECT_EQ(state.GateStrGrid.Cells(1, 1), "0");
  EXPECT_EQ(state.GateStrGrid.Cells(2, 1), "255");
  EXPECT_EQ(state.GateStrGrid.Cells(6, 1), "44");
}

TEST_F(GateFixture, BadCellStopsTheSaveAndLeavesTheTargetUntouched) {
  Open(PlainGates(100));
  const std::string target = dir.File("target.bmd");
  ottest::WriteFile(target, "old content");
  for (const char* bad : {"7 ", "", "abc", "2147483648"}) {
    state.GateStrGrid.Cells(4, 60) = bad;
    port.answers.push_back(target);
    try {
      ot::SaveBtnClick(state, port);
      ADD_FAILURE() << "saved with '" << bad << "'";
    } catch (const ot::ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
      EXPECT_EQ(e.Col, 4);
      EXPECT_EQ(e.Row, 60);
      EXPECT_EQ(e.Page, ot::kGatePage);
    }
    EXPECT_EQ(ottest::ReadFile(target), "old content");
  }
  // A new target is not created by a failing save.
  port.answers.push_back(dir.File("new.bmd"));
  EXPECT_THROW(ot::SaveBtnClick(state, port), ot::ConversionError);
  EXPECT_FALSE(ottest::FileExists(dir.File("new.bmd")));
}

TEST_F(GateFixture, LayoutFollowsTheRowCountOfTheLastOpen) {
  Open(PlainGates(256));
  const std::string small = PlainGates(100);
  Open(small);
  EXPECT_EQ(state.GateStrGrid.RowCount(), 101);
  EXPECT_EQ(Save().size(), 900u);
}

TEST_F(GateFixture, SaveOverALongerFileWritesExactlyTheLayout) {
  const std::string plain = PlainGates(100);
  Open(plain);
  ottest::WriteFile(dir.File("big.bmd"), std::string(2304, 'x'));
  EXPECT_EQ(Save("big.bmd"), ottest::Scramble(plain, 0, 900, 9));
}

TEST_F(GateFixture, SaveBeforeAnyOpenStopsAtTheFirstEmptyCell) {
  state.ActivePageIndex = ot::kGatePage;
  port.answers.push_back(dir.File("x.bmd"));
  try {
    ot::SaveBtnClick(state, port);
    ADD_FAILURE();
  } catch (const ot::ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'' is not a valid integer value");
    EXPECT_EQ(e.Col, 1);
    EXPECT_EQ(e.Row, 1);
  }
  EXPECT_FALSE(ottest::FileExists(dir.File("x.bmd")));
}

TEST_F(GateFixture, RecordImageStaysPlainSoSavesRepeat) {
  Open(PlainGates(256));
  EXPECT_EQ(Save("a.bmd"), Save("b.bmd"));
}

TEST_F(GateFixture, GateListHasHeaderAndOneLinePerRecord) {
  struct Case {
    int records;  // 0: nothing opened since start
    const char* second;
    size_t lines;
  } cases[] = {{100, "//gate.bmd 97->99B+", 102}, {256, "//gate.bmd 1.X", 258}};
  for (const auto& c : cases) {
    Open(PlainGates(c.records));
    state.GateStrGrid.Cells(2, 1) = "edited";
    port.answers.push_back(dir.File("gates"));
    ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
    EXPECT_EQ(port.dialogs.back(), ot::FileDialog::TextList);
    const std::string list = ottest::ReadFile(dir.File("gates"));
    EXPECT_EQ(list.substr(0, list.find("\r\n")),
              Gbk("//编号 标记 地图号 范围坐标X1 范围坐标Y1 范围坐标X2 范围坐标Y2 目标门号 方向 等级限制"));
    size_t count = 0;
    for (size_t p = 0; (p = list.find("\r\n", p)) != std::string::npos; p += 2) ++count;
    EXPECT_EQ(count, c.lines);
    EXPECT_NE(list.find("\r\n" + std::string(c.second) + "\r\n0 0 edited 2 3 4 5 6 7 8\r\n"),
              std::string::npos);
    EXPECT_EQ(list.substr(list.size() - 2), "\r\n");
  }
}

TEST_F(GateFixture, GateListBeforeAnyOpenHas256EmptyLines) {
  state.ActivePageIndex = ot::kGatePage;
  port.answers.push_back(dir.File("gates.txt"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  const std::string list = ottest::ReadFile(dir.File("gates.txt"));
  std::string expected = Gbk("//编号 标记 地图号 范围坐标X1 范围坐标Y1 范围坐标X2 范围坐标Y2 目标门号 方向 等级限制") +
                         "\r\n//gate.bmd 1.X\r\n";
  for (int r = 0; r < 256; ++r) expected += "         \r\n";
  EXPECT_EQ(list, expected);
}

}  // namespace

namespace {

TEST(GateTable, OpenStepRefusesAnImageOfAnotherSize) {
  ot::TEditorState state;
  std::vector<uint8_t> image(901);
  ot::TableUnit* unit = state.UnitOfPage(ot::kGatePage);
  EXPECT_THROW(unit->Open(state, image, 0), std::invalid_argument);
  EXPECT_THROW(unit->Open(state, std::span<uint8_t>(image).first(900), 1), std::invalid_argument);
  EXPECT_EQ(state.GateStrGrid.RowCount(), 50);
}

}  // namespace
