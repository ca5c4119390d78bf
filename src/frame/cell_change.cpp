#include "frame/cell_change.h"

namespace ot {

void ApplyCellChanges(StringGrid& grid, const std::vector<CellChange>& changes, bool undo) {
  if (undo) {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
      if (grid.Contains(it->Col, it->Row)) grid.Cells(it->Col, it->Row) = it->Before;
    return;
  }
  for (const CellChange& c : changes)
    if (grid.Contains(c.Col, c.Row)) grid.Cells(c.Col, c.Row) = c.After;
}

}  // namespace ot
