// Writes the seed corpus of a fuzz target into a folder: ot-fuzz-seeds TARGET DIR.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "checks.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ot-fuzz-seeds open|gridtext|intconv DIR\n");
    return 2;
  }
  std::filesystem::create_directories(argv[2]);
  const auto seeds = otfuzz::Seeds(argv[1]);
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream f(std::string(argv[2]) + "/seed-" + std::to_string(i), std::ios::binary);
    f.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
  }
  return seeds.empty() ? 1 : 0;
}
