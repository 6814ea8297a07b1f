// Format of the Windows error template against snprintf of the same text into a std::string,
// in the same run. A replaced global operator new counts the heap allocations per call, so
// the figure shows whether a short result stays off the heap.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/support/AllocationCounter.h"
#include "bench/support/RunTimes.h"
#include "foundation/FormatTemplate.h"
#include "foundation/NumberText.h"

namespace {

// A 36-byte result that fits inside the string, and a 107-byte one that does not.
constexpr std::string_view kShort = "Access is denied.";
constexpr std::string_view kLong =
    "Not enough memory resources are available to complete this operation, said the platform.";

void BM_Format(benchmark::State& state, std::string_view message) {
  std::uint32_t code = 5;
  benchmark::DoNotOptimize(code);
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    CopiedUString<UTF8> text =
        Format("Windows Error 0x{err}: {msg}", {ToHexText(code, 1), UStringRef<UTF8>(message)});
    benchmark::DoNotOptimize(text.data());
  }
  bench::ReportAllocations(state, before, "allocs/call");
}

void BM_Snprintf(benchmark::State& state, std::string_view message) {
  std::uint32_t code = 5;
  benchmark::DoNotOptimize(code);
  const std::string terminated(message);
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    char buffer[256];
    const int length = std::snprintf(buffer, sizeof buffer, "Windows Error 0x%x: %s", code, terminated.c_str());
    std::string text(buffer, static_cast<std::size_t>(length));
    benchmark::DoNotOptimize(text.data());
  }
  bench::ReportAllocations(state, before, "allocs/call");
}

// CPU time is the steadier figure on a machine shared with other work; both are shown.
void PrintRatios(const bench::RunTimesReporter& runs) {
  std::printf("\nspeed ratio Format / snprintf into std::string (time of snprintf over time of Format; target >= 1.0):\n");
  for (const char* input : {"short", "long"}) {
    const bench::RunTimes* ours = runs.Find(std::string("Format/") + input);
    const bench::RunTimes* peer = runs.Find(std::string("snprintf/") + input);
    if (ours == nullptr || peer == nullptr) {
      std::printf("  %-6s not measured\n", input);
      continue;
    }
    std::printf("  %-6s cpu %.2fx   real %.2fx\n", input, peer->cpu / ours->cpu, peer->real / ours->real);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("Format/short", BM_Format, kShort);
  benchmark::RegisterBenchmark("snprintf/short", BM_Snprintf, kShort);
  benchmark::RegisterBenchmark("Format/long", BM_Format, kLong);
  benchmark::RegisterBenchmark("snprintf/long", BM_Snprintf, kLong);
  return bench::RunAndSummarize(argc, argv, PrintRatios);
}
