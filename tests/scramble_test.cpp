#include "frame/scramble.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/support.h"

namespace {

using ot::ScrambleRecords;

constexpr uint8_t K0 = 0x3A, K1 = 0x95, K2 = 0x6E;

// The key byte that each position of a zero range receives.
std::vector<uint8_t> KeyOfZeros(int32_t count, int32_t length) {
  std::vector<uint8_t> b(static_cast<size_t>(count), 0);
  ScrambleRecords(b.data(), b.data(), count, length);
  return b;
}

TEST(ScrambleRecords, KeyRestartsAtEveryRecordBoundary) {
  struct Case {
    int32_t length;
    int32_t position;
    uint8_t key;
  } cases[] = {
      // Record length 80 (the move-request range): positions 0..3 take K0 K1 K2 K0, position
      // 79 takes K1, position 80 starts again with K0.
      {80, 0, K0}, {80, 1, K1}, {80, 2, K2}, {80, 3, K0}, {80, 79, K1}, {80, 80, K0},
      // Record length 20: positions 18, 19, 20 take K0, K1, K0.
      {20, 18, K0}, {20, 19, K1}, {20, 20, K0},
      // Record lengths 3 and 9 simply repeat the key.
      {3, 3, K0}, {3, 4, K1}, {3, 5, K2}, {9, 9, K0}, {9, 10, K1}, {9, 17, K2},
      // 1024: record 1 starts again at K0 although 1024 mod 3 = 1.
      {1024, 1023, K0}, {1024, 1024, K0}, {1024, 1025, K1},
  };
  for (const auto& c : cases) {
    auto key = KeyOfZeros(c.position + 1, c.length);
    EXPECT_EQ(key[static_cast<size_t>(c.position)], c.key)
        << "record length " << c.length << ", position " << c.position;
  }
}

TEST(ScrambleRecords, TrailingBytesTakeTheKeyAsANewRecord) {
  // 52 * 256 + 4: the check value of the skill table is scrambled as bytes 0..3 of a record.
  auto key = KeyOfZeros(13316, 52);
  EXPECT_EQ(key[13312], K0);
  EXPECT_EQ(key[13313], K1);
  EXPECT_EQ(key[13314], K2);
  EXPECT_EQ(key[13315], K0);
}

TEST(ScrambleRecords, MatchesTheDefinitionAndIsItsOwnInverse) {
  for (int32_t length : {1, 2, 3, 9, 20, 52, 60, 64, 76, 80, 84, 97, 300, 1024}) {
    const std::string plain = ottest::PatternBytes(5000, static_cast<uint32_t>(length));
    const std::string expected = ottest::Scramble(plain, 0, plain.size(), static_cast<size_t>(length));
    std::vector<uint8_t> buf(plain.begin(), plain.end());
    std::vector<uint8_t> dst(buf.size());
    ScrambleRecords(dst.data(), buf.data(), static_cast<int32_t>(buf.size()), length);
    EXPECT_EQ(std::string(dst.begin(), dst.end()), expected) << "record length " << length;
    ScrambleRecords(dst.data(), dst.data(), static_cast<int32_t>(dst.size()), length);
    EXPECT_EQ(std::string(dst.begin(), dst.end()), plain) << "record length " << length;
  }
}

TEST(ScrambleRecords, CountOfZeroOrLessChangesNothing) {
  for (int32_t count : {0, -1, -1000}) {
    std::vector<uint8_t> b(8, 0x55);
    ScrambleRecords(b.data(), b.data(), count, 3);
    EXPECT_EQ(b, std::vector<uint8_t>(8, 0x55));
  }
}

}  // namespace
