// Loading a machine hive of a real prefix's size and shape (about 1.6 MiB of system.reg
// text, 8,700 keys) and looking up the three keys the launcher reads, against counting the
// lines of the same bytes in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include <windows.h>

#include "bench/support/RunTimes.h"
#include "core/registry/RegistryHive.h"
#include "posix/WineHiveParser.h"

namespace {

// A fixed-seed generator, so every run reads the same text.
class Random {
 public:
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }

 private:
  std::uint64_t state_ = 0x5EED;
};

class HiveWriter {
 public:
  HiveWriter() { text_ = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n"; }

  void Key(const std::string& path) {
    ++keys_;
    text_ += "\n[" + path + "] 1700000000\n#time=1d9a6b0c2e4f8a0\n";
  }
  void String(const std::string& name, const std::string& value) { text_ += Name(name) + "=\"" + value + "\"\n"; }
  void Expand(const std::string& name, const std::string& value) { text_ += Name(name) + "=str(2):\"" + value + "\"\n"; }
  void Dword(const std::string& name, std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", value);
    text_ += Name(name) + "=dword:" + buffer + "\n";
  }
  // Byte lists wrap at about 80 columns with "\" continuations, as the prefix writes them.
  void Hex(const std::string& name, const std::string& kind, std::size_t count, Random& random) {
    std::string line = Name(name) + "=" + kind + ":";
    for (std::size_t i = 0; i < count; ++i) {
      char buffer[4];
      std::snprintf(buffer, sizeof buffer, "%02x", random.Below(256));
      line += buffer;
      if (i + 1 < count) {
        line += ",";
        if (line.size() > 76) {
          text_ += line + "\\\n";
          line = "  ";
        }
      }
    }
    text_ += line + "\n";
  }

  const std::string& Text() const { return text_; }
  std::size_t Keys() const { return keys_; }

 private:
  static std::string Name(const std::string& name) { return name.empty() ? "@" : "\"" + name + "\""; }

  std::string text_;
  std::size_t keys_ = 0;
};

std::string Guid(Random& random) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%04X-%04X%08X}", random.Next(), random.Below(65536),
                random.Below(65536), random.Below(65536), random.Below(65536), random.Next());
  return buffer;
}

// Families of keys in the proportions of a fresh 64-bit prefix: COM classes with their
// servers, file types, services with parameters, time zones with binary data, fonts, and
// the launcher's three keys among them.
std::string MakeHive(std::size_t& keyCount) {
  Random random;
  HiveWriter hive;
  for (int i = 0; i < 1300; ++i) {
    const std::string clsid = "Software\\\\Classes\\\\CLSID\\\\" + Guid(random);
    hive.Key(clsid);
    hive.String("", "Component Object " + std::to_string(i));
    hive.Key(clsid + "\\\\InprocServer32");
    hive.String("", "C:\\\\windows\\\\system32\\\\library" + std::to_string(random.Below(400)) + ".dll");
    hive.String("ThreadingModel", random.Below(2) ? "Both" : "Apartment");
    if (i % 3 == 0) {
      hive.Key(clsid + "\\\\ProgID");
      hive.String("", "Library.Object." + std::to_string(i));
    }
  }
  for (int i = 0; i < 1700; ++i) {
    hive.Key("Software\\\\Classes\\\\.ext" + std::to_string(i));
    hive.String("", "ext" + std::to_string(i) + "file");
    hive.String("Content Type", "application/x-type-" + std::to_string(i));
  }
  hive.Key("Software\\\\Microsoft\\\\Internet Explorer");
  hive.String("Version", "11.0.19041.1");
  hive.String("svcVersion", "11.0.19041.1");
  hive.Key("Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion");
  hive.String("CurrentBuildNumber", "19045");
  hive.Dword("UBR", 3803);
  hive.String("ProductName", "Windows 10 Pro");
  hive.Key("Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Fonts");
  for (int i = 0; i < 150; ++i) hive.String("Font Family " + std::to_string(i) + " (TrueType)", "font" + std::to_string(i) + ".ttf");
  for (int i = 0; i < 140; ++i) {
    hive.Key("Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Time Zones\\\\Zone " + std::to_string(i));
    hive.String("Display", "(UTC+01:00) City " + std::to_string(i) + ", Caf\\x00e9 Town");
    hive.String("Dlt", "Zone " + std::to_string(i) + " Daylight Time");
    hive.String("Std", "Zone " + std::to_string(i) + " Standard Time");
    hive.Hex("TZI", "hex", 44, random);
  }
  hive.Key("Software\\\\Wow6432Node\\\\Tessarin\\\\Tsr Installation Generator");
  hive.String("InstallFolder", "C:\\\\Program Files (x86)\\\\Tessarin\\\\Tsr Installation Generator\\\\");
  hive.String("EvalType", "EvalExpress");
  for (int i = 0; i < 1100; ++i) {
    const std::string service = "System\\\\CurrentControlSet\\\\Services\\\\service" + std::to_string(i);
    hive.Key(service);
    hive.String("DisplayName", "Service number " + std::to_string(i));
    hive.Expand("ImagePath", "%SystemRoot%\\\\system32\\\\drivers\\\\service" + std::to_string(i) + ".sys");
    hive.Dword("Start", random.Below(5));
    hive.Dword("Type", 1 + random.Below(32));
    hive.Dword("ErrorControl", 1);
    hive.Key(service + "\\\\Parameters");
    hive.Hex("DependOnService", "hex(7)", 20 + random.Below(40), random);
    hive.String("ServiceDll", "C:\\\\windows\\\\system32\\\\service" + std::to_string(i) + ".dll");
  }
  while (hive.Keys() < 8700) {
    const std::size_t i = hive.Keys();
    hive.Key("System\\\\CurrentControlSet\\\\Control\\\\Class\\\\" + Guid(random) + "\\\\" + std::to_string(i % 10000));
    hive.String("DriverDesc", "Generic device " + std::to_string(i));
    hive.Dword("Characteristics", random.Next());
  }
  keyCount = hive.Keys();
  return hive.Text();
}

// TSR_BENCH_HIVE may name a real system.reg to measure instead of the generated one.
std::string ReadHiveFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string& HiveText() {
  static const std::string text = [] {
    if (const char* path = std::getenv("TSR_BENCH_HIVE"); path != nullptr && *path != '\0') return ReadHiveFile(path);
    std::size_t keys = 0;
    return MakeHive(keys);
  }();
  return text;
}

std::size_t ReadString(HKEY key, const char16_t* name) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return 0;
  BYTE buffer[512];
  if (size > sizeof buffer) return 0;
  RegQueryValueExW(key, name, nullptr, nullptr, buffer, &size);
  return size;
}

// What the launcher does: the machine hive is loaded, and three keys are opened and read.
void BM_LoadHiveAndLookUp(benchmark::State& state) {
  const std::string& text = HiveText();
  std::size_t found = 0;
  for (auto _ : state) {
    core::InstallMachineHive(posix::ParseWineHive(text, "system.reg"));
    std::size_t read = 0;
    found = 0;
    for (const char16_t* path : {u"SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator",
                                 u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                 u"Software\\Microsoft\\Internet Explorer"}) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
      ++found;
      read += ReadString(key, u"InstallFolder") + ReadString(key, u"CurrentBuildNumber") + ReadString(key, u"Version");
      RegCloseKey(key);
    }
    benchmark::DoNotOptimize(read);
  }
  core::InstallMachineHive(nullptr);
  state.counters["keys_found"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// The peers: counting the lines of the same bytes with the library's line reader, as a bare
// count of line ends, and by stepping from line end to line end with memchr (the fastest of
// the three here, since the C library searches with wide vector instructions).
void BM_GetlineCount(benchmark::State& state) {
  const std::string& text = HiveText();
  for (auto _ : state) {
    std::istringstream in(text);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_NewlineCount(benchmark::State& state) {
  const std::string& text = HiveText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(text.data());
    const auto lines = std::count(text.begin(), text.end(), '\n');
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_MemchrLineCount(benchmark::State& state) {
  const std::string& text = HiveText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(text.data());
    std::size_t lines = 0;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (const void* newline = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
      ++lines;
      at = static_cast<const char*>(newline) + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void PrintRatios(const bench::RunTimesReporter& runs) {
  const auto hive = posix::ParseWineHive(HiveText(), "system.reg");
  std::printf("\nhive: %zu bytes, %zu keys (intermediate keys included), %zu lines\n", HiveText().size(),
              hive->KeyCount() - 1, static_cast<std::size_t>(std::count(HiveText().begin(), HiveText().end(), '\n')));
  std::printf("time of load and look-up over time of each line count (target <= 4.0):\n");
  const bench::RunTimes* ours = runs.Find("LoadHiveAndLookUp");
  if (ours == nullptr) return;
  for (const char* peer : {"GetlineCount", "NewlineCount", "MemchrLineCount"}) {
    const bench::RunTimes* found = runs.Find(peer);
    if (found == nullptr) continue;
    std::printf("  against %-16s cpu %.2fx   real %.2fx\n", peer, ours->cpu / found->cpu, ours->real / found->real);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("LoadHiveAndLookUp", BM_LoadHiveAndLookUp)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("GetlineCount", BM_GetlineCount)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("NewlineCount", BM_NewlineCount)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("MemchrLineCount", BM_MemchrLineCount)->Unit(benchmark::kMillisecond);
  return bench::RunAndSummarize(argc, argv, PrintRatios);
}
