// A grid as CSV (RFC 4180) or TSV text and back: the interchange of ot-table dump and apply
// and of the window's CSV export, import and clipboard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/grid.h"

namespace ot {

class TEditorState;

enum class GridFormat { Csv, Tsv };
// Utf8 converts cells from and to code page 936; Gbk passes the bytes unconverted.
enum class GridEncoding { Utf8, Gbk };

using GridRows = std::vector<std::vector<std::string>>;

// Every cell of the grid, title row first, column 0 included. CSV lines end in CR LF, TSV
// lines in LF. Throws DataError for a cell that cannot be written (not valid code page 936
// in Utf8, a tab or line break in TSV), naming its row and column.
std::string WriteGridText(const StringGrid& grid, GridFormat format, GridEncoding encoding);
// Writes rows of cells (code page 936 bytes) the same way.
std::string WriteRowsText(const GridRows& rows, GridFormat format, GridEncoding encoding);

// Parses grid text into rows of cells (code page 936 bytes). Accepts LF and CR LF line ends
// and a UTF-8 byte-order mark (Utf8 only). Throws DataError naming the line for unbalanced
// quotes, a NUL byte, a lone CR, or text that is not valid in the encoding.
GridRows ReadGridText(std::string_view text, GridFormat format, GridEncoding encoding);

// Replaces the data cells of a page's grid (rows from 1, columns from 1) by the rows read,
// whose title row and column 0 are ignored. The rows must have the grid's shape: exactly
// as many rows as the grid (tables of fixed records) or any number of data rows (tables
// whose rows may change, numbered afresh from 1 in column 0), each with the grid's column
// count. Throws DataError otherwise, before any cell changes.
void ApplyGridRows(TEditorState& state, int page, const GridRows& rows);

}  // namespace ot
