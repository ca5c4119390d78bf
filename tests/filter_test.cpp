#include "formats/filter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "support/support.h"
#include "support/table_fixture.h"

namespace {

using ottest::Gbk;

constexpr size_t kRecords = 1000;
constexpr size_t kLength = 20;
constexpr size_t kSize = 20004;

// A plain filter list: record k holds "w<k>", a NUL and then bytes that no cell shows;
// record 7 holds 20 letters and no NUL. The check value bytes are 4D 3C 2B 1A.
std::string PlainFilter() {
  std::string s = ottest::PatternBytes(kSize, 5);
  for (size_t k = 0; k < kRecords; ++k) {
    const std::string text = "w" + std::to_string(k);
    s.replace(k * kLength, text.size(), text);
    s[k * kLength + text.size()] = '\0';
  }
  s.replace(7 * kLength, kLength, "ABCDEFGHIJKLMNOPQRST");
  s.replace(20000, 4, "\x4D\x3C\x2B\x1A");
  return s;
}

// The file as stored: records scrambled with record length 20, the check value plain.
std::string Stored(const std::string& plain) { return ottest::Scramble(plain, 0, 20000, 20); }

struct FilterFixture : ottest::TableFixture {
  FilterFixture() : TableFixture("Filter.bmd") {}
};

TEST_F(FilterFixture, StartState) {
  const auto& g = state.FilterStrGrid;
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_EQ(g.RowCount(), 50);
  EXPECT_EQ(g.Cells(0, 0), Gbk("编号"));
  EXPECT_EQ(g.Cells(1, 0), Gbk("文本内容     支持版本:97->1.X"));
  EXPECT_EQ(state.FilterCrcOldEdit, "");
  EXPECT_FALSE(state.FilterModBtn.Enabled);
}

TEST_F(FilterFixture, OpenFillsTheGridAndShowsTheCheckValue) {
  state.TextEdit = "kept";
  OpenStored(Stored(PlainFilter()));
  const auto& g = state.FilterStrGrid;
  EXPECT_EQ(state.ActivePageIndex, ot::kFilterPage);
  EXPECT_EQ(g.RowCount(), 1001);
  EXPECT_EQ(g.Cells(0, 1), "0");
  EXPECT_EQ(g.Cells(1, 1), "w0");
  EXPECT_EQ(g.Cells(0, 1000), "999");
  EXPECT_EQ(g.Cells(1, 1000), "w999");
  EXPECT_EQ(g.Cells(1, 8), "ABCDEFGHIJKLMNOPQRST");  // no NUL: all 20 bytes, nothing more
  EXPECT_EQ(g.Cells(1, 9), "w8");
  EXPECT_EQ(g.Cells(1, 0), Gbk("文本内容     支持版本:97->1.X"));  // no marker
  EXPECT_EQ(state.FilterCrcOldEdit, "1A2B3C4D");
  EXPECT_EQ(state.TextEdit, "kept");  // Open leaves the text page's box alone
}

TEST_F(FilterFixture, CheckValueIsUpperCaseHexOfAtLeastFourDigits) {
  struct Case {
    const char* bytes;
    const char* shown;
  } cases[] = {{"\xAB\x00\x00\x00", "00AB"},     {"\x00\x00\x00\x00", "0000"},
               {"\x45\x23\x01\x00", "12345"},    {"\xEF\xBE\xAD\xDE", "DEADBEEF"},
               {"\x00\x00\x00\x80", "80000000"}, {"\x0F\x00\x00\x00", "000F"}};
  for (const auto& c : cases) {
    std::string plain = PlainFilter();
    plain.replace(20000, 4, std::string(c.bytes, 4));
    OpenStored(Stored(plain));
    EXPECT_EQ(state.FilterCrcOldEdit, c.shown);
  }
}

TEST_F(FilterFixture, UnchangedSaveGivesTheFileBackWithItsCheckValue) {
  const std::string stored = Stored(PlainFilter());
  OpenStored(stored);
  state.FilterCrcNewEdit = "FFFFFFFF";  // nothing reads it
  EXPECT_EQ(Save(), stored);
  EXPECT_EQ(state.TextEdit, "w999");     // every text passed through the text page's box
  EXPECT_EQ(Save("again.bmd"), stored);  // the record image stayed plain
}

TEST_F(FilterFixture, EditsFollowTheTextFieldRule) {
  const std::string plain = PlainFilter();
  OpenStored(Stored(plain));
  struct Case {
    size_t row;
    std::string text;
    std::string field;  // the 20 bytes expected in record row - 1
  } cases[] = {
      // Shorter: the text, one NUL, then the old bytes.
      {3, "x", std::string("x\0", 2) + plain.substr(2 * kLength + 2, 18)},
      // Emptied: a NUL first, the rest as it was.
      {4, "", std::string(1, '\0') + plain.substr(3 * kLength + 1, 19)},
      // Exactly 20 bytes: no terminator.
      {5, "0123456789abcdefghij", "0123456789abcdefghij"},
      // Longer: cut to 20 bytes; the next record keeps its text.
      {6, "0123456789ABCDEFGHIJKLMN", "0123456789ABCDEFGHIJ"},
      // Code page 936 text is written as its bytes.
      {1000, Gbk("过滤词"), Gbk("过滤词") + '\0' + plain.substr(999 * kLength + 7, 13)},
  };
  std::string expected = plain;
  for (const auto& c : cases) {
    state.FilterStrGrid.Cells(1, static_cast<int>(c.row)) = c.text;
    expected.replace((c.row - 1) * kLength, kLength, c.field);
  }
  const std::string saved = Save();
  EXPECT_EQ(saved, Stored(expected));
  EXPECT_EQ(state.TextEdit, Gbk("过滤词"));
  // Opened again, the cut text shows its 20 bytes and the next record is unchanged.
  OpenStored(saved);
  EXPECT_EQ(state.FilterStrGrid.Cells(1, 6), "0123456789ABCDEFGHIJ");
  EXPECT_EQ(state.FilterStrGrid.Cells(1, 7), "w6");
  EXPECT_EQ(state.FilterStrGrid.Cells(1, 3), "x");
}

TEST_F(FilterFixture, SaveBeforeAnyOpenWritesEmptyTextsAndAZeroCheckValue) {
  state.ActivePageIndex = ot::kFilterPage;
  state.TextEdit = "something";
  EXPECT_EQ(Save(), Stored(std::string(kSize, '\0')));
  EXPECT_EQ(state.TextEdit, "");
}

TEST_F(FilterFixture, ExportWritesWhatSaveWrites) {
  OpenStored(Stored(PlainFilter()));
  state.FilterStrGrid.Cells(1, 10) = "edited";
  const std::string saved = Save();
  port.answers.push_back(dir.File("export.bmd"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(ottest::ReadFile(dir.File("export.bmd")), saved);
}

TEST_F(FilterFixture, RecordBytesAreTheRecordBehindARow) {
  const std::string plain = PlainFilter();
  OpenStored(Stored(plain));
  const ot::TableUnit* unit = state.UnitOfPage(ot::kFilterPage);
  ASSERT_EQ(unit->CurrentLayout(state), 0);
  auto bytes = unit->RecordBytes(state, 1000);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), plain.substr(999 * kLength, kLength));
  EXPECT_FALSE(unit->RecordBytes(state, 0));
  EXPECT_FALSE(unit->RecordBytes(state, 1001));
  EXPECT_TRUE(unit->NumberColumns(state).empty());
}

TEST_F(FilterFixture, AnImageShorterThanTheLayoutIsRefused) {
  std::vector<uint8_t> image(20000);
  EXPECT_THROW(state.UnitOfPage(ot::kFilterPage)->Open(state, std::span<uint8_t>(image), 0),
               std::invalid_argument);
  EXPECT_EQ(state.FilterCrcOldEdit, "");
}

}  // namespace
