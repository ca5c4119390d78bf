#include "formats/movereq.h"

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

constexpr size_t kSize = 2884;
constexpr size_t kRecords = 36;

size_t Rec(size_t k) { return 4 + 80 * k; }

std::string Scrambled(const std::string& plain) { return ottest::Scramble(plain, 4, 2880, 80); }

// Serial numbers with zeros and negatives, map names with old bytes behind their NUL, the
// last record's names filling their fields without a terminator.
std::string PlainMovereq(int32_t count) {
  std::string s(kSize, '\0');
  PutLe(s, 0, 4, count);
  for (size_t k = 0; k < kRecords; ++k) {
    const size_t p = Rec(k);
    const int64_t i = static_cast<int64_t>(k);
    PutLe(s, p, 4, k % 3 == 0 ? 0 : i - 20);
    PutBytes(s, p + 4, std::string(32, 'C'));
    PutBytes(s, p + 36, std::string(32, 'E'));
    const std::string chinese = k % 4 == 0 ? "" : Gbk("地图") + std::to_string(k);
    PutBytes(s, p + 4, chinese + '\0');
    PutBytes(s, p + 36, "Map" + std::to_string(k) + '\0');
    PutLe(s, p + 68, 4, i * 10);
    PutLe(s, p + 72, 4, -i * 1000);
    PutLe(s, p + 76, 4, i * 7 - 100);
  }
  PutBytes(s, Rec(35) + 4, Gbk("一二三四五六七八九十一二三四五六"));  // 32 bytes
  PutBytes(s, Rec(35) + 36, std::string(32, 'z'));
  return s;
}

// Rows in use by the values of the plain bytes: a serial number other than 0 (its text is
// then not "0") or a Chinese name that is not empty.
int32_t RowsInUse(const std::string& plain) {
  int32_t n = 0;
  for (size_t k = 0; k < kRecords; ++k)
    if (ottest::GetLe(plain, Rec(k), 4) != 0 || plain[Rec(k) + 4] != '\0') ++n;
  return n;
}

struct MovereqFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  ot::StringGrid& grid = state.MovereqStrGrid;

  void Open(const std::string& plain) {
    const std::string path = dir.File("Movereq.bmd");
    ottest::WriteFile(path, Scrambled(plain));
    port.answers.push_back(path);
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  }
  // The plain bytes of the saved file.
  std::string SavePlain(const std::string& name = "out.bmd") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    return Scrambled(ottest::ReadFile(dir.File(name)));
  }
};

TEST_F(MovereqFixture, StartState) {
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(grid.ColCount(), 7);
  const char* titles[7] = {"编号",     "序号",     "中文地图名", "英文地图名",
                           "所需等级", "所需费用", "Gate编号"};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(grid.Cells(c, 0), Gbk(titles[c])) << c;
  EXPECT_EQ(state.MovereqEdit, Gbk("支持版本:98C->1.X Movereq.bmd"));
  EXPECT_FALSE(state.MovereqModBtn.Enabled);
}

TEST_F(MovereqFixture, OpenShowsEveryRecordWhateverTheCount) {
  Open(PlainMovereq(5));
  EXPECT_EQ(state.ActivePageIndex, ot::kMovereqPage);
  EXPECT_EQ(grid.RowCount(), 37);
  EXPECT_EQ(grid.ColCount(), 7);
  EXPECT_EQ(state.MovereqEdit, Gbk("MoveReq.bmd有5项数据"));
  EXPECT_EQ(grid.Cells(1, 0), Gbk("序号"));  // titles stay
  for (size_t k = 0; k < kRecords; ++k) {
    const int r = static_cast<int>(k) + 1;
    const int i = static_cast<int>(k);
    EXPECT_EQ(grid.Cells(0, r), std::to_string(r));
    EXPECT_EQ(grid.Cells(1, r), std::to_string(k % 3 == 0 ? 0 : i - 20));
    EXPECT_EQ(grid.Cells(4, r), std::to_string(i * 10));
    EXPECT_EQ(grid.Cells(5, r), std::to_string(-i * 1000));
    EXPECT_EQ(grid.Cells(6, r), std::to_string(i * 7 - 100));
    if (k < 35) {
      EXPECT_EQ(grid.Cells(2, r), k % 4 == 0 ? "" : Gbk("地图") + std::to_string(k));
      EXPECT_EQ(grid.Cells(3, r), "Map" + std::to_string(k));
    }
  }
  // Names that fill their fields show all 32 bytes and nothing of the next field.
  EXPECT_EQ(grid.Cells(2, 36), Gbk("一二三四五六七八九十一二三四五六"));
  EXPECT_EQ(grid.Cells(3, 36), std::string(32, 'z'));
  const auto record = state.UnitOfPage(ot::kMovereqPage)->RecordBytes(state, 2);
  ASSERT_TRUE(record);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record->data()), record->size()),
            PlainMovereq(5).substr(Rec(1), 80));
}

TEST_F(MovereqFixture, UnchangedSaveGivesTheFileBackWithTheRecomputedCount) {
  struct Case {
    const char* what;
    std::string plain;
  } cases[] = {
      {"stored count too small", PlainMovereq(5)},
      {"stored count negative", PlainMovereq(-1)},
      {"pattern bytes", ottest::PatternBytes(kSize, 7)},
      {"all zero", std::string(kSize, '\0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.plain);
    std::string expected = c.plain;
    PutLe(expected, 0, 4, RowsInUse(c.plain));
    const std::string path = dir.File("out.bmd");
    const std::string saved = SavePlain();
    EXPECT_EQ(saved, expected);
    // The count is stored plain, the records scrambled from offset 4.
    EXPECT_EQ(ottest::ReadFile(path), Scrambled(expected));
    // The count read by the last Open stays in the edit box.
    EXPECT_EQ(state.MovereqEdit,
              Gbk("MoveReq.bmd有") +
                  std::to_string(static_cast<int32_t>(ottest::GetLe(c.plain, 0, 4))) +
                  Gbk("项数据"));
  }
  EXPECT_EQ(RowsInUse(PlainMovereq(5)), 32);  // rows 1, 13, 21 and 25 are not in use
}

TEST_F(MovereqFixture, EntryCountFollowsTheTextsOfSerialAndChineseName) {
  struct Case {
    const char* serial;
    std::string chinese;
    std::string english;
    int32_t counted;
  } cases[] = {
      {"0", "", "", 0},
      {"0", "", "Lorencia", 0},  // an English name alone does not count
      {"00", "", "", 1},         // converts to 0, but its text is not "0"
      {" 0", "", "", 1},
      {"$0", "", "", 1},
      {"0", Gbk("勇者大陆"), "", 1},
      {"7", "", "", 1},
      {"-3", Gbk("仙踪林"), "Noria", 1},
  };
  Open(std::string(kSize, '\0'));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    // Row 20 carries the case; every other row is empty and not in use.
    grid.Cells(1, 20) = c.serial;
    grid.Cells(2, 20) = c.chinese;
    grid.Cells(3, 20) = c.english;
    const std::string saved = SavePlain();
    EXPECT_EQ(static_cast<int32_t>(ottest::GetLe(saved, 0, 4)), c.counted);
  }
  // Rows in use need not be consecutive: the count is how many there are.
  for (int r : {1, 5, 36}) grid.Cells(1, r) = "1";
  EXPECT_EQ(ottest::GetLe(SavePlain(), 0, 4), 4u);
}

TEST_F(MovereqFixture, EditsLandInTheirFieldsAndNowhereElse) {
  const std::string plain = PlainMovereq(25);
  Open(plain);
  std::string expected = plain;
  // Numbers: all 32 bits, signed, hexadecimal accepted.
  grid.Cells(1, 2) = "-1";
  PutLe(expected, Rec(1), 4, -1);
  grid.Cells(4, 2) = "$7FFFFFFF";
  PutLe(expected, Rec(1) + 68, 4, 0x7FFFFFFF);
  grid.Cells(5, 2) = "-2147483648";
  PutLe(expected, Rec(1) + 72, 4, -2147483648LL);
  grid.Cells(6, 2) = " 0x10";
  PutLe(expected, Rec(1) + 76, 4, 16);
  // Text fields by the text field rule, one case per row, in the Chinese name field; the
  // English name behind it never changes.
  struct TextCase {
    size_t row;
    std::string text;
    std::string field;  // the 32 bytes expected, given the old field bytes
  };
  const std::string old3 = plain.substr(Rec(2) + 4, 32);  // 地图2 NUL then 'C's
  const std::string old4 = plain.substr(Rec(3) + 4, 32);
  const TextCase texts[] = {
      {3, "ab", std::string("ab\0", 3) + old3.substr(3)},  // shortened: old bytes stay behind
      {4, "", std::string(1, '\0') + old4.substr(1)},
      {5, std::string(31, 'x'), std::string(31, 'x') + '\0'},  // its NUL in the last byte
      {6, std::string(32, 'y'), std::string(32, 'y')},         // no terminator
      {7, std::string(40, 'w'), std::string(32, 'w')},         // cut to the field
  };
  for (const auto& t : texts) {
    grid.Cells(2, static_cast<int>(t.row)) = t.text;
    PutBytes(expected, Rec(t.row - 1) + 4, t.field);
  }
  // A longer English name is cut too and the level behind it keeps its own cell's value.
  grid.Cells(3, 8) = std::string(33, 'e');
  PutBytes(expected, Rec(7) + 36, std::string(32, 'e'));
  PutLe(expected, 0, 4, RowsInUse(expected));
  EXPECT_EQ(SavePlain(), expected);
  // Opened again, the file shows the stored texts.
  ottest::WriteFile(dir.File("again.bmd"), Scrambled(expected));
  port.answers.push_back(dir.File("again.bmd"));
  ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  EXPECT_EQ(grid.Cells(2, 3), "ab");
  EXPECT_EQ(grid.Cells(2, 7), std::string(32, 'w'));
  EXPECT_EQ(grid.Cells(3, 8), std::string(32, 'e'));
  EXPECT_EQ(grid.Cells(4, 8), "70");
  EXPECT_EQ(grid.Cells(1, 2), "-1");
}

TEST_F(MovereqFixture, BadNumberStopsTheSaveAndWritesNothing) {
  Open(PlainMovereq(5));
  const std::string target = dir.File("target.bmd");
  ottest::WriteFile(target, "old content");
  struct Case {
    int col;
    const char* text;
  } cases[] = {{1, "1 "}, {4, ""}, {5, "fee"}, {6, "2147483648"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string before = grid.Cells(c.col, 30);
    grid.Cells(c.col, 30) = c.text;
    port.answers.push_back(target);
    try {
      ot::SaveBtnClick(state, port);
      ADD_FAILURE() << "saved";
    } catch (const ot::ConversionError& e) {
      EXPECT_EQ(std::string(e.what()),
                "'" + std::string(c.text) + "' is not a valid integer value");
      EXPECT_EQ(e.Col, c.col);
      EXPECT_EQ(e.Row, 30);
      EXPECT_EQ(e.Page, ot::kMovereqPage);
    }
    EXPECT_EQ(ottest::ReadFile(target), "old content");
    grid.Cells(c.col, 30) = before;
  }
  // Texts never stop a save: a name of any bytes is written.
  grid.Cells(2, 30) = "not a number";
  EXPECT_EQ(SavePlain().substr(Rec(29) + 4, 13), std::string("not a number\0", 13));
}

TEST_F(MovereqFixture, SaveBeforeAnyOpenStopsAtTheFirstSerialNumber) {
  state.ActivePageIndex = ot::kMovereqPage;
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

TEST_F(MovereqFixture, ExportWritesWhatSaveWrites) {
  Open(PlainMovereq(5));
  grid.Cells(5, 9) = "123";
  const std::string saved = SavePlain("saved.bmd");
  port.answers.push_back(dir.File("exported.bmd"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(ottest::ReadFile(dir.File("exported.bmd")), ottest::ReadFile(dir.File("saved.bmd")));
  EXPECT_EQ(ottest::GetLe(saved, Rec(8) + 72, 4), 123u);
}

TEST_F(MovereqFixture, AnImageOfAnotherSizeIsRefused) {
  std::vector<uint8_t> image(2883);
  EXPECT_THROW(state.UnitOfPage(ot::kMovereqPage)->Open(state, std::span<uint8_t>(image), 0),
               std::invalid_argument);
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(state.MovereqEdit, Gbk("支持版本:98C->1.X Movereq.bmd"));
}

}  // namespace
