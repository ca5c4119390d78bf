// Replays the fuzz targets' seeds and every input they once failed on (fuzz/regressions).
#include <gtest/gtest.h>

#include <filesystem>

#include "checks.h"
#include "support/support.h"

namespace {

using Check = void (*)(const uint8_t*, size_t);

void Replay(const std::string& target, Check check) {
  for (const std::string& seed : otfuzz::Seeds(target))
    check(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
  const std::filesystem::path dir = std::filesystem::path(OT_FUZZ_REGRESSIONS) / target;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename() == "README") continue;
    SCOPED_TRACE(entry.path().string());
    const std::string input = ottest::ReadFile(entry.path().string());
    check(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  }
}

TEST(FuzzRegressions, OpenThenSave) { Replay("open", otfuzz::CheckOpenThenSave); }
TEST(FuzzRegressions, GridText) { Replay("gridtext", otfuzz::CheckGridText); }
TEST(FuzzRegressions, IntegerConversion) { Replay("intconv", otfuzz::CheckIntegerConversion); }

}  // namespace
