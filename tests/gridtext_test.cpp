#include "frame/gridtext.h"

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "support/support.h"

namespace {

using ot::GridEncoding;
using ot::GridFormat;
using ot::GridRows;

TEST(GridText, CsvQuotesOnlyWhatNeedsIt) {
  ot::StringGrid g(3, 2);
  g.Cells(0, 0) = "a";
  g.Cells(1, 0) = "b,c";
  g.Cells(2, 0) = "say \"hi\"";
  g.Cells(0, 1) = " 7 ";
  g.Cells(1, 1) = "two\nlines";
  g.Cells(2, 1) = "";
  EXPECT_EQ(ot::WriteGridText(g, GridFormat::Csv, GridEncoding::Gbk),
            "a,\"b,c\",\"say \"\"hi\"\"\"\r\n 7 ,\"two\nlines\",\r\n");
}

TEST(GridText, CsvRoundTripKeepsEveryCell) {
  ot::StringGrid g(3, 3);
  const char* texts[] = {"", " ", "a,b", "\"", "x\r\ny", "  lead", "trail  ", "\t", "plain"};
  for (int i = 0; i < 9; ++i) g.Cells(i % 3, i / 3) = texts[i];
  for (auto enc : {GridEncoding::Gbk, GridEncoding::Utf8}) {
    const GridRows rows = ot::ReadGridText(ot::WriteGridText(g, GridFormat::Csv, enc),
                                           GridFormat::Csv, enc);
    ASSERT_EQ(rows.size(), 3u);
    for (int i = 0; i < 9; ++i)
      EXPECT_EQ(rows[static_cast<size_t>(i / 3)][static_cast<size_t>(i % 3)], texts[i]) << i;
  }
}

TEST(GridText, ReadAcceptsLineEndsAndByteOrderMark) {
  const GridRows expected = {{"a", "b"}, {"c", ""}};
  for (const char* text : {"a,b\nc,\n", "a,b\r\nc,\r\n", "a,b\nc,", "\xEF\xBB\xBF" "a,b\nc,\n"}) {
    EXPECT_EQ(ot::ReadGridText(text, GridFormat::Csv, GridEncoding::Utf8), expected) << text;
  }
  EXPECT_EQ(ot::ReadGridText("a\t\"b\"\n", GridFormat::Tsv, GridEncoding::Gbk),
            (GridRows{{"a", "\"b\""}}));
}

TEST(GridText, ReadRefusesMalformedText) {
  struct Case {
    const char* text;
    size_t size;
    GridFormat format;
    const char* words;  // part of the message
  } cases[] = {
      {"a,\"b\n", 5, GridFormat::Csv, "unbalanced quotes"},
      {"a,b\"c\n", 6, GridFormat::Csv, "unbalanced quotes"},
      {"\"a\"b\n", 5, GridFormat::Csv, "after the closing quote"},
      {"a,b\0c\n", 6, GridFormat::Csv, "NUL"},
      {"a\rb\n", 4, GridFormat::Csv, "CR"},
      {"a,\xFF\xFE\n", 5, GridFormat::Csv, "not valid UTF-8"},
      {"a\t\xC3\n", 4, GridFormat::Tsv, "not valid UTF-8"},
  };
  for (const auto& c : cases) {
    try {
      ot::ReadGridText(std::string_view(c.text, c.size), c.format, GridEncoding::Utf8);
      ADD_FAILURE() << "accepted " << c.text;
    } catch (const ot::DataError& e) {
      EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
    }
  }
}

TEST(GridText, WriteRefusesWhatTheFormatCannotHold) {
  ot::StringGrid g(2, 2);
  g.Cells(1, 1) = "a\tb";
  EXPECT_THROW(ot::WriteGridText(g, GridFormat::Tsv, GridEncoding::Gbk), ot::DataError);
  g.Cells(1, 1) = "\xFF\xFF";  // not code page 936
  try {
    ot::WriteGridText(g, GridFormat::Csv, GridEncoding::Utf8);
    ADD_FAILURE();
  } catch (const ot::DataError& e) {
    EXPECT_NE(std::string(e.what()).find("row 1, column 1"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ot::WriteGridText(g, GridFormat::Csv, GridEncoding::Gbk), ",\r\n,\xFF\xFF\r\n");
}

TEST(GridText, Utf8ConvertsToCodePage936) {
  const GridRows rows = ot::ReadGridText("编号,名\n", GridFormat::Csv, GridEncoding::Utf8);
  EXPECT_EQ(rows, (GridRows{{ottest::Gbk("编号"), ottest::Gbk("名")}}));
}

}  // namespace
