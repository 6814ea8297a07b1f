// Strict UTF-8 <-> UTF-16 transcoding against ICU on the same inputs, in the same run. Both
// sides make the same two calls (the size query, then the conversion into storage of exactly
// that size), and both convert into a CopiedUString, so the storage costs are the same too.
// Global operator new is counted, to show that texts of at most 64 units allocate nothing.
#include <benchmark/benchmark.h>

#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/AllocationCounter.h"
#include "bench/support/RunTimes.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr std::size_t kKiB = 1 << 10;
constexpr std::size_t kMiB = 1 << 20;

// Whole characters only: stops before the character that would pass `size` bytes, then pads
// with ASCII so that every input has exactly its nominal size.
std::string Repeat(const std::string& phrase, std::size_t size) {
  std::string text;
  text.reserve(size);
  std::size_t i = 0;
  while (true) {
    const unsigned char lead = static_cast<unsigned char>(phrase[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (text.size() + n > size) break;
    text.append(phrase, i, n);
    i = (i + n) % phrase.size();
  }
  text.append(size - text.size(), '.');
  return text;
}

// Prose-like ASCII, and a mix of accented Latin, CJK and emoji with ASCII between them.
const std::string kAsciiPhrase = "The installation guide opens in the default browser of the desktop. ";
const std::string kMixedPhrase =
    "Gr\xC3\xBC\xC3\x9F" "e aus M\xC3\xBCnchen, "     // Latin-1 letters
    "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE\xE6\xA1\x88\xE5\x86\x85 "  // CJK
    "\xF0\x9F\x98\x80\xF0\x9F\x9A\x80 "                // emoji
    "na\xC3\xAFve caf\xC3\xA9 \xE2\x82\xAC" "5 "        // Latin and the euro sign
    "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 ";           // Hangul

struct Input {
  std::string name;
  std::string utf8;
  std::u16string utf16;
};

std::vector<Input>& Inputs() {
  static std::vector<Input> inputs = [] {
    std::vector<Input> all;
    const std::pair<const char*, std::size_t> sizes[] = {{"32B", 32}, {"4KiB", 4 * kKiB}, {"1MiB", kMiB}};
    for (const auto& [kind, phrase] : {std::pair{"ascii", &kAsciiPhrase}, std::pair{"mixed", &kMixedPhrase}}) {
      for (const auto& [label, size] : sizes) {
        Input in{std::string(kind) + "/" + label, Repeat(*phrase, size), {}};
        in.utf16 = std::u16string(TranscodeU8ToU16(U8Ref(in.utf8)).view());
        all.push_back(std::move(in));
      }
    }
    // A link remainder of 40 bytes as the launcher converts it for the shell.
    const std::string path = "C:\\Program Files\\Tessarin\\Guide\\run.exe!";
    all.push_back({"path40", path, std::u16string(TranscodeU8ToU16(U8Ref(path)).view())});
    return all;
  }();
  return inputs;
}

template <class Body>
void Measure(benchmark::State& state, std::size_t bytes, Body body) {
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) body();
  bench::ReportAllocations(state, before, "allocs/iter");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void OursU8ToU16(benchmark::State& state, const Input* in) {
  Measure(state, in->utf8.size(), [&] {
    CopiedUString<UTF16> out = TranscodeU8ToU16(U8Ref(in->utf8));
    benchmark::DoNotOptimize(out.data());
  });
}

void OursU16ToU8(benchmark::State& state, const Input* in) {
  Measure(state, in->utf8.size(), [&] {
    CopiedUString<UTF8> out = TranscodeU16ToU8(U16Ref(in->utf16));
    benchmark::DoNotOptimize(out.data());
  });
}

void IcuU8ToU16(benchmark::State& state, const Input* in) {
  Measure(state, in->utf8.size(), [&] {
    UErrorCode status = U_ZERO_ERROR;
    int32_t size = 0;
    const auto length = static_cast<int32_t>(in->utf8.size());
    u_strFromUTF8(nullptr, 0, &size, in->utf8.data(), length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) std::abort();
    auto out = CopiedUString<UTF16>::WithCapacity(static_cast<std::size_t>(size));
    status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), static_cast<int32_t>(out.Capacity()), &size, in->utf8.data(), length, &status);
    if (U_FAILURE(status)) std::abort();
    out.SetEnd(out.data() + size);
    benchmark::DoNotOptimize(out.data());
  });
}

void IcuU16ToU8(benchmark::State& state, const Input* in) {
  Measure(state, in->utf8.size(), [&] {
    UErrorCode status = U_ZERO_ERROR;
    int32_t size = 0;
    const auto length = static_cast<int32_t>(in->utf16.size());
    u_strToUTF8(nullptr, 0, &size, in->utf16.data(), length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) std::abort();
    auto out = CopiedUString<UTF8>::WithCapacity(static_cast<std::size_t>(size));
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.Capacity()), &size, in->utf16.data(), length, &status);
    if (U_FAILURE(status)) std::abort();
    out.SetEnd(out.data() + size);
    benchmark::DoNotOptimize(out.data());
  });
}

// 1.5x on 1 MiB of ASCII, 1.0x elsewhere; the 40-byte path at most ICU's time is 1.0x too.
double Target(const std::string& name) { return name == "ascii/1MiB" ? 1.5 : 1.0; }

// Ratios of CPU time, since the machine is shared and wall time counts other processes' turns.
void PrintSummary(const bench::RunTimesReporter& runs) {
  std::printf("\nthroughput ratio ours / ICU (time of ICU / time of ours), allocations per call of ours:\n");
  for (const char* direction : {"U8ToU16", "U16ToU8"}) {
    for (const Input& in : Inputs()) {
      const bench::RunTimes* ours = runs.Find(std::string("ours/") + direction + "/" + in.name);
      const bench::RunTimes* peer = runs.Find(std::string("icu/") + direction + "/" + in.name);
      if (ours == nullptr || peer == nullptr) continue;
      const double ratio = peer->cpu / ours->cpu;
      const double target = Target(in.name);
      const auto counted = ours->counters.find("allocs/iter");
      const double allocs = counted == ours->counters.end() ? -1 : counted->second;
      const bool small = in.utf8.size() <= 64;
      std::printf("  %-8s %-11s %6.2fx  (target >= %.1fx: %s)  allocs %.0f%s\n", direction, in.name.c_str(), ratio,
                  target, ratio >= target ? "met" : "MISSED", allocs,
                  small ? (allocs == 0 ? " (target 0: met)" : " (target 0: MISSED)") : "");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (const Input& in : Inputs()) {
    benchmark::RegisterBenchmark(("ours/U8ToU16/" + in.name).c_str(), OursU8ToU16, &in);
    benchmark::RegisterBenchmark(("icu/U8ToU16/" + in.name).c_str(), IcuU8ToU16, &in);
    benchmark::RegisterBenchmark(("ours/U16ToU8/" + in.name).c_str(), OursU16ToU8, &in);
    benchmark::RegisterBenchmark(("icu/U16ToU8/" + in.name).c_str(), IcuU16ToU8, &in);
  }
  return bench::RunAndSummarize(argc, argv, PrintSummary);
}
