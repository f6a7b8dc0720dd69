#pragma once
// What the scanning benchmarks share: a window nobody looks at, programs run
// as processes of their own with the processor time they used, and a report
// that prints each measurement as a multiple of its baseline.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "scan/scan_request.h"

extern char** environ;

namespace tallymere::bench {

// Counts the files a scan could not read, which a benchmark must not meet.
struct CountingScanObserver : ScanObserver {
  void FileFailed(std::string_view, const Status&) override { ++failures; }
  int failures = 0;
};

// Runs a program (found on PATH when args[0] has no "/") without a shell, its
// standard output going to output_path, and waits for it. True when it
// exited with status 0; adds the processor time it used, in milliseconds, to
// *cpu_ms, and raises *peak_kb to the most memory it held, when given.
inline bool RunProgram(std::vector<std::string> args, const std::string& output_path,
                       double* cpu_ms, long* peak_kb = nullptr) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  *cpu_ms += ms(usage.ru_utime) + ms(usage.ru_stime);
  if (peak_kb != nullptr) *peak_kb = std::max(*peak_kb, usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The counter under which a benchmark that runs programs reports the
// processor time they used; the benchmark's own CPU column shows only this
// process, which just waits.
inline constexpr const char* kChildCpuCounter = "child_cpu_ms";

inline void ReportChildCpu(benchmark::State& state, double cpu_ms) {
  state.counters[kChildCpuCounter] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

// A measurement, the one it is compared with, and the largest ratio allowed.
struct Comparison {
  std::string name;
  std::string baseline;
  double target;
};

// Shows the console report and, at the end, each comparison as a ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::vector<Comparison> comparisons)
      : m_comparisons(std::move(comparisons)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median stands for the benchmark, else the one run.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && (run.run_type != Run::RT_Iteration || m_has_median.count(name) != 0)) {
        continue;
      }
      if (median) m_has_median.insert(name);
      m_real[name] = run.GetAdjustedRealTime();
      const auto child_cpu = run.counters.find(kChildCpuCounter);
      m_cpu[name] =
          child_cpu != run.counters.end() ? child_cpu->second.value : run.GetAdjustedCPUTime();
    }
  }

  // Wall-clock ratios are what a user waits for; processor-time ratios hold
  // steadier on a machine that others are using at the same time.
  void PrintRatios() const {
    for (const Comparison& c : m_comparisons) {
      if (m_real.count(c.name) == 0 || m_real.count(c.baseline) == 0) continue;
      if (m_real.at(c.baseline) <= 0 || m_cpu.at(c.baseline) <= 0) continue;
      const double real = m_real.at(c.name) / m_real.at(c.baseline);
      const double cpu = m_cpu.at(c.name) / m_cpu.at(c.baseline);
      std::printf("%-32s %.2fx %s in real time, %.2fx in processor time (target %.2fx): %s\n",
                  c.name.c_str(), real, c.baseline.c_str(), cpu, c.target,
                  real <= c.target ? "met" : "MISSED");
    }
  }

 private:
  std::vector<Comparison> m_comparisons;
  std::map<std::string, double> m_real;  // milliseconds
  std::map<std::string, double> m_cpu;
  std::set<std::string> m_has_median;
};

// Runs the benchmarks named on the command line (all by default) and prints
// the comparisons after the table.
inline int RunBenchmarks(int argc, char** argv, std::vector<Comparison> comparisons) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(comparisons));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

}  // namespace tallymere::bench
