// The string grid: text cells addressed (column, row), both from 0. Row 0 is the title
// row and column 0 the row-number column. Cells hold the file's bytes (code page 936).
#pragma once

#include <string>
#include <vector>

namespace ot {

class StringGrid {
 public:
  StringGrid(int colCount, int rowCount);

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  // Growing adds empty cells; shrinking drops the cells outside; the others keep their text.
  void SetColCount(int cols);
  void SetRowCount(int rows);

  // The cell at (col, row); both must lie inside the grid.
  std::string& Cells(int col, int row) { return cells_[Index(col, row)]; }
  const std::string& Cells(int col, int row) const { return cells_[Index(col, row)]; }
  bool Contains(int col, int row) const {
    return col >= 0 && row >= 0 && col < cols_ && row < rows_;
  }

 private:
  size_t Index(int col, int row) const {
    return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
  }
  int cols_;
  int rows_;
  std::vector<std::string> cells_;  // row by row
};

}  // namespace ot
