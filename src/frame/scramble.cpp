#include "frame/scramble.h"

#include <cstddef>
#include <cstring>

namespace ot {
namespace {

// The key repeated over a chunk whose length is a multiple of 3, so that every chunk of a
// record starts again at key byte 0 without breaking the pattern.
constexpr size_t kChunk = 192;
struct Pattern {
  uint8_t bytes[kChunk];
  constexpr Pattern() : bytes() {
    for (size_t i = 0; i < kChunk; ++i) bytes[i] = kScrambleKey[i % 3];
  }
};
constexpr Pattern kPattern;

// XOR of n <= kChunk bytes with the pattern, 32 bytes at a time where it can.
__attribute__((always_inline)) inline void XorChunk(uint8_t* d, const uint8_t* s, size_t n) {
  typedef uint8_t Block __attribute__((vector_size(32)));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    Block a, k;
    std::memcpy(&a, s + i, 32);
    std::memcpy(&k, kPattern.bytes + i, 32);
    a ^= k;
    std::memcpy(d + i, &a, 32);
  }
  if (i + 16 <= n) {
    typedef uint8_t Half __attribute__((vector_size(16)));
    Half a, k;
    std::memcpy(&a, s + i, 16);
    std::memcpy(&k, kPattern.bytes + i, 16);
    a ^= k;
    std::memcpy(d + i, &a, 16);
    i += 16;
  }
  if (i + 8 <= n) {
    uint64_t a, k;
    std::memcpy(&a, s + i, 8);
    std::memcpy(&k, kPattern.bytes + i, 8);
    a ^= k;
    std::memcpy(d + i, &a, 8);
    i += 8;
  }
  for (; i < n; ++i) d[i] = static_cast<uint8_t>(s[i] ^ kPattern.bytes[i]);
}

}  // namespace

// Built for AVX2 and for any x86-64; the loader picks the one the processor runs.
#if defined(__x86_64__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void ScrambleRecords(uint8_t* destination, const uint8_t* source, int32_t count,
                     int32_t recordLength) {
  if (count <= 0 || recordLength < 1) return;
  const size_t total = static_cast<size_t>(count);
  const size_t length = static_cast<size_t>(recordLength);
  if (length % 3 == 0) {
    // Every record starts on key byte 0 anyway: the key simply repeats over the range.
    for (size_t pos = 0; pos < total; pos += kChunk)
      XorChunk(destination + pos, source + pos, total - pos < kChunk ? total - pos : kChunk);
    return;
  }
  for (size_t start = 0; start < total; start += length) {
    // The bytes after the last whole record take the key as if they began one more record.
    const size_t recordEnd = start + length < total ? start + length : total;
    for (size_t pos = start; pos < recordEnd; pos += kChunk) {
      const size_t n = recordEnd - pos < kChunk ? recordEnd - pos : kChunk;
      XorChunk(destination + pos, source + pos, n);
    }
  }
}

}  // namespace ot
