// make bench: runs the benchmarks, prints each figure with its baseline, ratio and target,
// and writes them to a JSON file (--results FILE).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "figures.h"

namespace {

// Keeps the median CPU time of every benchmark (steadier than wall time on a shared
// machine; every benchmark is single-threaded) while the console shows the runs.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  otbench::Medians medians;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] =
            run.GetAdjustedCPUTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    ConsoleReporter::ReportRuns(runs);
  }
};

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--measure-peak") == 0)
    return otbench::MeasurePeakChild(argv + 2);
  if (argc == 3 && std::strcmp(argv[1], "--editor-memory") == 0)
    return otbench::EditorMemoryChild(argv[2]);
  std::string results = "results.json";
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--results") == 0 && i + 1 < argc) {
      results = argv[++i];
      continue;
    }
    args.push_back(argv[i]);
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::vector<otbench::Figure> figures = otbench::CoreFigures(reporter.medians);
  for (auto& f : otbench::WindowFigures()) figures.push_back(f);

  std::printf("\n%-62s %12s %12s %8s %8s  %s\n", "figure", "value", "baseline", "ratio", "target",
              "met");
  bool all = true;
  std::ofstream json(results);
  json << "[\n";
  for (size_t i = 0; i < figures.size(); ++i) {
    const auto& f = figures[i];
    all = all && f.Met();
    std::printf("%-62s %10.1f %s %10.1f %s %8.3f %8.3f  %s\n", f.name.c_str(), f.value,
                f.unit.c_str(), f.baseline, f.baseline > 0 ? f.unit.c_str() : "  ", f.Ratio(),
                f.target, f.Met() ? "yes" : "NO");
    json << "  {\"name\": " << Json(f.name) << ", \"value\": " << f.value
         << ", \"baseline\": " << (f.baseline > 0 ? std::to_string(f.baseline) : "null")
         << ", \"ratio\": " << f.Ratio() << ", \"target\": " << f.target
         << ", \"unit\": " << Json(f.unit) << "}" << (i + 1 < figures.size() ? "," : "") << "\n";
  }
  json << "]\n";
  std::printf("\nresults written to %s\n", results.c_str());
  return all ? 0 : 1;
}
