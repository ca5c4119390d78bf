// Find and replace in a string grid. Cells hold code page 936 bytes; the text looked for and
// its replacement are UTF-8 as the user typed them, and every comparison is made on the
// cell's decoded UTF-8 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/cell_change.h"
#include "frame/grid.h"

namespace ot {

// A cell of the grid, addressed as StringGrid::Cells addresses it.
struct CellPos {
  int Col;
  int Row;
  bool operator==(const CellPos&) const = default;
};

struct SearchOptions {
  bool MatchCase = false;  // off: ASCII letters match either case; other letters as they are
  bool WholeCell = false;  // on: the needle must be the whole cell, not a part of it
};

// Whether the cell's text (code page 936) holds the needle (UTF-8). An empty needle matches
// nothing. A cell whose bytes do not decode is compared by its lossy decoding, so the bytes
// that do decode can still be found. Cells of ASCII bytes are compared without conversion.
bool CellMatches(std::string_view cellCp936, std::string_view needleUtf8, SearchOptions options);

// The next matching data cell (rows 1..RowCount-1, columns firstCol..ColCount-1) in row-major
// order after `from` (forward) or before it (backward), wrapping around the grid once; `from`
// itself is tried last, so a lone match is found again. A `from` outside the data cells
// starts forward at the first data cell and backward at the last. nullopt when none matches.
std::optional<CellPos> FindCell(const StringGrid& grid, std::string_view needleUtf8,
                                CellPos from, bool forward, SearchOptions options,
                                int firstCol = 1);

// The cell's new bytes (code page 936) with every occurrence of the needle replaced, from the
// left and not overlapping; with WholeCell the whole cell, when it matches. nullopt when the
// cell does not match, when its bytes do not decode exactly (replacing would destroy bytes
// the user never saw), or when the result cannot be written in code page 936.
std::optional<std::string> ReplaceInCell(std::string_view cellCp936, std::string_view needleUtf8,
                                         std::string_view replacementUtf8,
                                         SearchOptions options);

// The changes that replace the needle in every matching data cell (as FindCell searches),
// in row-major order, not applied. Cells that ReplaceInCell refuses are left out.
std::vector<CellChange> ReplaceAll(const StringGrid& grid, std::string_view needleUtf8,
                                   std::string_view replacementUtf8, SearchOptions options,
                                   int firstCol = 1);

}  // namespace ot
