// Helpers of the save steps: a number cell through the integer conversion, with the cell's
// position attached to the error so that callers can point at it.
#pragma once

#include <cstdint>

#include "frame/errors.h"
#include "frame/grid.h"
#include "frame/intconv.h"

namespace ot {

// The text of a cell; a position outside the grid reads as an empty cell.
inline const std::string& CellText(const StringGrid& grid, int col, int row) {
  static const std::string kEmpty;
  return grid.Contains(col, row) ? grid.Cells(col, row) : kEmpty;
}

inline int32_t CellInt(const StringGrid& grid, int col, int row) {
  try {
    return StrToInt(CellText(grid, col, row));
  } catch (ConversionError& e) {
    e.Col = col;
    e.Row = row;
    throw;
  }
}

}  // namespace ot
