#include "frame/cp936.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(Cp936, ConvertsBothWays) {
  struct Case {
    const char* utf8;
    std::string cp936;
  } cases[] = {
      {"", ""},
      {"123 abc", "123 abc"},
      {"中文", "\xD6\xD0\xCE\xC4"},
      {"丄A", "\x81\x41\x41"},
      {"€", "\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ot::TryUtf8ToCp936(c.utf8), c.cp936) << c.utf8;
    EXPECT_EQ(ot::TryCp936ToUtf8(c.cp936), c.utf8) << c.utf8;
    EXPECT_EQ(ot::Cp936ToUtf8Lossy(c.cp936), c.utf8) << c.utf8;
  }
}

TEST(Cp936, RefusesWhatDoesNotConvert) {
  EXPECT_EQ(ot::TryUtf8ToCp936("\xF0\x9F\x98\x80"), std::nullopt);  // U+1F600
  EXPECT_EQ(ot::TryUtf8ToCp936("a\xC3"), std::nullopt);              // truncated UTF-8
  EXPECT_EQ(ot::TryCp936ToUtf8("\xFF"), std::nullopt);
  EXPECT_EQ(ot::TryCp936ToUtf8("a\xD6"), std::nullopt);  // lead byte without trail byte
  EXPECT_EQ(ot::Cp936ToUtf8Lossy("\xFF" "a\xD6\xD0\xD6"), "\xEF\xBF\xBD" "a中\xEF\xBF\xBD");
}

// Conversions reuse their iconv descriptors: a refused or lossy conversion must leave nothing
// behind for the next one, in either direction and in any thread.
TEST(Cp936, EachConversionStartsAfresh) {
  auto run = [] {
    bool ok = true;
    for (int i = 0; i < 200; ++i) {
      ok = ok && !ot::TryCp936ToUtf8("\xD6");
      ok = ok && ot::TryCp936ToUtf8("\xD0\xCE\xC4") == std::nullopt;
      ok = ok && ot::TryCp936ToUtf8("\xD6\xD0") == "中";
      ok = ok && ot::Cp936ToUtf8Lossy("\xD6") == "\xEF\xBF\xBD";
      ok = ok && ot::TryUtf8ToCp936("\xE4\xB8") == std::nullopt;
      ok = ok && ot::TryUtf8ToCp936("文") == "\xCE\xC4";
    }
    return ok;
  };
  EXPECT_TRUE(run());
  std::vector<char> results(4, 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < results.size(); ++t)
    threads.emplace_back([&results, &run, t] { results[t] = run(); });
  for (auto& t : threads) t.join();
  for (char r : results) EXPECT_TRUE(r);
}

}  // namespace
