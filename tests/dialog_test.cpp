#include "formats/dialog.h"

#include <gtest/gtest.h>

#include <climits>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "support/support.h"
#include "support/table_fixture.h"

namespace {

using ottest::Gbk;

constexpr size_t kRecords = 200;
constexpr size_t kLength = 1024;
constexpr size_t kSize = kRecords * kLength;

// Offsets and widths of the record's fields, in grid column order 1 to 18.
struct FieldAt {
  size_t offset, width;
};
constexpr FieldAt kField[19] = {{0, 0},    {0, 300},  {300, 4},  {304, 4},  {308, 4},
                                {312, 4},  {316, 4},  {320, 4},  {324, 60}, {384, 64},
                                {448, 64}, {512, 64}, {576, 64}, {640, 64}, {704, 64},
                                {768, 64}, {832, 64}, {896, 64}, {960, 64}};

std::string Le32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
          static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
}

size_t At(size_t record, int col) { return record * kLength + kField[col].offset; }

void PutText(std::string& s, size_t record, int col, const std::string& text) {
  s.replace(At(record, col), text.size(), text);
  if (text.size() < kField[col].width) s[At(record, col) + text.size()] = '\0';
}

// Record k: text fields "c<col>r<k>" followed by a NUL and pattern bytes, the sub-text count
// k - 100 and event numbers k * 1000 + j; a few fields at the limits of their widths.
std::string PlainDialogs() {
  std::string s = ottest::PatternBytes(kSize, 3);
  for (size_t k = 0; k < kRecords; ++k) {
    for (int c : {1, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18})
      PutText(s, k, c, "c" + std::to_string(c) + "r" + std::to_string(k));
    s.replace(At(k, 2), 4, Le32(static_cast<int32_t>(k) - 100));
    for (int j = 1; j <= 5; ++j)
      s.replace(At(k, 2 + j), 4, Le32(static_cast<int32_t>(k) * 1000 + j));
  }
  s.replace(At(0, 3), 4, Le32(-1));
  s.replace(At(0, 4), 4, Le32(INT_MIN));
  s.replace(At(0, 5), 4, Le32(INT_MAX));
  PutText(s, 1, 1, std::string(300, 'T'));  // no NUL: the count follows at once
  PutText(s, 2, 8, std::string(60, 'U'));
  PutText(s, 199, 18, std::string(64, 'V'));  // ends exactly at the end of the file
  PutText(s, 3, 9, Gbk("你好"));
  return s;
}

std::string Stored(const std::string& plain) { return ottest::Scramble(plain, 0, kSize, 1024); }

struct DialogFixture : ottest::TableFixture {
  DialogFixture() : TableFixture("Dialog.bmd") {}
  std::string& Cell(int col, int row) { return state.DialogStrGrid.Cells(col, row); }
};

const char* const kTitles[19] = {"编号",          "文本内容",      "子文本数量",    "触发事件编号1",
                                 "触发事件编号2", "触发事件编号3", "触发事件编号4", "触发事件编号5",
                                 "unknown_c60",   "子文本内容1",   "子文本内容2",   "子文本内容3",
                                 "子文本内容4",   "子文本内容5",   "子文本内容6",   "子文本内容7",
                                 "子文本内容8",   "子文本内容9",   "子文本内容10"};

TEST_F(DialogFixture, StartState) {
  const auto& g = state.DialogStrGrid;
  EXPECT_EQ(g.ColCount(), 19);
  EXPECT_EQ(g.RowCount(), 201);
  for (int c = 0; c < 19; ++c) EXPECT_EQ(g.Cells(c, 0), Gbk(kTitles[c])) << c;
  EXPECT_EQ(g.Cells(2, 1), "");
  EXPECT_EQ(state.DialogEdit, "");
  EXPECT_FALSE(state.DialogModBtn.Enabled);
}

TEST_F(DialogFixture, OpenShowsEveryFieldAndTheMarker) {
  OpenStored(Stored(PlainDialogs()));
  const auto& g = state.DialogStrGrid;
  EXPECT_EQ(state.ActivePageIndex, ot::kDialogPage);
  EXPECT_EQ(g.RowCount(), 201);
  EXPECT_EQ(g.Cells(1, 0), Gbk("文本内容 //Ver 97->1.x Dialog.bmd"));
  for (int c = 2; c < 19; ++c) EXPECT_EQ(g.Cells(c, 0), Gbk(kTitles[c])) << c;
  EXPECT_EQ(g.Cells(0, 1), "0");
  EXPECT_EQ(g.Cells(0, 200), "199");
  // Row 6 (record 5): every column.
  EXPECT_EQ(g.Cells(1, 6), "c1r5");
  EXPECT_EQ(g.Cells(2, 6), "-95");
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(g.Cells(2 + j, 6), std::to_string(5000 + j));
  EXPECT_EQ(g.Cells(8, 6), "c8r5");
  for (int c = 9; c <= 18; ++c) EXPECT_EQ(g.Cells(c, 6), "c" + std::to_string(c) + "r5");
  // Signed numbers.
  EXPECT_EQ(g.Cells(3, 1), "-1");
  EXPECT_EQ(g.Cells(4, 1), "-2147483648");
  EXPECT_EQ(g.Cells(5, 1), "2147483647");
  // Fields without a NUL show their whole width and nothing of the next field.
  EXPECT_EQ(g.Cells(1, 2), std::string(300, 'T'));
  EXPECT_EQ(g.Cells(2, 2), "-99");
  EXPECT_EQ(g.Cells(8, 3), std::string(60, 'U'));
  EXPECT_EQ(g.Cells(9, 3), "c9r2");
  EXPECT_EQ(g.Cells(18, 200), std::string(64, 'V'));
  EXPECT_EQ(g.Cells(9, 4), Gbk("你好"));
  EXPECT_EQ(state.DialogEdit, "");  // Open writes no edit box
}

TEST_F(DialogFixture, UnchangedSaveGivesTheFileBack) {
  const std::string stored = Stored(PlainDialogs());
  OpenStored(stored);
  EXPECT_EQ(Save(), stored);
  EXPECT_EQ(state.DialogEdit, std::string(64, 'V'));  // column 18 of row 200 passed last
  EXPECT_EQ(Save("again.bmd"), stored);
}

TEST_F(DialogFixture, EditsLandInTheirFieldsAndNowhereElse) {
  const std::string plain = PlainDialogs();
  OpenStored(Stored(plain));
  struct Case {
    int col, row;
    std::string text;
    std::string field;  // the bytes expected in the field
  } cases[] = {
      // A shorter text: the text, one NUL, the old bytes behind it.
      {1, 10, "hi", "hi" + std::string(1, '\0') + plain.substr(At(9, 1) + 3, 297)},
      // Exactly 300 bytes: no terminator, the sub-text count after it untouched.
      {1, 11, std::string(300, 'a'), std::string(300, 'a')},
      // Longer than 60: cut, sub-text 1 after it untouched.
      {8, 12, std::string(70, 'b'), std::string(60, 'b')},
      // A cleared sub-text writes an empty text; the count stays.
      {12, 13, "", std::string(1, '\0') + plain.substr(At(12, 12) + 1, 63)},
      // A 64-byte sub-text 10 in row 200 stops at the end of the record image.
      {18, 200, std::string(64, 'c'), std::string(64, 'c')},
      {17, 200, std::string(90, 'd'), std::string(64, 'd')},
      // Numbers: signed 32-bit, little-endian.
      {2, 14, "-1", Le32(-1)},
      {3, 14, "2147483647", Le32(INT_MAX)},
      {4, 14, "-2147483648", Le32(INT_MIN)},
      {5, 14, "$FFFFFFFF", Le32(-1)},
      {6, 14, "0x80000000", Le32(INT_MIN)},
      {7, 14, " 42", Le32(42)},
      {2, 15, "5", Le32(5)},  // a new count neither clears nor adds sub-texts
  };
  std::string expected = plain;
  for (const auto& c : cases) {
    Cell(c.col, c.row) = c.text;
    expected.replace(At(static_cast<size_t>(c.row - 1), c.col), c.field.size(), c.field);
  }
  Cell(0, 20) = "not read";
  Cell(1, 0) = "any title";  // the marker is not tested
  EXPECT_EQ(Save(), Stored(expected));
}

TEST_F(DialogFixture, ConversionErrorStopsTheSaveAndWritesNothing) {
  OpenStored(Stored(PlainDialogs()));
  const std::string target = dir.File("target.bmd");
  ottest::WriteFile(target, "old content");
  struct Case {
    int col, row;
    const char* text;
  } cases[] = {
      {2, 1, ""},   {3, 50, "abc"}, {7, 200, "12 "}, {4, 100, "2147483648"}, {5, 2, "-2147483649"},
      {6, 7, "1.5"}};
  for (const auto& c : cases) {
    const std::string old = Cell(c.col, c.row);
    Cell(c.col, c.row) = c.text;
    port.answers.push_back(target);
    try {
      ot::SaveBtnClick(state, port);
      ADD_FAILURE() << "saved with '" << c.text << "'";
    } catch (const ot::ConversionError& e) {
      EXPECT_EQ(std::string(e.what()),
                "'" + std::string(c.text) + "' is not a valid integer value");
      EXPECT_EQ(e.Col, c.col);
      EXPECT_EQ(e.Row, c.row);
      EXPECT_EQ(e.Page, ot::kDialogPage);
    }
    EXPECT_EQ(ottest::ReadFile(target), "old content");
    Cell(c.col, c.row) = old;
  }
  port.answers.push_back(dir.File("new.bmd"));
  Cell(2, 3) = "x";
  EXPECT_THROW(ot::SaveBtnClick(state, port), ot::ConversionError);
  EXPECT_FALSE(ottest::FileExists(dir.File("new.bmd")));
}

TEST_F(DialogFixture, SaveWritesTheFieldsInOrderUpToTheFailingCell) {
  const std::string plain = PlainDialogs();
  OpenStored(Stored(plain));
  Cell(1, 1) = "earlier row";
  Cell(1, 5) = "new main";
  Cell(2, 5) = "77";
  Cell(3, 5) = "bad";
  Cell(8, 5) = "new short";
  port.answers.push_back(dir.File("x.bmd"));
  EXPECT_THROW(ot::SaveBtnClick(state, port), ot::ConversionError);
  // The text of the cell before the number passed through the box; number cells do not.
  EXPECT_EQ(state.DialogEdit, "new main");
  const ot::TableUnit* unit = state.UnitOfPage(ot::kDialogPage);
  auto record = unit->RecordBytes(state, 5);
  ASSERT_TRUE(record);
  const std::string got(record->begin(), record->end());
  std::string want = plain.substr(4 * kLength, kLength);
  want.replace(0, 9, std::string("new main\0", 9));
  want.replace(300, 4, Le32(77));
  EXPECT_EQ(got, want);  // event 1 onwards and the texts after it as they were
  auto first = unit->RecordBytes(state, 1);
  EXPECT_EQ(std::string(first->begin(), first->begin() + 12), std::string("earlier row\0", 12));
}

TEST_F(DialogFixture, SaveBeforeAnyOpenStopsAtTheEmptyCount) {
  state.ActivePageIndex = ot::kDialogPage;
  port.answers.push_back(dir.File("x.bmd"));
  try {
    ot::SaveBtnClick(state, port);
    ADD_FAILURE();
  } catch (const ot::ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'' is not a valid integer value");
    EXPECT_EQ(e.Col, 2);
    EXPECT_EQ(e.Row, 1);
  }
  EXPECT_FALSE(ottest::FileExists(dir.File("x.bmd")));
}

TEST_F(DialogFixture, ExportWritesWhatSaveWrites) {
  OpenStored(Stored(PlainDialogs()));
  Cell(4, 30) = "-30";
  const std::string saved = Save();
  port.answers.push_back(dir.File("export.bmd"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(ottest::ReadFile(dir.File("export.bmd")), saved);
}

TEST_F(DialogFixture, NumberColumnsAreTheCountAndTheEvents) {
  const ot::TableUnit* unit = state.UnitOfPage(ot::kDialogPage);
  EXPECT_EQ(unit->NumberColumns(state), (std::vector<int>{2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(unit->CurrentLayout(state), 0);
  EXPECT_FALSE(unit->RecordBytes(state, 201));
}

}  // namespace
