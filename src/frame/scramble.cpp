#include "frame/scramble.h"

#include <cstddef>

namespace ot {
namespace {

// The key repeated over a chunk whose length is a multiple of 3, so that every chunk of a
// record starts again at key byte 0 without breaking the pattern.
constexpr size_t kChunk = 96;
struct Pattern {
  uint8_t bytes[kChunk];
  constexpr Pattern() : bytes() {
    for (size_t i = 0; i < kChunk; ++i) bytes[i] = kScrambleKey[i % 3];
  }
};
constexpr Pattern kPattern;

inline void XorChunk(uint8_t* d, const uint8_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(s[i] ^ kPattern.bytes[i]);
}

}  // namespace

void ScrambleRecords(uint8_t* destination, const uint8_t* source, int32_t count,
                     int32_t recordLength) {
  if (count <= 0 || recordLength < 1) return;
  const size_t total = static_cast<size_t>(count);
  const size_t length = static_cast<size_t>(recordLength);
  for (size_t start = 0; start < total; start += length) {
    // The bytes after the last whole record take the key as if they began one more record.
    const size_t recordEnd = start + length < total ? start + length : total;
    for (size_t pos = start; pos < recordEnd; pos += kChunk) {
      const size_t n = recordEnd - pos < kChunk ? recordEnd - pos : kChunk;
      if (n == kChunk) {
        XorChunk(destination + pos, source + pos, kChunk);
      } else {
        XorChunk(destination + pos, source + pos, n);
      }
    }
  }
}

}  // namespace ot
