#include "frame/intconv.h"

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "support/support.h"

namespace {

TEST(StrToInt, AcceptedTexts) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},
      {"7", 7},
      {" 7", 7},
      {"   42", 42},
      {"+5", 5},
      {"-1", -1},
      {"00", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FF", 255},
      {"$ff", 255},
      {"0xff", 255},
      {"0XFF", 255},
      {"0x0", 0},
      {"$FFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"-$10", -16},
      {" -0x10", -16},
      {"256", 256},
      {"300", 300},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ot::StrToInt(c.text), c.value) << "'" << c.text << "'";
    EXPECT_EQ(ot::TryStrToInt(c.text), c.value) << "'" << c.text << "'";
  }
}

TEST(StrToInt, RejectedTextsRaiseTheConversionError) {
  const char* cases[] = {
      "",         " ",         "7 ",        "abc",         "1a",          "-",
      "+",        "$",         "0x",        "$G",          "0xZ",         "2147483648",
      "-2147483649", "99999999999", "$100000000", "1 2",     "--1",         "+-1",
      "1.0",      "\t7",       "7\n",       "0x 1",        "$ 1",
  };
  for (const char* text : cases) {
    EXPECT_EQ(ot::TryStrToInt(text), std::nullopt) << "'" << text << "'";
    try {
      ot::StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ot::ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
      EXPECT_EQ(e.CellText, text);
    }
  }
}

TEST(StrToInt, MessageShowsTheCellTextDecoded) {
  // Cells hold code page 936 bytes; the message is for the user and in UTF-8.
  const std::string cell = ottest::Gbk("一");
  try {
    ot::StrToInt(cell);
    ADD_FAILURE();
  } catch (const ot::ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'一' is not a valid integer value");
    EXPECT_EQ(e.CellText, cell);
  }
}

}  // namespace
