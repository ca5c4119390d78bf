#include "frame/gridtext.h"

#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/errors.h"

namespace ot {
namespace {

std::string Where(size_t row, size_t col) {
  return "row " + std::to_string(row) + ", column " + std::to_string(col);
}

bool NeedsQuotes(std::string_view cell) {
  return cell.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendCell(std::string& out, const std::string& cell, size_t row, size_t col,
                GridFormat format, GridEncoding encoding) {
  std::string converted;
  const std::string* text = &cell;
  if (encoding == GridEncoding::Utf8) {
    auto utf8 = TryCp936ToUtf8(cell);
    if (!utf8)
      throw DataError("the cell at " + Where(row, col) +
                      " is not valid code page 936 text; use --encoding gbk to pass its bytes");
    converted = std::move(*utf8);
    text = &converted;
  }
  if (format == GridFormat::Tsv) {
    if (text->find_first_of("\t\r\n") != std::string::npos)
      throw DataError("the cell at " + Where(row, col) +
                      " holds a tab or a line break, which TSV cannot hold; use --format csv");
    out += *text;
    return;
  }
  if (!NeedsQuotes(*text)) {
    out += *text;
    return;
  }
  out += '"';
  for (char c : *text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

template <typename CellAt>
std::string WriteText(size_t rows, size_t cols, CellAt cellAt, GridFormat format,
                      GridEncoding encoding) {
  std::string out;
  out.reserve(rows * cols * 4);
  const char sep = format == GridFormat::Csv ? ',' : '\t';
  const char* eol = format == GridFormat::Csv ? "\r\n" : "\n";
  for (size_t r = 0; r < rows; ++r) {
    const size_t n = cols ? cols : cellAt.ColsOf(r);
    for (size_t c = 0; c < n; ++c) {
      if (c) out += sep;
      AppendCell(out, cellAt(c, r), r, c, format, encoding);
    }
    out += eol;
  }
  return out;
}

}  // namespace

std::string WriteGridText(const StringGrid& grid, GridFormat format, GridEncoding encoding) {
  struct At {
    const StringGrid& g;
    const std::string& operator()(size_t c, size_t r) const {
      return g.Cells(static_cast<int>(c), static_cast<int>(r));
    }
    size_t ColsOf(size_t) const { return static_cast<size_t>(g.ColCount()); }
  };
  return WriteText(static_cast<size_t>(grid.RowCount()), static_cast<size_t>(grid.ColCount()),
                   At{grid}, format, encoding);
}

std::string WriteRowsText(const GridRows& rows, GridFormat format, GridEncoding encoding) {
  struct At {
    const GridRows& rows;
    const std::string& operator()(size_t c, size_t r) const { return rows[r][c]; }
    size_t ColsOf(size_t r) const { return rows[r].size(); }
  };
  return WriteText(rows.size(), 0, At{rows}, format, encoding);
}

GridRows ReadGridText(std::string_view text, GridFormat format, GridEncoding encoding) {
  if (encoding == GridEncoding::Utf8 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  GridRows rows;
  if (text.empty()) return rows;
  const char sep = format == GridFormat::Csv ? ',' : '\t';
  std::vector<std::string> row;
  std::string field;
  size_t line = 1;  // line of the text, for messages
  size_t i = 0;
  const size_t n = text.size();
  auto finishField = [&] {
    if (encoding == GridEncoding::Utf8) {
      auto cp = TryUtf8ToCp936(field);
      if (!cp)
        throw DataError("line " + std::to_string(line) + ", field " +
                        std::to_string(row.size() + 1) +
                        ": the text is not valid UTF-8 or holds a character that code page "
                        "936 cannot store");
      field = std::move(*cp);
    }
    row.push_back(std::move(field));
    field.clear();
  };
  auto finishRow = [&] {
    finishField();
    rows.push_back(std::move(row));
    row.clear();
  };
  while (i < n) {
    const size_t fieldLine = line;
    if (format == GridFormat::Csv && text[i] == '"') {
      ++i;
      for (;;) {
        if (i >= n)
          throw DataError("line " + std::to_string(fieldLine) +
                          ": a quoted field is not closed (unbalanced quotes)");
        char c = text[i];
        if (c == '\0') throw DataError("line " + std::to_string(line) + ": NUL byte in the text");
        if (c == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (c == '\n') ++line;
        field += c;
        ++i;
      }
      if (i < n && text[i] != sep && text[i] != '\n' && text[i] != '\r')
        throw DataError("line " + std::to_string(line) +
                        ": characters after the closing quote of a field");
    }
    // Unquoted part (the whole field, or nothing after a quoted one).
    while (i < n && text[i] != sep && text[i] != '\n' && text[i] != '\r') {
      char c = text[i];
      if (c == '\0') throw DataError("line " + std::to_string(line) + ": NUL byte in the text");
      if (c == '"' && format == GridFormat::Csv)
        throw DataError("line " + std::to_string(line) +
                        ": a double quote inside an unquoted field (unbalanced quotes)");
      field += c;
      ++i;
    }
    if (i >= n) {
      finishRow();
      break;
    }
    if (text[i] == sep) {
      finishField();
      ++i;
      if (i == n) finishRow();  // a line ending in a separator and no line break
      continue;
    }
    if (text[i] == '\r') {
      if (i + 1 >= n || text[i + 1] != '\n')
        throw DataError("line " + std::to_string(line) + ": a CR without LF outside quotes");
      ++i;
    }
    ++i;  // LF
    finishRow();
    ++line;
  }
  return rows;
}

void ApplyGridRows(TEditorState& state, int page, const GridRows& rows) {
  StringGrid* grid = state.GridOfPage(page);
  const TableUnit* unit = state.UnitOfPage(page);
  if (!grid || !unit) throw DataError("this page has no grid");
  const bool variable = unit->VariableRows();
  const size_t want = static_cast<size_t>(grid->RowCount());
  if (rows.empty()) throw DataError("the grid text is empty: it needs at least the title row");
  if (!variable && rows.size() != want)
    throw DataError("the grid text has " + std::to_string(rows.size() - 1) +
                    " data rows; this table has " + std::to_string(want - 1) + " records");
  const size_t cols = static_cast<size_t>(grid->ColCount());
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].size() != cols)
      throw DataError("row " + std::to_string(r) + " of the grid text has " +
                      std::to_string(rows[r].size()) + " columns; the grid has " +
                      std::to_string(cols));
  if (variable) grid->SetRowCount(static_cast<int>(rows.size()));
  for (size_t r = 1; r < rows.size(); ++r) {
    // Rows that may be added or removed are numbered by their position, from 1, as Open
    // numbers them; column 0 of the text is ignored like everywhere else.
    if (variable) grid->Cells(0, static_cast<int>(r)) = std::to_string(r);
    for (size_t c = 1; c < cols; ++c)
      grid->Cells(static_cast<int>(c), static_cast<int>(r)) = rows[r][c];
  }
}

}  // namespace ot
