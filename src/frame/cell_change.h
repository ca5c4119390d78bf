// A change of one cell's text, kept so that a step of the window's undo stack can be done
// and undone.
#pragma once

#include <string>
#include <vector>

#include "frame/grid.h"

namespace ot {

// The cell at (Col, Row) holding Before and to hold After (both code page 936 bytes).
struct CellChange {
  int Col;
  int Row;
  std::string Before;
  std::string After;
  bool operator==(const CellChange&) const = default;
};

// Writes every change's After in order, or with undo every change's Before in reverse order,
// so that undoing a list that touches one cell twice restores its first text. Changes of
// cells outside the grid are skipped.
void ApplyCellChanges(StringGrid& grid, const std::vector<CellChange>& changes, bool undo);

}  // namespace ot
