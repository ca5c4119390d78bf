// Cell editing through a page's edit box and its "修正" button, on the text page (TextStrGrid,
// TextEdit, TextModBtn) and the slide page (SlideStrGrid, SlideEdit, SlideModBtn). The window
// turns a mouse press into the cell under it and hands that position here.
#pragma once

#include "frame/editor_state.h"

namespace ot {

// A press on the text grid at cell (col, row) as the grid shows it; (-1, -1) when the press
// lies on no cell. A press on the title row, the number column or no cell is refused and
// changes nothing; any other remembers the cell, copies its text into TextEdit and enables
// TextModBtn.
void TextStrGridMouseDown(TEditorState& state, int col, int row);

// The same on the slide grid; columns 1 and 2 are refused as well, so only the text column
// can be picked.
void SlideStrGridMouseDown(TEditorState& state, int col, int row);

// Writes TextEdit into the remembered cell of the text page, unconverted. Does nothing before
// the first accepted press, or when a table opened since holds no such cell.
void TextModBtnClick(TEditorState& state);

// Writes SlideEdit into the remembered cell of the slide page, the same way.
void SlideModBtnClick(TEditorState& state);

}  // namespace ot
