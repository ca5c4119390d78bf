#include "frame/grid_search.h"

#include <cstdint>

#include "frame/cp936.h"

namespace ot {
namespace {

constexpr size_t npos = std::string_view::npos;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The needle prepared once for a whole search: folded to lower case when case does not matter.
// Folding touches ASCII letters only, which is safe on UTF-8 (no byte of a multi-byte sequence
// is ASCII) but not on code page 936, whose trail bytes can be ASCII letters; so every match is
// decided on UTF-8 text.
class Matcher {
 public:
  Matcher(std::string_view needle, SearchOptions options)
      : needle_(needle), options_(options), needleAscii_(IsAscii(needle)) {
    if (!options_.MatchCase)
      for (char& c : needle_) c = Lower(c);
  }

  bool Matches(std::string_view cellCp936) const {
    switch (Precheck(cellCp936)) {
      case Check::No:
        return false;
      case Check::Bytes:
        return MatchesText(cellCp936);
      case Check::Decode:
        break;
    }
    return MatchesText(Cp936ToUtf8Lossy(cellCp936));
  }

  std::optional<std::string> Replace(std::string_view cellCp936,
                                     std::string_view replacement) const {
    std::string decoded;
    std::string_view text = cellCp936;
    switch (Precheck(cellCp936)) {
      case Check::No:
        return std::nullopt;
      case Check::Bytes:
        break;
      case Check::Decode: {
        auto utf8 = TryCp936ToUtf8(cellCp936);
        if (!utf8) return std::nullopt;
        decoded = std::move(*utf8);
        text = decoded;
        break;
      }
    }
    if (!MatchesText(text)) return std::nullopt;
    if (options_.WholeCell) return TryUtf8ToCp936(replacement);
    std::string out;
    size_t pos = 0;
    for (size_t at = Find(text, 0); at != npos; at = Find(text, pos)) {
      out.append(text.substr(pos, at - pos));
      out.append(replacement);
      pos = at + needle_.size();
    }
    out.append(text.substr(pos));
    return TryUtf8ToCp936(out);
  }

 private:
  enum class Check {
    No,      // the cell cannot match
    Bytes,   // the cell is ASCII: its bytes are its UTF-8 text
    Decode,  // the cell must be decoded to tell
  };

  Check Precheck(std::string_view cellCp936) const {
    if (needle_.empty()) return Check::No;
    if (IsAscii(cellCp936)) return Check::Bytes;
    if (!needleAscii_) return Check::Decode;
    // Every byte from 0x80 decodes to a character outside ASCII (or U+FFFD), so such a cell
    // never equals an ASCII needle.
    if (options_.WholeCell) return Check::No;
    // The ASCII characters of the decoded text are ASCII bytes of the cell, adjacent ones
    // adjacent: an ASCII needle absent from the bytes is absent from the text. The bytes may
    // hold it where the text does not (in trail bytes), which decoding then settles.
    return Find(cellCp936, 0) == npos ? Check::No : Check::Decode;
  }

  bool MatchesText(std::string_view text) const {
    if (options_.WholeCell) {
      if (text.size() != needle_.size()) return false;
      return Find(text, 0) == 0;
    }
    return Find(text, 0) != npos;
  }

  // The first occurrence of the needle in text from pos on.
  size_t Find(std::string_view text, size_t pos) const {
    if (options_.MatchCase) return text.find(needle_, pos);
    const size_t n = needle_.size();
    if (n > text.size()) return npos;
    const char first = needle_[0];
    for (size_t i = pos; i + n <= text.size(); ++i) {
      if (Lower(text[i]) != first) continue;
      size_t j = 1;
      while (j < n && Lower(text[i + j]) == needle_[j]) ++j;
      if (j == n) return i;
    }
    return npos;
  }

  std::string needle_;
  SearchOptions options_;
  bool needleAscii_;
};

}  // namespace

bool CellMatches(std::string_view cellCp936, std::string_view needleUtf8, SearchOptions options) {
  return Matcher(needleUtf8, options).Matches(cellCp936);
}

std::optional<CellPos> FindCell(const StringGrid& grid, std::string_view needleUtf8,
                                CellPos from, bool forward, SearchOptions options,
                                int firstCol) {
  if (firstCol < 0) firstCol = 0;
  const int cols = grid.ColCount();
  const int rows = grid.RowCount();
  if (needleUtf8.empty() || firstCol >= cols || rows < 2) return std::nullopt;
  const Matcher matcher(needleUtf8, options);

  int col = from.Col;
  int row = from.Row;
  auto step = [&] {
    if (forward) {
      if (++col == cols) {
        col = firstCol;
        if (++row == rows) row = 1;
      }
    } else if (--col < firstCol) {
      col = cols - 1;
      if (--row < 1) row = rows - 1;
    }
  };
  if (row >= 1 && row < rows && col >= firstCol && col < cols) {
    step();
  } else {
    col = forward ? firstCol : cols - 1;
    row = forward ? 1 : rows - 1;
  }
  const int64_t count = static_cast<int64_t>(cols - firstCol) * (rows - 1);
  for (int64_t i = 0; i < count; ++i, step())
    if (matcher.Matches(grid.Cells(col, row))) return CellPos{col, row};
  return std::nullopt;
}

std::optional<std::string> ReplaceInCell(std::string_view cellCp936, std::string_view needleUtf8,
                                         std::string_view replacementUtf8,
                                         SearchOptions options) {
  return Matcher(needleUtf8, options).Replace(cellCp936, replacementUtf8);
}

std::vector<CellChange> ReplaceAll(const StringGrid& grid, std::string_view needleUtf8,
                                   std::string_view replacementUtf8, SearchOptions options,
                                   int firstCol) {
  if (firstCol < 0) firstCol = 0;
  std::vector<CellChange> changes;
  if (needleUtf8.empty()) return changes;
  const Matcher matcher(needleUtf8, options);
  for (int row = 1; row < grid.RowCount(); ++row) {
    for (int col = firstCol; col < grid.ColCount(); ++col) {
      const std::string& cell = grid.Cells(col, row);
      auto after = matcher.Replace(cell, replacementUtf8);
      if (after) changes.push_back({col, row, cell, std::move(*after)});
    }
  }
  return changes;
}

}  // namespace ot
