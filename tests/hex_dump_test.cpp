#include "frame/hex_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(HexDump, LinesOfSixteenBytes) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* dump;
  } cases[] = {
      {{}, ""},
      {{0x7e}, "0000  7e                                                |~|"},
      {Bytes(std::string_view("Hello, world!\x00\x7f\xff", 16)),
       "0000  48 65 6c 6c 6f 2c 20 77  6f 72 6c 64 21 00 7f ff  |Hello, world!...|"},
      {{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d,
        0x1e, 0x1f, 0x20},
       "0000  10 11 12 13 14 15 16 17  18 19 1a 1b 1c 1d 1e 1f  |................|\n"
       "0010  20                                                | |"},
      {Bytes("The quick brown fox jumps over the lazy "),
       "0000  54 68 65 20 71 75 69 63  6b 20 62 72 6f 77 6e 20  |The quick brown |\n"
       "0010  66 6f 78 20 6a 75 6d 70  73 20 6f 76 65 72 20 74  |fox jumps over t|\n"
       "0020  68 65 20 6c 61 7a 79 20                           |he lazy |"},
  };
  for (const auto& c : cases) EXPECT_EQ(ot::HexDump(c.bytes), c.dump) << c.bytes.size();
}

TEST(HexDump, OffsetGrowsPastFourDigits) {
  std::vector<uint8_t> bytes(0x10012, 0x41);
  const std::string dump = ot::HexDump(bytes);
  const std::string full = "  41 41 41 41 41 41 41 41  41 41 41 41 41 41 41 41  |AAAAAAAAAAAAAAAA|";
  EXPECT_NE(dump.find("\nfff0" + full + "\n10000" + full), std::string::npos);
  EXPECT_TRUE(dump.ends_with(
      "\n10010  41 41                                             |AA|"));
  EXPECT_EQ(dump.back(), '|');
}

}  // namespace
