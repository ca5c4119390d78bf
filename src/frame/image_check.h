// A guard of the open steps: the file image must have the size of the layout it is opened
// as, so that no open step reads outside the image whoever calls it.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "frame/table_unit.h"

namespace ot {

// Throws std::invalid_argument for a layout index out of range or an image of another size.
inline void RequireLayoutSize(const TableUnit& unit, std::span<const uint8_t> image, int layout) {
  const auto& layouts = unit.Layouts();
  if (layout < 0 || static_cast<size_t>(layout) >= layouts.size() ||
      image.size() != static_cast<size_t>(layouts[static_cast<size_t>(layout)].Size))
    throw std::invalid_argument(std::string(unit.FileName()) + ": a file image of " +
                                std::to_string(image.size()) +
                                " bytes does not match the layout it is opened as");
}

}  // namespace ot
