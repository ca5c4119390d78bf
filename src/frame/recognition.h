// The recognition table: which table and layout a file is, by its extension and exact size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ot {

struct Recognition {
  std::string_view Extension;  // compared byte for byte: case counts
  int64_t Size;                // exact size in bytes; -1 for any size
  int Page;                    // the page of PageC, which names the table unit
  int Layout;                  // index into the unit's Layouts()
};

// Every row of the recognition table, in the order it is searched.
std::span<const Recognition> RecognitionTable();

// The row for a file of this extension and size, or nullopt.
std::optional<Recognition> Recognise(std::string_view extension, int64_t size);
// Whether files of this extension are recognised whatever their size (".wtf").
bool AnySizeExtension(std::string_view extension);

// The extension of a file name from its last dot, dot included; empty when the last path
// component has no dot.
std::string_view ExtractFileExt(std::string_view path);

}  // namespace ot
