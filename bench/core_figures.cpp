// Core benchmarks on the largest table, the item table's Kor 1.02B layout (688132 bytes,
// 8192 records of 84 bytes), each with its baseline in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "figures.h"
#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/grid_search.h"
#include "frame/recognition.h"
#include "frame/scramble.h"

extern char** environ;

namespace otbench {
namespace {

constexpr int kKorSize = 688132;
constexpr int kOneXSize = 38916;
constexpr int kKorRecord = 84;
constexpr int kKorRecords = 8192;

// The numeric fields of a Kor 1.02B item record (offset, width), listed here on their own so
// that the baseline does not use the code it is compared with.
struct Field {
  int offset;
  int width;
};
const std::vector<Field>& KorNumbers() {
  static const std::vector<Field> fields = [] {
    std::vector<Field> f = {{30, 2}, {32, 2}};
    for (int o = 34; o <= 47; ++o) f.push_back({o, 1});
    for (int o : {48, 50, 52, 54}) f.push_back({o, 2});
    for (int o = 56; o <= 63; ++o) f.push_back({o, 1});
    f.push_back({64, 2});
    f.push_back({66, 2});
    for (int o = 68; o <= 80; ++o) f.push_back({o, 1});
    return f;
  }();
  return fields;
}

std::vector<uint8_t> PlainImage(int size) {
  std::vector<uint8_t> image(static_cast<size_t>(size));
  uint32_t x = 2463534242u;
  for (auto& b : image) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  // Names of ordinary length (12 letters and a NUL) and tails of three letters, as text
  // fields of real tables hold.
  const int record = size == kKorSize ? 84 : 76;
  for (int r = 0; r + record <= size; r += record) {
    for (int i = 0; i < 12; ++i) image[static_cast<size_t>(r + i)] = static_cast<uint8_t>('a' + (r + i) % 26);
    image[static_cast<size_t>(r + 12)] = 0;
    for (int i = record - 3; i < record; ++i) image[static_cast<size_t>(r + i)] = static_cast<uint8_t>('A' + i % 26);
  }
  return image;
}

std::vector<uint8_t> ScrambledImage(int size) {
  auto image = PlainImage(size);
  const int record = size == kKorSize ? 84 : 76;
  ot::ScrambleRecords(image.data(), image.data(), size, record);
  return image;
}

int LayoutOfSize(int size) {
  for (const auto& row : ot::RecognitionTable())
    if (row.Extension == ".bmd" && row.Size == size) return row.Layout;
  throw std::runtime_error("no table of this size");
}

ot::TableUnit& ItemUnit(ot::TEditorState& state) {
  ot::TableUnit* unit = state.UnitOfPage(ot::kItemPage);
  if (!unit) throw std::runtime_error("the item table is not built");
  return *unit;
}

void OpenStep(benchmark::State& st, int size) {
  ot::TEditorState state;
  ot::TableUnit& unit = ItemUnit(state);
  const auto file = ScrambledImage(size);
  const int layout = LayoutOfSize(size);
  std::vector<uint8_t> image(file.size());
  for (auto _ : st) {
    std::memcpy(image.data(), file.data(), file.size());
    unit.Open(state, image, layout);
    benchmark::ClobberMemory();
  }
}

void BM_OpenKor(benchmark::State& st) { OpenStep(st, kKorSize); }
void BM_OpenOneX(benchmark::State& st) { OpenStep(st, kOneXSize); }

// Baseline of Open: descramble the same bytes and format the same fields with to_chars into
// one flat buffer.
void BM_OpenBaseline(benchmark::State& st) {
  const auto file = ScrambledImage(kKorSize);
  std::vector<uint8_t> image(file.size());
  std::vector<char> flat(static_cast<size_t>(kKorRecords) * 46 * 12);
  const auto& fields = KorNumbers();
  for (auto _ : st) {
    std::memcpy(image.data(), file.data(), file.size());
    ot::ScrambleRecords(image.data(), image.data(), kKorSize, kKorRecord);
    char* out = flat.data();
    for (int r = 0; r < kKorRecords; ++r) {
      const uint8_t* rec = image.data() + static_cast<size_t>(r) * kKorRecord;
      out = std::to_chars(out, out + 8, r % 512).ptr;
      *out++ = '\0';
      const size_t name = strnlen(reinterpret_cast<const char*>(rec), 30);
      std::memcpy(out, rec, name);
      out += name;
      *out++ = '\0';
      for (const Field& f : fields) {
        const unsigned v = f.width == 1 ? rec[f.offset] : unsigned(rec[f.offset] | rec[f.offset + 1] << 8);
        out = std::to_chars(out, out + 8, v).ptr;
        *out++ = '\0';
      }
      const size_t tail = strnlen(reinterpret_cast<const char*>(rec + 81), 3);
      std::memcpy(out, rec + 81, tail);
      out += tail;
      *out++ = '\0';
    }
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
}

void BM_SaveKor(benchmark::State& st) {
  ot::TEditorState state;
  ot::TableUnit& unit = ItemUnit(state);
  auto image = ScrambledImage(kKorSize);
  unit.Open(state, image, LayoutOfSize(kKorSize));
  state.ActivePageIndex = ot::kItemPage;
  for (auto _ : st) {
    auto bytes = unit.Save(state);
    benchmark::DoNotOptimize(bytes);
  }
}

// Baseline of Save: from_chars of the same texts from one flat buffer, the fields stored, and
// one XOR pass over a copy.
void BM_SaveBaseline(benchmark::State& st) {
  const auto plain = PlainImage(kKorSize);
  const auto& fields = KorNumbers();
  std::string flat;
  for (int r = 0; r < kKorRecords; ++r) {
    const uint8_t* rec = plain.data() + static_cast<size_t>(r) * kKorRecord;
    for (const Field& f : fields) {
      const unsigned v = f.width == 1 ? rec[f.offset] : unsigned(rec[f.offset] | rec[f.offset + 1] << 8);
      flat += std::to_string(v);
      flat += '\0';
    }
  }
  std::vector<uint8_t> image = plain;
  for (auto _ : st) {
    const char* p = flat.data();
    const char* end = flat.data() + flat.size();
    for (int r = 0; r < kKorRecords; ++r) {
      uint8_t* rec = image.data() + static_cast<size_t>(r) * kKorRecord;
      for (const Field& f : fields) {
        int v = 0;
        auto res = std::from_chars(p, end, v);
        p = res.ptr + 1;
        rec[f.offset] = static_cast<uint8_t>(v);
        if (f.width == 2) rec[f.offset + 1] = static_cast<uint8_t>(v >> 8);
      }
    }
    std::string out(image.begin(), image.end());
    auto* b = reinterpret_cast<uint8_t*>(out.data());
    ot::ScrambleRecords(b, b, kKorSize, kKorRecord);
    benchmark::DoNotOptimize(out);
  }
}

void BM_Scramble(benchmark::State& st) {
  auto src = PlainImage(kKorSize);
  std::vector<uint8_t> dst(src.size());
  for (auto _ : st) {
    ot::ScrambleRecords(dst.data(), src.data(), kKorSize, kKorRecord);
    benchmark::ClobberMemory();
  }
}

void BM_Memcpy(benchmark::State& st) {
  auto src = PlainImage(kKorSize);
  std::vector<uint8_t> dst(src.size());
  for (auto _ : st) {
    std::memcpy(dst.data(), src.data(), src.size());
    benchmark::ClobberMemory();
  }
}

// Find of a text that no cell holds, case folded: every data cell of the grid is compared.
void BM_FindMissKor(benchmark::State& st) {
  ot::TEditorState state;
  ot::TableUnit& unit = ItemUnit(state);
  auto image = ScrambledImage(kKorSize);
  unit.Open(state, image, LayoutOfSize(kKorSize));
  for (auto _ : st) {
    auto found = ot::FindCell(state.ItemStrGrid, "zzq", {1, 1}, true, {});
    benchmark::DoNotOptimize(found);
  }
}

// Baseline of Find: a plain substring search through the same cells.
void BM_FindBaseline(benchmark::State& st) {
  ot::TEditorState state;
  ot::TableUnit& unit = ItemUnit(state);
  auto image = ScrambledImage(kKorSize);
  unit.Open(state, image, LayoutOfSize(kKorSize));
  const ot::StringGrid& grid = state.ItemStrGrid;
  for (auto _ : st) {
    int hits = 0;
    for (int r = 1; r < grid.RowCount(); ++r)
      for (int c = 1; c < grid.ColCount(); ++c)
        hits += std::string_view(grid.Cells(c, r)).find("zzq") != std::string_view::npos;
    benchmark::DoNotOptimize(hits);
  }
}

#define OT_BENCH(fn) BENCHMARK(fn)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond)
OT_BENCH(BM_OpenKor);
OT_BENCH(BM_OpenOneX);
OT_BENCH(BM_OpenBaseline);
OT_BENCH(BM_SaveKor);
OT_BENCH(BM_SaveBaseline);
OT_BENCH(BM_Scramble);
OT_BENCH(BM_Memcpy);
OT_BENCH(BM_FindMissKor);
OT_BENCH(BM_FindBaseline);

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

std::string BenchTableFile(int size) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("ot-bench-" + std::to_string(size) + ".bmd")).string();
  const auto image = ScrambledImage(size);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return path;
}

// The kernel counts into a child's peak the memory of the process it was forked from, up to
// its exec; so the child is started from a fresh, small ot-bench (--measure-peak), which
// forks, execs the command and prints the peak in KiB that wait4 reports.
double PeakMemoryMiB(const std::vector<std::string>& args) {
  std::vector<std::string> copy = {"/proc/self/exe", "--measure-peak"};
  copy.insert(copy.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string out = (std::filesystem::temp_directory_path() / "ot-bench-peak.txt").string();
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start " + args[0]);
  posix_spawn_file_actions_destroy(&fa);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed");
  std::ifstream in(out);
  double kib = 0;
  in >> kib;
  return kib / 1024.0;
}

int MeasurePeakChild(char** argv) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execv(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

std::vector<Figure> CoreFigures(const Medians& m) {
  std::vector<Figure> figures;
  figures.push_back({"core Open of the Kor 1.02B item table into the grid", m.at("BM_OpenKor"),
                     m.at("BM_OpenBaseline"), 2.0, "us"});
  figures.push_back({"core Save of the Kor 1.02B item table (in memory)", m.at("BM_SaveKor"),
                     m.at("BM_SaveBaseline"), 2.0, "us"});
  figures.push_back({"ScrambleRecords over 688132 bytes, record length 84", m.at("BM_Scramble"),
                     m.at("BM_Memcpy"), 1.5, "us"});
  figures.push_back({"Find of a missing text across the Kor 1.02B item grid", m.at("BM_FindMissKor"),
                     m.at("BM_FindBaseline"), 3.0, "us"});
  const double perByteKor = m.at("BM_OpenKor") / kKorSize;
  const double perByteOneX = m.at("BM_OpenOneX") / kOneXSize;
  figures.push_back({"scaling: Open time per byte, Kor 1.02B over 1.x", perByteKor / perByteOneX, 0,
                     1.3, "ratio"});
  const std::string file = BenchTableFile(kKorSize);
  std::vector<double> peaks;
  for (int i = 0; i < 3; ++i) peaks.push_back(PeakMemoryMiB({OT_TABLE_PATH, "dump", file}));
  figures.push_back({"peak memory of ot-table dump of the Kor 1.02B item table", Median(peaks), 0,
                     40.0, "MiB"});
  return figures;
}

}  // namespace otbench
