#include "frame/grid.h"

#include <stdexcept>
#include <utility>

namespace ot {

StringGrid::StringGrid(int colCount, int rowCount) : cols_(0), rows_(0) {
  if (colCount < 0 || rowCount < 0) throw std::invalid_argument("negative grid size");
  cols_ = colCount;
  rows_ = rowCount;
  cells_.resize(static_cast<size_t>(cols_) * static_cast<size_t>(rows_));
}

void StringGrid::SetRowCount(int rows) {
  if (rows < 0) throw std::invalid_argument("negative row count");
  rows_ = rows;
  cells_.resize(static_cast<size_t>(cols_) * static_cast<size_t>(rows_));
}

void StringGrid::SetColCount(int cols) {
  if (cols < 0) throw std::invalid_argument("negative column count");
  if (cols == cols_) return;
  std::vector<std::string> cells(static_cast<size_t>(cols) * static_cast<size_t>(rows_));
  const int keep = cols < cols_ ? cols : cols_;
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < keep; ++c)
      cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] =
          std::move(cells_[Index(c, r)]);
  cells_ = std::move(cells);
  cols_ = cols;
}

}  // namespace ot
