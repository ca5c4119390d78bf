#include "frame/fields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Field(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

TEST(TextField, ReadStopsAtNulOrFieldEnd) {
  const uint8_t withNul[6] = {'a', 'b', 0, 'c', 'd', 'e'};
  EXPECT_EQ(ot::ReadTextField(withNul, 6), "ab");
  const uint8_t full[4] = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(ot::ReadTextField(full, 4), "wxyz");  // no NUL: the whole field, never past it
  const uint8_t empty[3] = {0, 'q', 'r'};
  EXPECT_EQ(ot::ReadTextField(empty, 3), "");
}

TEST(TextField, WriteRule) {
  struct Case {
    const char* text;
    const char* expected;  // the 6 field bytes plus a guard byte that must stay '#'
  } cases[] = {
      {"ab", "ab\0DEF#"},      // shorter: text, one NUL, the rest keeps the old bytes
      {"", "\0BCDEF#"},        // empty: a NUL in the first byte
      {"abcde", "abcde\0#"},   // one shorter than the field: the NUL in the last byte
      {"abcdef", "abcdef#"},   // as long as the field: no terminator
      {"abcdefgh", "abcdef#"}, // longer: cut to the field
  };
  for (const auto& c : cases) {
    uint8_t buf[7] = {'A', 'B', 'C', 'D', 'E', 'F', '#'};
    ot::WriteTextField(buf, 6, c.text);
    EXPECT_EQ(Field(buf, 7), std::string(c.expected, 7)) << "'" << c.text << "'";
  }
}

TEST(NumberFields, LowBytesAndLittleEndian) {
  uint8_t b[4] = {};
  ot::PutLow(b, 1, 256);
  EXPECT_EQ(b[0], 0);
  ot::PutLow(b, 1, -1);
  EXPECT_EQ(b[0], 255);
  ot::PutLow(b, 1, 300);
  EXPECT_EQ(b[0], 44);
  ot::PutLow(b, 2, 65536 + 0x1234);
  EXPECT_EQ(ot::GetU16(b), 0x1234);
  EXPECT_EQ(b[0], 0x34);
  ot::PutLow(b, 4, -1);
  EXPECT_EQ(ot::GetI32(b), -1);
  EXPECT_EQ(ot::GetU32(b), 0xFFFFFFFFu);
}

}  // namespace
