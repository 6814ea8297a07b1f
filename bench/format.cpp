// Format of the Windows error template against snprintf of the same text into a std::string,
// in the same run. A replaced global operator new counts the heap allocations per call, so
// the figure shows whether a short result stays off the heap.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include "foundation/FormatTemplate.h"
#include "foundation/NumberText.h"

namespace {
std::atomic<std::size_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

// A 36-byte result that fits inside the string, and a 107-byte one that does not.
constexpr std::string_view kShort = "Access is denied.";
constexpr std::string_view kLong =
    "Not enough memory resources are available to complete this operation, said the platform.";

void CountAllocations(benchmark::State& state, std::size_t before) {
  state.counters["allocs/call"] =
      static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
}

void BM_Format(benchmark::State& state, std::string_view message) {
  std::uint32_t code = 5;
  benchmark::DoNotOptimize(code);
  const std::size_t before = allocations.load();
  for (auto _ : state) {
    CopiedUString<UTF8> text =
        Format("Windows Error 0x{err}: {msg}", {ToHexText(code, 1), UStringRef<UTF8>(message)});
    benchmark::DoNotOptimize(text.data());
  }
  CountAllocations(state, before);
}

void BM_Snprintf(benchmark::State& state, std::string_view message) {
  std::uint32_t code = 5;
  benchmark::DoNotOptimize(code);
  const std::string terminated(message);
  const std::size_t before = allocations.load();
  for (auto _ : state) {
    char buffer[256];
    const int length = std::snprintf(buffer, sizeof buffer, "Windows Error 0x%x: %s", code, terminated.c_str());
    std::string text(buffer, static_cast<std::size_t>(length));
    benchmark::DoNotOptimize(text.data());
  }
  CountAllocations(state, before);
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      } else if (run.run_type == Run::RT_Iteration) {
        times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    // CPU time is the steadier figure on a machine shared with other work; both are shown.
    std::printf("\nspeed ratio Format / snprintf into std::string (time of snprintf over time of Format; target >= 1.0):\n");
    const auto& times = medians_.empty() ? times_ : medians_;
    for (const char* input : {"short", "long"}) {
      const auto ours = times.find(std::string("Format/") + input);
      const auto peer = times.find(std::string("snprintf/") + input);
      if (ours == times.end() || peer == times.end()) {
        std::printf("  %-6s not measured\n", input);
        continue;
      }
      std::printf("  %-6s cpu %.2fx   real %.2fx\n", input, peer->second.cpu / ours->second.cpu,
                  peer->second.real / ours->second.real);
    }
  }

 private:
  struct Times {
    double real;
    double cpu;
  };
  std::map<std::string, Times> times_;
  std::map<std::string, Times> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("Format/short", BM_Format, kShort);
  benchmark::RegisterBenchmark("snprintf/short", BM_Snprintf, kShort);
  benchmark::RegisterBenchmark("Format/long", BM_Format, kLong);
  benchmark::RegisterBenchmark("snprintf/long", BM_Snprintf, kLong);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
