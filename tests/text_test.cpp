#include "formats/text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "support/support.h"
#include "support/table_fixture.h"

namespace {

using ottest::Gbk;

constexpr size_t kLength = 300;

struct LayoutCase {
  size_t records;
  const char* marker;
};
const LayoutCase kLayouts[] = {{1500, "文本内容 //Ver 99J,99B+ Text.bmd"},
                               {2048, "文本内容 //Ver 1.x Text.bmd"}};

// A plain text table: record k holds "t<k>", a NUL and pattern bytes behind it; record 2
// holds 300 bytes and no NUL.
std::string PlainTexts(size_t records, uint32_t seed = 7) {
  std::string s = ottest::PatternBytes(records * kLength, seed);
  for (size_t k = 0; k < records; ++k) {
    const std::string text = "t" + std::to_string(k);
    s.replace(k * kLength, text.size(), text);
    s[k * kLength + text.size()] = '\0';
  }
  s.replace(2 * kLength, kLength, std::string(kLength, 'n'));
  return s;
}

std::string Stored(const std::string& plain) {
  return ottest::Scramble(plain, 0, plain.size(), kLength);
}

struct TextFixture : ottest::TableFixture {
  TextFixture() : TableFixture("Text.bmd") {}
};

TEST_F(TextFixture, StartStateAndSaveBeforeAnyOpen) {
  const auto& g = state.TextStrGrid;
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_EQ(g.RowCount(), 50);
  EXPECT_EQ(g.Cells(0, 0), Gbk("编号"));
  EXPECT_EQ(g.Cells(1, 0), Gbk("文本内容              支持版本 99J->1.X"));
  EXPECT_FALSE(state.TextModBtn.Enabled);
  const ot::TableUnit* unit = state.UnitOfPage(ot::kTextPage);
  EXPECT_EQ(unit->CurrentLayout(state), -1);
  EXPECT_FALSE(unit->RecordBytes(state, 1));
  // The start title is no marker: nothing is written, no file is created, the user is told.
  state.ActivePageIndex = ot::kTextPage;
  state.TextEdit = "kept";
  port.answers.push_back(dir.File("x.bmd"));
  EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Refused);
  EXPECT_FALSE(ottest::FileExists(dir.File("x.bmd")));
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].text.find("Text.bmd"), std::string::npos);
  EXPECT_EQ(state.TextEdit, "kept");
  // Export does the same.
  port.answers.push_back(dir.File("y.bmd"));
  EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Refused);
  EXPECT_FALSE(ottest::FileExists(dir.File("y.bmd")));
}

TEST_F(TextFixture, BothLayoutsOpenAndSaveBackByteForByte) {
  for (const auto& c : kLayouts) {
    SCOPED_TRACE(c.records);
    const std::string stored = Stored(PlainTexts(c.records));
    state.TextEdit = "kept";
    OpenStored(stored);
    const auto& g = state.TextStrGrid;
    const int n = static_cast<int>(c.records);
    EXPECT_EQ(state.ActivePageIndex, ot::kTextPage);
    EXPECT_EQ(g.RowCount(), n + 1);
    EXPECT_EQ(g.Cells(1, 0), Gbk(c.marker));
    EXPECT_EQ(g.Cells(0, 0), Gbk("编号"));
    EXPECT_EQ(g.Cells(0, 1), "1");
    EXPECT_EQ(g.Cells(0, n), std::to_string(n));
    EXPECT_EQ(g.Cells(1, 1), "t0");
    EXPECT_EQ(g.Cells(1, 3), std::string(kLength, 'n'));  // no NUL: all 300 bytes
    EXPECT_EQ(g.Cells(1, 4), "t3");
    EXPECT_EQ(g.Cells(1, n), "t" + std::to_string(n - 1));
    EXPECT_EQ(state.TextEdit, "kept");  // Open sets no text in the box
    EXPECT_EQ(state.UnitOfPage(ot::kTextPage)->CurrentLayout(state), c.records == 1500 ? 0 : 1);
    EXPECT_EQ(Save(), stored);
    EXPECT_EQ(state.TextEdit, "t" + std::to_string(n - 1));  // the last row passed last
    EXPECT_EQ(Save("again.bmd"), stored);
  }
}

TEST_F(TextFixture, EditsFollowTheTextFieldRule) {
  for (const auto& layout : kLayouts) {
    SCOPED_TRACE(layout.records);
    const std::string plain = PlainTexts(layout.records);
    OpenStored(Stored(plain));
    const size_t last = layout.records;
    struct Case {
      size_t row;
      std::string text;
      std::string field;
    } cases[] = {
        // Emptied: a NUL first, the other 299 bytes as they were.
        {5, "", std::string(1, '\0') + plain.substr(4 * kLength + 1, 299)},
        // Shorter: the old bytes stay behind the new NUL.
        {6, "ab", std::string("ab\0", 3) + plain.substr(5 * kLength + 3, 297)},
        // Exactly 300 bytes: no terminator.
        {7, std::string(kLength, 'x'), std::string(kLength, 'x')},
        // Longer: cut; the next record keeps its text.
        {8, std::string(kLength + 5, 'y'), std::string(kLength, 'y')},
        {last, Gbk("最后一行"),
         Gbk("最后一行") + '\0' + plain.substr((last - 1) * kLength + 9, kLength - 9)},
    };
    std::string expected = plain;
    for (const auto& c : cases) {
      state.TextStrGrid.Cells(1, static_cast<int>(c.row)) = c.text;
      expected.replace((c.row - 1) * kLength, kLength, c.field);
    }
    state.TextStrGrid.Cells(0, 10) = "not read";
    EXPECT_EQ(Save(), Stored(expected));
    EXPECT_EQ(state.TextEdit, Gbk("最后一行"));
  }
}

TEST_F(TextFixture, SaveWritesTheLayoutOfTheLastOpenFromItsOwnImage) {
  const std::string small = Stored(PlainTexts(1500, 1));
  const std::string large = Stored(PlainTexts(2048, 2));
  OpenStored(small);
  state.TextStrGrid.Cells(1, 1) = "edited";
  Save("edited.bmd");
  OpenStored(large);
  EXPECT_EQ(state.TextStrGrid.RowCount(), 2049);
  EXPECT_EQ(Save(), large);  // the 1500-record image played no part
  // Opening a 1500-record table again replaces its image whole, the earlier edit included.
  OpenStored(small);
  EXPECT_EQ(state.TextStrGrid.RowCount(), 1501);
  EXPECT_EQ(Save(), small);
}

TEST_F(TextFixture, ATitleCellThatNamesNoLayoutWritesNothing) {
  OpenStored(Stored(PlainTexts(1500)));
  // Compared byte for byte: case and blanks count.
  for (const char* title :
       {"文本内容 //ver 99J,99B+ Text.bmd", "文本内容  //Ver 1.x Text.bmd", ""}) {
    state.TextStrGrid.Cells(1, 0) = Gbk(title);
    port.answers.push_back(dir.File("x.bmd"));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Refused) << title;
    EXPECT_FALSE(ottest::FileExists(dir.File("x.bmd")));
  }
}

TEST_F(TextFixture, ExportWritesWhatSaveWrites) {
  OpenStored(Stored(PlainTexts(2048)));
  state.TextStrGrid.Cells(1, 2048) = "edited";
  const std::string saved = Save();
  port.answers.push_back(dir.File("export.bmd"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(ottest::ReadFile(dir.File("export.bmd")), saved);
}

TEST_F(TextFixture, RecordBytesFollowTheLayoutShown) {
  const std::string plain = PlainTexts(2048);
  OpenStored(Stored(plain));
  const ot::TableUnit* unit = state.UnitOfPage(ot::kTextPage);
  auto bytes = unit->RecordBytes(state, 2048);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), plain.substr(2047 * kLength, kLength));
  EXPECT_FALSE(unit->RecordBytes(state, 2049));
  EXPECT_TRUE(unit->NumberColumns(state).empty());
}

TEST_F(TextFixture, AnImageOfAnotherSizeThanItsLayoutIsRefusedUntouched) {
  ot::TableUnit* unit = state.UnitOfPage(ot::kTextPage);
  struct Case {
    size_t size;
    int layout;
  } cases[] = {{614400, 0}, {450000, 1}, {450000, 2}, {450000, -1}, {0, 0}};
  for (const auto& c : cases) {
    std::vector<uint8_t> image(c.size, 0x41);
    EXPECT_THROW(unit->Open(state, std::span<uint8_t>(image), c.layout), std::invalid_argument);
    EXPECT_EQ(image, std::vector<uint8_t>(c.size, 0x41));
    EXPECT_EQ(state.TextStrGrid.RowCount(), 50);
    EXPECT_EQ(state.ActivePageIndex, ot::kAboutPage);
  }
}

}  // namespace
