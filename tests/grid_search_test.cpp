#include "frame/grid_search.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "frame/cell_change.h"
#include "frame/cp936.h"

namespace ot {
void PrintTo(const CellPos& p, std::ostream* os) { *os << "(" << p.Col << ", " << p.Row << ")"; }
}  // namespace ot

namespace {

using ot::CellPos;
using ot::SearchOptions;

constexpr SearchOptions kAnyCase{};
constexpr SearchOptions kMatchCase{.MatchCase = true};
constexpr SearchOptions kWhole{.WholeCell = true};
constexpr SearchOptions kWholeMatchCase{.MatchCase = true, .WholeCell = true};

// A grid from rows of UTF-8 texts, title row first, each cell as code page 936 bytes.
ot::StringGrid MakeGrid(std::initializer_list<std::initializer_list<const char*>> rows) {
  ot::StringGrid grid(static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()));
  int r = 0;
  for (const auto& row : rows) {
    int c = 0;
    for (const char* text : row) grid.Cells(c++, r) = ot::Cp936(text);
    ++r;
  }
  return grid;
}

void ExpectSameGrid(const ot::StringGrid& a, const ot::StringGrid& b) {
  ASSERT_EQ(a.ColCount(), b.ColCount());
  ASSERT_EQ(a.RowCount(), b.RowCount());
  for (int r = 0; r < a.RowCount(); ++r)
    for (int c = 0; c < a.ColCount(); ++c)
      EXPECT_EQ(a.Cells(c, r), b.Cells(c, r)) << "column " << c << ", row " << r;
}

// 丄 is 81 41 in code page 936: its trail byte is the ASCII letter 'A'.
const std::string kTrailA = ot::Cp936("丄");

TEST(GridSearch, TrailByteIsAnAsciiLetter) {
  ASSERT_EQ(kTrailA, "\x81" "A");
}

TEST(GridSearch, CellMatches) {
  struct Case {
    std::string cell;  // code page 936 bytes
    const char* needle;
    SearchOptions options;
    bool matches;
  } cases[] = {
      // ASCII letters fold unless case must match.
      {"Sword", "sword", kAnyCase, true},
      {"SWORD", "wOrD", kAnyCase, true},
      {"Sword", "sword", kMatchCase, false},
      {"Sword", "Swo", kMatchCase, true},
      {ot::Cp936("长剑Sword"), "SWORD", kAnyCase, true},
      {ot::Cp936("长剑Sword"), "SWORD", kMatchCase, false},
      // Only ASCII letters fold: not Greek, not full-width letters.
      {ot::Cp936("Α"), "α", kAnyCase, false},
      {ot::Cp936("Ａ"), "ａ", kAnyCase, false},
      {ot::Cp936("Ａ"), "Ａ", kMatchCase, true},
      // A trail byte that is an ASCII letter is part of its character, not a letter.
      {kTrailA, "A", kMatchCase, false},
      {kTrailA, "a", kAnyCase, false},
      {kTrailA + "B", "AB", kAnyCase, false},
      {kTrailA, "丄", kMatchCase, true},
      {kTrailA + "a", "A", kAnyCase, true},
      // Chinese text.
      {ot::Cp936("中文"), "中", kAnyCase, true},
      {ot::Cp936("中文"), "文", kAnyCase, true},
      {ot::Cp936("中文"), "英", kAnyCase, false},
      {ot::Cp936("中文"), "中文名", kAnyCase, false},
      {"zhong", "中", kAnyCase, false},
      // Whole cell.
      {"12345", "234", kAnyCase, true},
      {"12345", "234", kWhole, false},
      {"12345", "12345", kWhole, true},
      {"Sword", "SWORD", kWhole, true},
      {"Sword", "SWORD", kWholeMatchCase, false},
      {ot::Cp936("中文"), "中文", kWhole, true},
      {ot::Cp936("中文"), "中", kWhole, false},
      {ot::Cp936("剑abc"), "abc", kWhole, false},
      {ot::Cp936("剑abc"), "abc", kAnyCase, true},
      // An empty needle matches nothing, not even an empty cell.
      {"abc", "", kAnyCase, false},
      {"", "", kWhole, false},
      {"", "a", kAnyCase, false},
      // Undecodable bytes are compared by their lossy decoding.
      {"\xFF" "abc", "ABC", kAnyCase, true},
      {"\xFF" "abc", "\xEF\xBF\xBD" "a", kMatchCase, true},
      {"\xFF" "abc", "abc", kWhole, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ot::CellMatches(c.cell, c.needle, c.options), c.matches)
        << "cell " << ot::Cp936ToUtf8Lossy(c.cell) << ", needle " << c.needle
        << ", match case " << c.options.MatchCase << ", whole cell " << c.options.WholeCell;
}

// "x" lies in (1,1), (2,2) and (3,3) among the data cells, and in the title row and in
// column 0 of row 2, which are searched only from firstCol 0 (column 0) or never (titles).
ot::StringGrid SearchGrid() {
  return MakeGrid({
      {"#", "x", "名", "x"},
      {"1", "x", "a", "b"},
      {"x", "c", "X", "长剑"},
      {"3", "e", "f", "xx"},
  });
}

TEST(GridSearch, FindCellWrapsAroundTheDataCells) {
  const ot::StringGrid grid = SearchGrid();
  struct Case {
    const char* needle;
    CellPos from;
    bool forward;
    int firstCol;
    std::optional<CellPos> found;
  } cases[] = {
      {"x", {1, 1}, true, 1, CellPos{2, 2}},
      {"x", {2, 2}, true, 1, CellPos{3, 3}},
      {"x", {3, 3}, true, 1, CellPos{1, 1}},
      {"x", {2, 1}, true, 1, CellPos{2, 2}},
      {"x", {3, 3}, false, 1, CellPos{2, 2}},
      {"x", {2, 2}, false, 1, CellPos{1, 1}},
      {"x", {1, 1}, false, 1, CellPos{3, 3}},
      {"x", {1, 3}, false, 1, CellPos{2, 2}},
      // From outside the data cells: the first data cell forward, the last backward.
      {"x", {-1, -1}, true, 1, CellPos{1, 1}},
      {"x", {-1, -1}, false, 1, CellPos{3, 3}},
      {"x", {3, 0}, true, 1, CellPos{1, 1}},
      {"x", {1, 0}, false, 1, CellPos{3, 3}},
      {"x", {9, 9}, true, 1, CellPos{1, 1}},
      {"x", {0, 2}, true, 1, CellPos{1, 1}},
      {"x", {0, 2}, false, 1, CellPos{3, 3}},
      // firstCol decides which columns are searched.
      {"x", {3, 1}, true, 0, CellPos{0, 2}},
      {"x", {2, 2}, false, 0, CellPos{0, 2}},
      {"x", {0, 2}, true, 0, CellPos{2, 2}},
      {"x", {-1, -1}, true, 2, CellPos{2, 2}},
      {"x", {2, 2}, true, 3, CellPos{3, 3}},
      // A single match is found again from itself, either way.
      {"长剑", {3, 2}, true, 1, CellPos{3, 2}},
      {"长剑", {3, 2}, false, 1, CellPos{3, 2}},
      {"长剑", {-1, -1}, false, 1, CellPos{3, 2}},
      {"b", {1, 3}, true, 1, CellPos{3, 1}},
      // No match anywhere in the data cells.
      {"名", {-1, -1}, true, 1, std::nullopt},
      {"zz", {1, 1}, false, 1, std::nullopt},
      {"", {1, 1}, true, 1, std::nullopt},
      {"x", {1, 1}, true, 4, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ot::FindCell(grid, c.needle, c.from, c.forward, kAnyCase, c.firstCol), c.found)
        << c.needle << " from (" << c.from.Col << ", " << c.from.Row << ") "
        << (c.forward ? "forward" : "backward") << ", first column " << c.firstCol;
}

TEST(GridSearch, FindCellHonoursTheOptions) {
  const ot::StringGrid grid = SearchGrid();
  EXPECT_EQ(ot::FindCell(grid, "X", {1, 1}, true, kMatchCase), (CellPos{2, 2}));
  EXPECT_EQ(ot::FindCell(grid, "X", {2, 2}, true, kMatchCase), (CellPos{2, 2}));
  EXPECT_EQ(ot::FindCell(grid, "x", {1, 1}, true, kWhole), (CellPos{2, 2}));
  EXPECT_EQ(ot::FindCell(grid, "x", {2, 2}, true, kWhole), (CellPos{1, 1}));
  EXPECT_EQ(ot::FindCell(grid, "xx", {1, 1}, false, kWhole), (CellPos{3, 3}));
}

TEST(GridSearch, FindCellInGridsWithoutDataCells) {
  EXPECT_EQ(ot::FindCell(ot::StringGrid(0, 0), "x", {-1, -1}, true, kAnyCase), std::nullopt);
  ot::StringGrid titles(3, 1);
  titles.Cells(1, 0) = "x";
  EXPECT_EQ(ot::FindCell(titles, "x", {-1, -1}, true, kAnyCase), std::nullopt);
  ot::StringGrid numbers(1, 3);
  numbers.Cells(0, 1) = "x";
  EXPECT_EQ(ot::FindCell(numbers, "x", {-1, -1}, false, kAnyCase), std::nullopt);
  EXPECT_EQ(ot::FindCell(numbers, "x", {-1, -1}, false, kAnyCase, 0), (CellPos{0, 1}));
}

TEST(GridSearch, ReplaceInCell) {
  const char* emoji = "\xF0\x9F\x98\x80";  // U+1F600, which code page 936 lacks
  ASSERT_FALSE(ot::TryUtf8ToCp936(emoji));
  struct Case {
    std::string cell;  // code page 936 bytes
    const char* needle;
    const char* replacement;
    SearchOptions options;
    std::optional<std::string> after;
  } cases[] = {
      {"aXbxc", "x", "y", kAnyCase, "aybyc"},
      {"aXbxc", "x", "y", kMatchCase, "aXbyc"},
      {"xxx", "xx", "y", kAnyCase, "yx"},
      {"aaa", "a", "aa", kAnyCase, "aaaaaa"},
      {"abc", "abc", "", kAnyCase, ""},
      {"abc", "z", "y", kAnyCase, std::nullopt},
      {"abc", "", "y", kAnyCase, std::nullopt},
      // Chinese text and replacements.
      {ot::Cp936("长剑长剑"), "剑", "刀", kAnyCase, ot::Cp936("长刀长刀")},
      {"Sword+1", "SWORD", "长剑", kAnyCase, ot::Cp936("长剑+1")},
      {ot::Cp936("长剑"), "长剑", "Sword", kWhole, "Sword"},
      // Whole cell: the cell is replaced only when it is the needle.
      {"Abc", "abc", "x", kWhole, "x"},
      {"abcd", "abc", "x", kWhole, std::nullopt},
      {"Abc", "abc", "x", kWholeMatchCase, std::nullopt},
      // A trail byte 'A' is not the letter.
      {kTrailA, "A", "B", kMatchCase, std::nullopt},
      {kTrailA + "a", "A", "b", kAnyCase, kTrailA + "b"},
      // A result code page 936 cannot hold is refused.
      {"abc", "b", emoji, kAnyCase, std::nullopt},
      // A cell that does not decode exactly is left alone, though it can be found.
      {"\xFF" "abc", "abc", "x", kAnyCase, std::nullopt},
      {"\xFF" "abc", "\xEF\xBF\xBD", "x", kAnyCase, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ot::ReplaceInCell(c.cell, c.needle, c.replacement, c.options), c.after)
        << "cell " << ot::Cp936ToUtf8Lossy(c.cell) << ", needle " << c.needle
        << ", replacement " << c.replacement;
  EXPECT_TRUE(ot::CellMatches("\xFF" "abc", "abc", kAnyCase));
}

TEST(GridSearch, ReplaceAllThenApplyAndUndo) {
  ot::StringGrid grid = MakeGrid({
      {"#", "剑", "b"},
      {"剑", "长剑", "x"},
      {"2", "剑", "双剑剑"},
      {"3", "刀", "剑"},
  });
  grid.Cells(1, 3) = "\xFF" + ot::Cp936("剑");  // found, but not decodable: skipped
  const ot::StringGrid original = grid;

  const std::vector<ot::CellChange> changes = ot::ReplaceAll(grid, "剑", "刀", kAnyCase);
  const std::vector<ot::CellChange> expected = {
      {1, 1, ot::Cp936("长剑"), ot::Cp936("长刀")},
      {1, 2, ot::Cp936("剑"), ot::Cp936("刀")},
      {2, 2, ot::Cp936("双剑剑"), ot::Cp936("双刀刀")},
      {2, 3, ot::Cp936("剑"), ot::Cp936("刀")},
  };
  EXPECT_EQ(changes, expected);
  ExpectSameGrid(grid, original);  // not applied

  ot::ApplyCellChanges(grid, changes, false);
  ot::StringGrid replaced = original;
  for (const auto& c : expected) replaced.Cells(c.Col, c.Row) = c.After;
  ExpectSameGrid(grid, replaced);

  ot::ApplyCellChanges(grid, changes, true);
  ExpectSameGrid(grid, original);

  // Column 0 only from firstCol 0; whole cells only with WholeCell.
  const auto withNumbers = ot::ReplaceAll(original, "剑", "刀", kWhole, 0);
  const std::vector<ot::CellChange> wholeExpected = {
      {0, 1, ot::Cp936("剑"), ot::Cp936("刀")},
      {1, 2, ot::Cp936("剑"), ot::Cp936("刀")},
      {2, 3, ot::Cp936("剑"), ot::Cp936("刀")},
  };
  EXPECT_EQ(withNumbers, wholeExpected);
  EXPECT_TRUE(ot::ReplaceAll(original, "剑", "\xF0\x9F\x98\x80", kAnyCase).empty());
  EXPECT_TRUE(ot::ReplaceAll(original, "", "x", kAnyCase).empty());
}

TEST(GridSearch, ApplyCellChangesUndoesInReverse) {
  ot::StringGrid grid(2, 2);
  grid.Cells(1, 1) = "a";
  const std::vector<ot::CellChange> changes = {
      {1, 1, "a", "b"},
      {5, 5, "q", "r"},  // outside the grid: skipped
      {1, 1, "b", "c"},
      {-1, 0, "q", "r"},
  };
  ot::ApplyCellChanges(grid, changes, false);
  EXPECT_EQ(grid.Cells(1, 1), "c");
  ot::ApplyCellChanges(grid, changes, true);
  EXPECT_EQ(grid.Cells(1, 1), "a");
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_EQ(grid.Cells(0, 1), "");
  EXPECT_EQ(grid.Cells(1, 0), "");
}

}  // namespace
