// The guide dialog's before-navigate hook against the bare TranscodeU16ToU8 of the same
// target, in the same run: an ordinary address (which the hook hands to the framework) and an
// "openfolder:" command (which it decodes and hands to a shell that does nothing). The hook
// runs on a real guide dialog over the scripted browser, showing a local page; the pure
// command decision (ReadGuideCommand) is measured as well. Global operator new is counted;
// the BSTR that the browser's location read returns comes from malloc and is not.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <shellapi.h>
#include <windows.h>

#include "app/GuideCommand.h"
#include "app/Resources.h"
#include "app/TsrRunvaneHtmlDlg.h"
#include "bench/support/AllocationCounter.h"
#include "bench/support/RunTimes.h"
#include "core/shell/ShellService.h"
#include "foundation/TextEncoding.h"
#include "support/ScriptedBrowserEngine.h"
#include "support/TestDefaults.h"

namespace {

// Both at most 64 units, as guide links are.
const std::u16string kOrdinary = u"file:///C:/Gen/TsrInstallationGuide/Content/next.html";
const std::u16string kOpenFolder = u"openfolder:C:%5CProgram%20Files%5CTessarin%5CDocs";
const std::u16string kGuide = u"file:///C:/Gen/TsrInstallationGuide/Content/runvane.html";

class SilentShell : public core::ShellService {
 public:
  core::ShellExecuteOutcome Execute(const core::ShellExecuteRequest&) const override { return {42, 0}; }
};

// The main window stand-in and the guide dialog in it, showing the local guide page.
struct GuideOnScreen {
  GuideOnScreen() {
    RegisterApplicationResources();
    core::InstallShellService(std::make_shared<SilentShell>());
    engine = core::InstallScriptedBrowserEngine();
    main.Create(ApplicationResources::kMainDialog);
    guide.Create(ApplicationResources::kGuideDialog, &main);
    guide.Navigate(kGuide.c_str());
    engine->DeliverPendingEvents();
  }
  std::shared_ptr<core::ScriptedBrowserEngine> engine;
  CDialog main;
  CTsrRunvaneHtmlDlg guide{&main};
};

GuideOnScreen& Screen() {
  static GuideOnScreen* screen = new GuideOnScreen;  // lives until the process ends
  return *screen;
}

void BM_Transcode(benchmark::State& state, const std::u16string* target) {
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    CopiedUString<UTF8> text = TranscodeU16ToU8(UStringRef<UTF16>(*target));
    benchmark::DoNotOptimize(text.data());
  }
  bench::ReportAllocations(state, before, "allocs");
}

void BM_Command(benchmark::State& state, const std::u16string* target) {
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    GuideCommand command = ReadGuideCommand(UStringRef<UTF16>(*target));
    benchmark::DoNotOptimize(command.file.c_str());
  }
  bench::ReportAllocations(state, before, "allocs");
}

void BM_Hook(benchmark::State& state, const std::u16string* target) {
  GuideOnScreen& screen = Screen();
  IDispatch* browser = screen.guide.m_pBrowserApp;
  VARIANT url;
  url.vt = VT_BSTR;
  url.bstrVal = SysAllocStringLen(target->data(), static_cast<UINT>(target->size()));
  VARIANT empty;
  empty.vt = VT_EMPTY;
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    BOOL cancel = FALSE;
    screen.guide.OnBeforeNavigate2(browser, &url, &empty, &empty, &empty, &empty, &cancel);
    benchmark::DoNotOptimize(cancel);
  }
  bench::ReportAllocations(state, before, "allocs");
  SysFreeString(url.bstrVal);
}

// The platform's share of a command: the shell call alone, with the decoded file.
void BM_ShellCall(benchmark::State& state) {
  Screen();  // installs the silent shell
  const std::u16string file = u"C:\\Program Files\\Tessarin\\Docs";
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) benchmark::DoNotOptimize(ShellExecuteW(nullptr, u"open", file.c_str(), nullptr, nullptr, SW_SHOWDEFAULT));
  bench::ReportAllocations(state, before, "allocs");
}

// The platform's share of the local-document check: the browser's location read.
void BM_LocationRead(benchmark::State& state) {
  IWebBrowser2* browser = Screen().guide.m_pBrowserApp;
  const std::size_t before = bench::allocations.load();
  for (auto _ : state) {
    BSTR location = nullptr;
    browser->get_LocationURL(&location);
    benchmark::DoNotOptimize(location);
    SysFreeString(location);
  }
  bench::ReportAllocations(state, before, "allocs");
}

// CPU time, because the machine may be shared and both sides run on one thread.
void PrintRatios(const bench::RunTimesReporter& runs) {
  std::printf("\nguide hook / bare TranscodeU16ToU8 of the same target, by CPU time, with operator-new calls per call:\n");
  for (const char* input : {"ordinary", "openfolder"}) {
    const bench::RunTimes* bare = runs.Find(std::string("Transcode/") + input);
    if (bare == nullptr) continue;
    for (const char* side : {"Command", "Hook"}) {
      const bench::RunTimes* ours = runs.Find(std::string(side) + "/" + input);
      if (ours == nullptr) continue;
      std::printf("  %-8s %-10s %6.2fx  (%.1f ns vs %.1f ns; allocations %.2f vs %.2f)\n", side, input,
                  ours->cpu / bare->cpu, ours->cpu, bare->cpu, ours->counters.at("allocs"),
                  bare->counters.at("allocs"));
    }
  }
  if (const bench::RunTimes* shell = runs.Find("ShellExecuteW/openfolder"))
    std::printf("  of which the platform's ShellExecuteW alone: %.1f ns, allocations %.2f\n", shell->cpu,
                shell->counters.at("allocs"));
  if (const bench::RunTimes* location = runs.Find("get_LocationURL"))
    std::printf("  of which the platform's get_LocationURL alone: %.1f ns, allocations %.2f (plus its BSTR, from malloc)\n",
                location->cpu, location->counters.at("allocs"));
  std::printf("  target: Hook/ordinary at most 1.5x; no allocation for targets of at most 64 units\n");
}

}  // namespace

int main(int argc, char** argv) {
  InstallTestDefaults();  // the fixed desktop the tests measure on, not the machine's
  for (const auto& [name, target] : {std::pair{"ordinary", &kOrdinary}, std::pair{"openfolder", &kOpenFolder}}) {
    benchmark::RegisterBenchmark((std::string("Transcode/") + name).c_str(), BM_Transcode, target);
    benchmark::RegisterBenchmark((std::string("Command/") + name).c_str(), BM_Command, target);
    benchmark::RegisterBenchmark((std::string("Hook/") + name).c_str(), BM_Hook, target);
  }
  benchmark::RegisterBenchmark("ShellExecuteW/openfolder", BM_ShellCall);
  benchmark::RegisterBenchmark("get_LocationURL", BM_LocationRead);
  return bench::RunAndSummarize(argc, argv, PrintRatios);
}
