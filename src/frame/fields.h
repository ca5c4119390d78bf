// Field access inside a record: little-endian numbers of one, two or four bytes and
// fixed-width text fields, never reading or writing outside the field.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ot {

inline uint8_t GetU8(const uint8_t* p) { return p[0]; }
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

// Stores the low bytes of a value (two's complement), width 1, 2 or 4.
inline void PutLow(uint8_t* p, int width, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < width; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The unsigned value of a field of width 1, 2 or 4.
inline uint32_t GetUnsigned(const uint8_t* p, int width) {
  return width == 1 ? GetU8(p) : width == 2 ? GetU16(p) : GetU32(p);
}

// Sets a cell to the decimal text of a number, without a temporary string. Formatting in
// the value's own type keeps the common unsigned byte and word fields cheap.
template <typename Integer>
inline void AssignDecimal(std::string& cell, Integer value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  // A handful of digits: copied by hand into the cell's own (short-string) buffer rather
  // than through a library memcpy call per cell.
  const size_t n = static_cast<size_t>(r.ptr - buf);
  cell.resize(n);
  char* d = cell.data();
  for (size_t i = 0; i < n; ++i) d[i] = buf[i];
}

// A text field: its bytes up to the first NUL, or the whole field when it holds none.
inline std::string_view ReadTextField(const uint8_t* field, size_t width) {
  const void* nul = std::memchr(field, 0, width);
  size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - field) : width;
  return {reinterpret_cast<const char*>(field), n};
}

// The text field rule: a shorter text is written from the field's first byte and followed
// by one NUL, the rest of the field keeps its bytes; a text as long as the field or longer
// is cut to the field's width and written without a terminator.
inline void WriteTextField(uint8_t* field, size_t width, std::string_view text) {
  if (text.size() < width) {
    if (!text.empty()) std::memcpy(field, text.data(), text.size());
    field[text.size()] = 0;
  } else {
    std::memcpy(field, text.data(), width);
  }
}

}  // namespace ot
