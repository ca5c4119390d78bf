// The properties the fuzz targets check, shared with the regression test that replays the
// inputs the fuzzers once found. Each check aborts on a violated property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace otfuzz {

// The first byte picks an extension and size (every row of the recognition table, and some
// it refuses); the rest fills the file. Open must not crash; a table that opens must save,
// and saving must be stable: opening and saving the saved bytes gives the same bytes.
void CheckOpenThenSave(const uint8_t* data, size_t size);

// Grid text in every format and encoding: reading never crashes; what was read, written and
// read again gives the same cells; applying it to a table and saving never crashes.
void CheckGridText(const uint8_t* data, size_t size);

// The integer conversion agrees with a slow reference written independently.
void CheckIntegerConversion(const uint8_t* data, size_t size);

// Seed inputs for a target ("open", "gridtext", "intconv"), generated in code.
std::vector<std::string> Seeds(const std::string& target);

}  // namespace otfuzz
