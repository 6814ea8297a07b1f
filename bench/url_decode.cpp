// URLDecode against libcurl's curl_easy_unescape on the same inputs, in the same run. Both
// allocate their result on every call. The two disagree on incomplete escapes at the very
// end of a text, which these inputs do not contain.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/support/RunTimes.h"
#include "foundation/URLDecoder.h"

#ifdef TSR_HAVE_CURL
#include <curl/curl.h>
#endif

namespace {

constexpr std::size_t kMiB = 1 << 20;

// Text of unreserved characters where each character is escaped with the given probability.
std::string MakeText(std::size_t size, double escapeShare, unsigned seed) {
  static const char kPlain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~/";
  static const char kHex[] = "0123456789ABCDEF";
  std::mt19937 random(seed);
  std::bernoulli_distribution escape(escapeShare);
  std::uniform_int_distribution<int> plain(0, sizeof kPlain - 2);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string text;
  text.reserve(size + 3);
  while (text.size() + 3 <= size) {
    if (escape(random)) {
      const int value = byte(random);
      text += '%';
      text += kHex[value >> 4];
      text += kHex[value & 15];
    } else {
      text += kPlain[plain(random)];
    }
  }
  while (text.size() < size) text += 'x';
  return text;
}

const std::string& Escaped() {
  static const std::string text = MakeText(kMiB, 0.10, 1);
  return text;
}

const std::string& Plain() {
  static const std::string text = MakeText(kMiB, 0.0, 2);
  return text;
}

// Remainders of guide links after their command prefix, about 40 bytes each.
const std::vector<std::string>& Links() {
  static const std::vector<std::string> links = {
      "C:%5CProgram%20Files%5CTessarin%5Cbin%5C",
      "C:%5CUsers%5CPublic%5CDocuments%5CGuide%20",
      "https://www.example.com/docs/start?x=1&y=2",
      "C:%5CProgram%20Files%20(x86)%5CTsr%5Cr.exe",
      "%5C%5Cserver%5Cshare%5Cinstall%5Csetup.exe",
      "https://example.org/%7Euser/guide%23intro",
      "D:%5CTsrInstallationGuide%5CContent%5Cx.ht",
      "file:///C:/Program%20Files/Tessarin/a.html",
  };
  return links;
}

void BM_URLDecode(benchmark::State& state, const std::string* text) {
  for (auto _ : state) {
    CopiedUString<UTF8> decoded = URLDecode(std::string_view(*text));
    benchmark::DoNotOptimize(decoded.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

void BM_URLDecodeLinks(benchmark::State& state) {
  const auto& links = Links();
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& link : links) {
      CopiedUString<UTF8> decoded = URLDecode(std::string_view(link));
      benchmark::DoNotOptimize(decoded.data());
      bytes += link.size();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

#ifdef TSR_HAVE_CURL
CURL* Handle() {
  static CURL* handle = curl_easy_init();
  return handle;
}

void BM_Curl(benchmark::State& state, const std::string* text) {
  for (auto _ : state) {
    int length = 0;
    char* decoded = curl_easy_unescape(Handle(), text->data(), static_cast<int>(text->size()), &length);
    benchmark::DoNotOptimize(decoded);
    curl_free(decoded);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

void BM_CurlLinks(benchmark::State& state) {
  const auto& links = Links();
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& link : links) {
      int length = 0;
      char* decoded = curl_easy_unescape(Handle(), link.data(), static_cast<int>(link.size()), &length);
      benchmark::DoNotOptimize(decoded);
      curl_free(decoded);
      bytes += link.size();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
#endif

// CPU time, because the machine may be shared and both sides run on one thread.
void PrintRatios(const bench::RunTimesReporter& runs) {
  std::printf("\nthroughput ratio URLDecode / curl_easy_unescape by CPU time (target >= 2.0):\n");
  for (const char* input : {"escapes10", "plain", "links40"}) {
    const bench::RunTimes* ours = runs.Find(std::string("URLDecode/") + input);
    const bench::RunTimes* peer = runs.Find(std::string("curl/") + input);
    if (ours == nullptr || peer == nullptr) {
      std::printf("  %-10s not measured\n", input);
      continue;
    }
    std::printf("  %-10s %.2fx\n", input, peer->cpu / ours->cpu);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("URLDecode/escapes10", BM_URLDecode, &Escaped());
  benchmark::RegisterBenchmark("URLDecode/plain", BM_URLDecode, &Plain());
  benchmark::RegisterBenchmark("URLDecode/links40", BM_URLDecodeLinks);
#ifdef TSR_HAVE_CURL
  curl_global_init(CURL_GLOBAL_DEFAULT);
  benchmark::RegisterBenchmark("curl/escapes10", BM_Curl, &Escaped());
  benchmark::RegisterBenchmark("curl/plain", BM_Curl, &Plain());
  benchmark::RegisterBenchmark("curl/links40", BM_CurlLinks);
#else
  std::printf("libcurl not found: only URLDecode is measured\n");
#endif
  const int status = bench::RunAndSummarize(argc, argv, PrintRatios);
#ifdef TSR_HAVE_CURL
  curl_easy_cleanup(Handle());
  curl_global_cleanup();
#endif
  return status;
}
