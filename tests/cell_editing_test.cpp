#include "frame/cell_editing.h"

#include <gtest/gtest.h>

#include "support/support.h"

namespace {

using ottest::Gbk;

// Fills the data cells of a grid with texts naming their position ("c,r").
void FillPositions(ot::StringGrid& grid) {
  for (int r = 1; r < grid.RowCount(); ++r)
    for (int c = 1; c < grid.ColCount(); ++c)
      grid.Cells(c, r) = std::to_string(c) + "," + std::to_string(r);
}

struct Page {
  const char* name;
  void (*press)(ot::TEditorState&, int, int);
  void (*click)(ot::TEditorState&);
  ot::StringGrid ot::TEditorState::*grid;
  std::string ot::TEditorState::*box;
  ot::Button ot::TEditorState::*button;
  ot::RememberedCell ot::TEditorState::*cell;
  int pickCol;                    // the one column that both pages can pick
  std::vector<std::pair<int, int>> refused;
};

const Page kPages[] = {
    {"text", ot::TextStrGridMouseDown, ot::TextModBtnClick, &ot::TEditorState::TextStrGrid,
     &ot::TEditorState::TextEdit, &ot::TEditorState::TextModBtn, &ot::TEditorState::TextCell, 1,
     {{0, 0}, {0, 5}, {1, 0}, {-1, -1}, {-1, 5}, {1, -1}, {2, 5}, {1, 50}}},
    {"slide", ot::SlideStrGridMouseDown, ot::SlideModBtnClick, &ot::TEditorState::SlideStrGrid,
     &ot::TEditorState::SlideEdit, &ot::TEditorState::SlideModBtn, &ot::TEditorState::SlideCell,
     3, {{0, 0}, {0, 5}, {1, 5}, {2, 5}, {3, 0}, {-1, -1}, {4, 5}, {3, 50}}},
};

TEST(CellEditing, RefusedPressesChangeNothing) {
  for (const auto& p : kPages) {
    SCOPED_TRACE(p.name);
    ot::TEditorState state;
    FillPositions(state.*p.grid);
    state.*p.box = "note";
    // Before any pick: the button stays disabled and the box keeps its text.
    for (auto [c, r] : p.refused) {
      SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
      p.press(state, c, r);
      EXPECT_FALSE((state.*p.button).Enabled);
      EXPECT_FALSE((state.*p.cell).Valid);
      EXPECT_EQ(state.*p.box, "note");
    }
    p.click(state);  // "修正" before any pick writes nowhere
    EXPECT_EQ((state.*p.grid).Cells(p.pickCol, 1), std::to_string(p.pickCol) + ",1");

    // After a pick, refused presses keep the earlier cell, box and button.
    p.press(state, p.pickCol, 7);
    const std::string picked = std::to_string(p.pickCol) + ",7";
    for (auto [c, r] : p.refused) {
      SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
      p.press(state, c, r);
      EXPECT_TRUE((state.*p.button).Enabled);
      EXPECT_EQ(state.*p.box, picked);
    }
    state.*p.box = "new";
    p.click(state);
    EXPECT_EQ((state.*p.grid).Cells(p.pickCol, 7), "new");
  }
}

TEST(CellEditing, PickAndWriteBackCopyBytesUnchanged) {
  for (const auto& p : kPages) {
    SCOPED_TRACE(p.name);
    ot::TEditorState state;
    ot::StringGrid& grid = state.*p.grid;
    const std::string odd = "\xFF\x80" + Gbk("文本") + " ";  // not valid code page 936 text
    grid.Cells(p.pickCol, 3) = odd;
    p.press(state, p.pickCol, 3);
    EXPECT_EQ(state.*p.box, odd);
    EXPECT_TRUE((state.*p.button).Enabled);
    EXPECT_EQ((state.*p.cell).Col, p.pickCol);
    EXPECT_EQ((state.*p.cell).Row, 3);

    // An edit in place after the pick is replaced by the box's text.
    grid.Cells(p.pickCol, 3) = "typed in place";
    p.click(state);
    EXPECT_EQ(grid.Cells(p.pickCol, 3), odd);

    // The button stays enabled; a second press writes the box again into the same cell.
    state.*p.box = "";
    p.click(state);
    p.click(state);
    EXPECT_TRUE((state.*p.button).Enabled);
    EXPECT_EQ(grid.Cells(p.pickCol, 3), "");
    EXPECT_EQ(grid.Cells(p.pickCol, 4), "");
  }
}

TEST(CellEditing, PagesKeepTheirOwnCells) {
  ot::TEditorState state;
  FillPositions(state.TextStrGrid);
  FillPositions(state.SlideStrGrid);
  ot::TextStrGridMouseDown(state, 1, 2);
  ot::SlideStrGridMouseDown(state, 3, 9);
  EXPECT_EQ(state.TextEdit, "1,2");
  EXPECT_EQ(state.SlideEdit, "3,9");
  state.TextEdit = Gbk("正文");
  ot::TextModBtnClick(state);
  EXPECT_EQ(state.TextStrGrid.Cells(1, 2), Gbk("正文"));
  EXPECT_EQ(state.SlideStrGrid.Cells(3, 9), "3,9");
  // No other page's button is enabled by a pick.
  for (const ot::Button* b : {&state.DialogModBtn, &state.FilterModBtn, &state.GateModBtn,
                              &state.ItemModBtn, &state.MovereqModBtn, &state.SkillModBtn})
    EXPECT_FALSE(b->Enabled);
}

TEST(CellEditing, RememberedCellSurvivesNewContents) {
  ot::TEditorState state;
  ot::StringGrid& grid = state.TextStrGrid;
  grid.SetRowCount(2049);
  ot::TextStrGridMouseDown(state, 1, 2000);
  state.TextEdit = "x";
  // A smaller table replaces the grid's rows: "修正" finds no such cell and writes nothing.
  grid.SetRowCount(1501);
  ot::TextModBtnClick(state);
  EXPECT_EQ(grid.RowCount(), 1501);
  EXPECT_TRUE(state.TextModBtn.Enabled);
  // A larger one again: the same position of the new contents gets the box's text.
  grid.SetRowCount(2049);
  grid.Cells(1, 2000) = "new contents";
  ot::TextModBtnClick(state);
  EXPECT_EQ(grid.Cells(1, 2000), "x");
}

}  // namespace
