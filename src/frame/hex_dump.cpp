#include "frame/hex_dump.h"

#include <algorithm>
#include <charconv>

namespace ot {

std::string HexDump(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  constexpr size_t kPerLine = 16;
  std::string out;
  // 74 characters and a line break for each line with a 4-digit offset.
  out.reserve((bytes.size() + kPerLine - 1) / kPerLine * 75);
  for (size_t start = 0; start < bytes.size(); start += kPerLine) {
    if (start > 0) out += '\n';
    char offset[2 * sizeof(size_t)];
    const auto end = std::to_chars(offset, offset + sizeof offset, start, 16).ptr;
    const size_t digits = static_cast<size_t>(end - offset);
    if (digits < 4) out.append(4 - digits, '0');
    out.append(offset, digits);
    out += ' ';
    const size_t count = std::min(kPerLine, bytes.size() - start);
    for (size_t i = 0; i < kPerLine; ++i) {
      out += ' ';
      if (i == 8) out += ' ';
      if (i < count) {
        out += kDigits[bytes[start + i] >> 4];
        out += kDigits[bytes[start + i] & 0xF];
      } else {
        out += "  ";
      }
    }
    out += "  |";
    for (size_t i = 0; i < count; ++i) {
      const uint8_t b = bytes[start + i];
      out += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '.';
    }
    out += '|';
  }
  return out;
}

}  // namespace ot
