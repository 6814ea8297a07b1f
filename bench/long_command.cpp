// A very long "openexecutable:" target on its way to the message that refuses it: the guide
// command's decision and the machine's shell (a real prefix in a temporary folder, the
// message box's line built as the box would build it, nothing shown), for targets of
// 64 KiB and 1 MiB. Its peer in the same run is the bare TranscodeU16ToU8 of the same
// target, a linear pass over it. The work has to stay linear: 16 times the target, about
// 16 times the time.
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <shellapi.h>
#include <windows.h>

#include "app/GuideCommand.h"
#include "bench/support/RunTimes.h"
#include "core/kernel/PathMapping.h"
#include "core/shell/ShellService.h"
#include "core/user/MessageBoxPresenter.h"
#include "foundation/TextEncoding.h"
#include "posix/PosixShell.h"
#include "posix/WinePrefixPaths.h"
#include "support/TestDefaults.h"

namespace {

// Builds what the box would show and its line, and shows nothing.
class UnseenBoxes : public core::MessageBoxPresenter {
 public:
  int ShowMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT type) override {
    benchmark::DoNotOptimize(core::MessageBoxLine(text, caption).size());
    return core::UnattendedMessageBoxAnswer(type);
  }
};

std::u16string Target(std::size_t units) {
  const std::u16string prefix = u"openexecutable:C:%5CProgram%20Files%5C";
  return prefix + std::u16string(units - prefix.size(), u'A');
}

void InstallMachine() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  char pattern[] = "/tmp/tsr-bench-prefix-XXXXXX";
  const std::string prefix = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
  ::mkdir((prefix + "/drive_c").c_str(), 0700);
  auto mapping = std::make_shared<const posix::WinePrefixPaths>(prefix);
  core::InstallPathMapping(mapping);
  core::InstallShellService(std::make_shared<const posix::PosixShell>(prefix, mapping));
  core::InstallMessageBoxPresenter(std::make_shared<UnseenBoxes>());
}

void BM_Transcode(benchmark::State& state) {
  const std::u16string target = Target(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(TranscodeU16ToU8(UStringRef<UTF16>(target)).data());
}

void BM_RefusedCommand(benchmark::State& state) {
  InstallMachine();
  const std::u16string target = Target(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    const GuideCommand command = ReadGuideCommand(UStringRef<UTF16>(target));
    OpenInShell(command);
    benchmark::DoNotOptimize(command.file.c_str());
  }
}

void PrintRatios(const bench::RunTimesReporter& runs) {
  std::printf("\nlong command target, decided and refused by the shell / bare TranscodeU16ToU8, by CPU time:\n");
  for (const char* size : {"65536", "1048576"}) {
    const bench::RunTimes* bare = runs.Find(std::string("Transcode/") + size);
    const bench::RunTimes* ours = runs.Find(std::string("RefusedCommand/") + size);
    if (bare == nullptr || ours == nullptr) continue;
    std::printf("  %8s units: %8.2fx  (%.3f ms vs %.3f ms)\n", size, ours->cpu / bare->cpu, ours->cpu, bare->cpu);
  }
  const bench::RunTimes* small = runs.Find("RefusedCommand/65536");
  const bench::RunTimes* large = runs.Find("RefusedCommand/1048576");
  if (small != nullptr && large != nullptr)
    std::printf("  1 MiB / 64 KiB: %.1fx for 16x the target (linear: about 16)\n", large->cpu / small->cpu);
  std::printf("  target: RefusedCommand/1048576 well under 100 ms, and 1 MiB / 64 KiB at most 24x\n");
}

}  // namespace

int main(int argc, char** argv) {
  InstallTestDefaults();  // the fixed desktop the tests measure on, not the machine's
  for (const long units : {65536L, 1048576L}) {
    benchmark::RegisterBenchmark("Transcode", BM_Transcode)->Arg(units)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RefusedCommand", BM_RefusedCommand)->Arg(units)->Unit(benchmark::kMillisecond);
  }
  return bench::RunAndSummarize(argc, argv, PrintRatios);
}
