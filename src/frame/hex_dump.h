// Bytes as a hex dump for reading: the raw bytes of a record or a cell.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ot {

// Lines of 16 bytes: the offset in lowercase hex (at least 4 digits), two blanks, the bytes as
// lowercase hex pairs separated by blanks with one more blank after the 8th, two blanks, and
// the bytes between bars with every byte outside 0x20..0x7e shown as '.'. The last line is
// padded so its bars line up with the others. Lines are joined by '\n' with none after the
// last; no bytes give an empty string.
std::string HexDump(std::span<const uint8_t> bytes);

}  // namespace ot
