#include "frame/cell_editing.h"

namespace ot {
namespace {

void Pick(const StringGrid& grid, int col, int row, RememberedCell& cell, std::string& box,
          Button& button) {
  cell.Valid = true;
  cell.Col = col;
  cell.Row = row;
  box = grid.Cells(col, row);
  button.Enabled = true;
}

void WriteBack(StringGrid& grid, const RememberedCell& cell, const std::string& box) {
  // A table opened after the pick may have fewer rows: the cell is then kept for a later
  // table that has it, and nothing is written outside the grid.
  if (cell.Valid && grid.Contains(cell.Col, cell.Row)) grid.Cells(cell.Col, cell.Row) = box;
}

}  // namespace

void TextStrGridMouseDown(TEditorState& state, int col, int row) {
  StringGrid& grid = state.TextStrGrid;
  if (col <= 0 || row <= 0 || !grid.Contains(col, row)) return;
  Pick(grid, col, row, state.TextCell, state.TextEdit, state.TextModBtn);
}

void SlideStrGridMouseDown(TEditorState& state, int col, int row) {
  StringGrid& grid = state.SlideStrGrid;
  if (col <= 2 || row <= 0 || !grid.Contains(col, row)) return;
  Pick(grid, col, row, state.SlideCell, state.SlideEdit, state.SlideModBtn);
}

void TextModBtnClick(TEditorState& state) {
  WriteBack(state.TextStrGrid, state.TextCell, state.TextEdit);
}

void SlideModBtnClick(TEditorState& state) {
  WriteBack(state.SlideStrGrid, state.SlideCell, state.SlideEdit);
}

}  // namespace ot
