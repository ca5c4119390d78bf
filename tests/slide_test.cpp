#include "formats/slide.h"

#include <gtest/gtest.h>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "support/support.h"
#include "support/table_fixture.h"

namespace {

using ottest::Gbk;

constexpr size_t kSize = 41008;
constexpr size_t kEntry = 256;

size_t EntryAt(size_t b, size_t e) { return 16 + 8200 * b + kEntry * e; }
size_t CountWordAt(size_t b) { return 12 + 8200 * b; }
size_t OpaqueWordAt(size_t b) { return 8 + 8200 * b; }

std::string Le32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
          static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
}

// A plain slide file: header, opaque and count words and the bytes behind each text from a
// pattern; entry e of block b holds "b<b>e<e>" except where the caller empties it.
std::string PlainSlides() {
  std::string s = ottest::PatternBytes(kSize, 11);
  for (size_t b = 0; b < 5; ++b)
    for (size_t e = 0; e < 32; ++e) {
      const std::string text = "b" + std::to_string(b) + "e" + std::to_string(e);
      s.replace(EntryAt(b, e), text.size(), text);
      s[EntryAt(b, e) + text.size()] = '\0';
    }
  return s;
}

std::string Stored(const std::string& plain) { return ottest::Scramble(plain, 0, kSize, 3); }

int Row(int b, int e) { return 32 * b + e + 1; }

struct SlideFixture : ottest::TableFixture {
  SlideFixture() : TableFixture("Slide.bmd") {}
};

TEST_F(SlideFixture, StartState) {
  const auto& g = state.SlideStrGrid;
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(g.RowCount(), 50);
  EXPECT_EQ(g.Cells(0, 0), Gbk("编号"));
  EXPECT_EQ(g.Cells(1, 0), Gbk("数据类型"));
  EXPECT_EQ(g.Cells(2, 0), Gbk("数据项序号"));
  EXPECT_EQ(g.Cells(3, 0), Gbk("文本内容             支持版本 98C->1.X"));
  EXPECT_EQ(state.SlideEdit, "");
  EXPECT_FALSE(state.SlideModBtn.Enabled);
}

TEST_F(SlideFixture, OpenFillsFiveGroupsOf32Rows) {
  std::string plain = PlainSlides();
  plain.replace(EntryAt(2, 31), kEntry, std::string(kEntry, 'z'));  // no NUL
  state.SlideEdit = "kept";
  OpenStored(Stored(plain));
  const auto& g = state.SlideStrGrid;
  EXPECT_EQ(state.ActivePageIndex, ot::kSlidePage);
  EXPECT_EQ(g.RowCount(), 161);
  for (int b = 0; b < 5; ++b)
    for (int e = 0; e < 32; ++e) {
      const int r = Row(b, e);
      ASSERT_EQ(g.Cells(0, r), std::to_string(r));
      ASSERT_EQ(g.Cells(1, r), std::to_string(b + 1));
      ASSERT_EQ(g.Cells(2, r), std::to_string(e + 1));
    }
  EXPECT_EQ(g.Cells(1, 1), "1");
  EXPECT_EQ(g.Cells(1, 160), "5");
  EXPECT_EQ(g.Cells(3, 1), "b0e0");
  EXPECT_EQ(g.Cells(3, 160), "b4e31");
  EXPECT_EQ(g.Cells(3, Row(2, 31)), std::string(kEntry, 'z'));
  EXPECT_EQ(g.Cells(3, Row(3, 0)), "b3e0");
  EXPECT_EQ(g.Cells(3, 0), Gbk("文本内容             支持版本 98C->1.X"));
  EXPECT_EQ(state.SlideEdit, "kept");  // Open sets no text in the box
}

TEST_F(SlideFixture, UnchangedSaveRecomputesOnlyTheCountWords) {
  std::string plain = PlainSlides();
  // Block 1: three empty entries, one of them in the middle; block 3: all empty.
  for (size_t e : {0u, 15u, 31u}) plain[EntryAt(1, e)] = '\0';
  for (size_t e = 0; e < 32; ++e) plain[EntryAt(3, e)] = '\0';
  const std::string stored = Stored(plain);
  OpenStored(stored);
  std::string expected = plain;
  const int32_t counts[5] = {31, 28, 31, -1, 31};
  for (size_t b = 0; b < 5; ++b) expected.replace(CountWordAt(b), 4, Le32(counts[b]));
  const std::string saved = Save();
  EXPECT_EQ(saved, Stored(expected));
  EXPECT_EQ(state.SlideEdit, "b4e31");  // the text of row 160 passed last
  // The header and the opaque words went out as read.
  EXPECT_EQ(saved.substr(0, 8), stored.substr(0, 8));
  for (size_t b = 0; b < 5; ++b)
    EXPECT_EQ(saved.substr(OpaqueWordAt(b), 4), stored.substr(OpaqueWordAt(b), 4));
  EXPECT_EQ(Save("again.bmd"), saved);  // the record image stayed plain
}

TEST_F(SlideFixture, EditsLandInTheirEntryAndSetTheCount) {
  const std::string plain = PlainSlides();
  OpenStored(Stored(plain));
  struct Case {
    int b, e;
    std::string text;
    std::string field;  // the 256 bytes expected in the entry
  } cases[] = {
      // Emptied in the middle of block 0: a NUL first, the rest of the entry as it was.
      {0, 10, "", std::string(1, '\0') + plain.substr(EntryAt(0, 10) + 1, kEntry - 1)},
      // A single space counts as filled.
      {0, 11, " ", std::string(" \0", 2) + plain.substr(EntryAt(0, 11) + 2, kEntry - 2)},
      // 256 bytes in the last entry of block 1: no terminator; block 2's words untouched.
      {1, 31, std::string(kEntry, 'L'), std::string(kEntry, 'L')},
      // Longer: cut to 256 bytes.
      {2, 31, std::string(300, 'M'), std::string(kEntry, 'M')},
      {4, 0, Gbk("幻灯片"), Gbk("幻灯片") + '\0' + plain.substr(EntryAt(4, 0) + 7, kEntry - 7)},
  };
  std::string expected = plain;
  for (const auto& c : cases) {
    state.SlideStrGrid.Cells(3, Row(c.b, c.e)) = c.text;
    expected.replace(EntryAt(static_cast<size_t>(c.b), static_cast<size_t>(c.e)), kEntry, c.field);
  }
  // Columns 1 and 2 are not read.
  state.SlideStrGrid.Cells(1, 5) = "x";
  state.SlideStrGrid.Cells(2, 5) = "y";
  const int32_t counts[5] = {30, 31, 31, 31, 31};
  for (size_t b = 0; b < 5; ++b) expected.replace(CountWordAt(b), 4, Le32(counts[b]));
  const std::string saved = Save();
  EXPECT_EQ(saved, Stored(expected));
  // Opened again, the entries after the emptied one have not moved.
  OpenStored(saved);
  EXPECT_EQ(state.SlideStrGrid.Cells(3, Row(0, 10)), "");
  EXPECT_EQ(state.SlideStrGrid.Cells(3, Row(0, 12)), "b0e12");
  EXPECT_EQ(state.SlideStrGrid.Cells(3, Row(2, 0)), "b2e0");
}

TEST_F(SlideFixture, SaveBeforeAnyOpenWritesEmptyBlocksWithCountMinusOne) {
  state.ActivePageIndex = ot::kSlidePage;
  std::string expected(kSize, '\0');
  for (size_t b = 0; b < 5; ++b) expected.replace(CountWordAt(b), 4, Le32(-1));
  EXPECT_EQ(Save(), Stored(expected));
  EXPECT_EQ(state.SlideEdit, "");
}

TEST_F(SlideFixture, ExportWritesWhatSaveWrites) {
  OpenStored(Stored(PlainSlides()));
  state.SlideStrGrid.Cells(3, 40) = "";
  const std::string saved = Save();
  port.answers.push_back(dir.File("export.bmd"));
  ASSERT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::Saved);
  EXPECT_EQ(port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(ottest::ReadFile(dir.File("export.bmd")), saved);
}

TEST_F(SlideFixture, RecordBytesAreTheEntryBehindARow) {
  const std::string plain = PlainSlides();
  OpenStored(Stored(plain));
  const ot::TableUnit* unit = state.UnitOfPage(ot::kSlidePage);
  ASSERT_EQ(unit->CurrentLayout(state), 0);
  for (int row : {1, 33, 160}) {
    auto bytes = unit->RecordBytes(state, row);
    ASSERT_TRUE(bytes);
    const size_t b = static_cast<size_t>(row - 1) / 32, e = static_cast<size_t>(row - 1) % 32;
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), plain.substr(EntryAt(b, e), kEntry));
  }
  EXPECT_FALSE(unit->RecordBytes(state, 161));
  EXPECT_TRUE(unit->NumberColumns(state).empty());
}

}  // namespace
