// The figures that make bench prints: a measured value against a baseline measured in the
// same run, and the target the ratio (or the value) must meet.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace otbench {

struct Figure {
  std::string name;
  double value = 0;
  double baseline = 0;  // 0: no baseline; the target then bounds the value itself
  double target = 0;    // upper bound of value / baseline (or of value)
  std::string unit;
  double Ratio() const { return baseline > 0 ? value / baseline : value; }
  bool Met() const { return Ratio() <= target; }
};

// Median real time in microseconds of each Google Benchmark run, by benchmark name.
using Medians = std::map<std::string, double>;

// Figures computed from the core benchmarks and measured by child processes.
std::vector<Figure> CoreFigures(const Medians& medians);
// Figures of the window (empty when the window is not built).
std::vector<Figure> WindowFigures();
// The child process that WindowFigures measures for memory; returns its exit status.
int EditorMemoryChild(const char* file);

// A test table file (scrambled, of a recognised size) for the benchmarks, written once.
std::string BenchTableFile(int size);

// Peak resident memory in MiB of a child process running argv (stdout to /dev/null).
double PeakMemoryMiB(const std::vector<std::string>& argv);
// The --measure-peak mode of ot-bench: runs argv and prints its peak memory in KiB.
int MeasurePeakChild(char** argv);

}  // namespace otbench
