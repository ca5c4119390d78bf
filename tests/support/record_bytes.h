// Writing and reading plain record bytes in tests, from the fields' definitions: numbers
// little-endian, text fields as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ottest {

// Stores the low `width` bytes of value at offset, little-endian.
inline void PutLe(std::string& bytes, size_t offset, int width, int64_t value) {
  for (int i = 0; i < width; ++i)
    bytes[offset + static_cast<size_t>(i)] =
        static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
}

// The unsigned little-endian value of `width` bytes at offset.
inline uint32_t GetLe(std::string_view bytes, size_t offset, int width) {
  uint32_t v = 0;
  for (int i = width - 1; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<size_t>(i)]);
  return v;
}

// Copies text to offset, as raw bytes, without a terminator.
inline void PutBytes(std::string& bytes, size_t offset, std::string_view text) {
  bytes.replace(offset, text.size(), text);
}

}  // namespace ottest
