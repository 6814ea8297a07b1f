// What each benchmark of a program measured, kept so that the program can print its ratios
// to the peer after the table. Repeated runs keep the median, which a shared machine
// disturbs less than the mean.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct RunTimes {
  double real = 0;  // per iteration, in the benchmark's time unit
  double cpu = 0;
  std::map<std::string, double> counters;
};

class RunTimesReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && run.run_type != Run::RT_Iteration) continue;
      RunTimes times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), {}};
      for (const auto& [key, counter] : run.counters) times.counters[key] = counter.value;
      (median ? medians_ : iterations_)[Name(run)] = times;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The run of `name` ("function" or "function/args"): its median when it was repeated.
  const RunTimes* Find(const std::string& name) const {
    for (const auto* table : {&medians_, &iterations_}) {
      const auto found = table->find(name);
      if (found != table->end()) return &found->second;
    }
    return nullptr;
  }

 private:
  static std::string Name(const Run& run) {
    const std::string& args = run.run_name.args;
    return args.empty() ? run.run_name.function_name : run.run_name.function_name + "/" + args;
  }

  std::map<std::string, RunTimes> medians_;
  std::map<std::string, RunTimes> iterations_;
};

// Runs the benchmarks the command line selects, then prints the program's summary.
inline int RunAndSummarize(int argc, char** argv, const std::function<void(const RunTimesReporter&)>& summary) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RunTimesReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  summary(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
