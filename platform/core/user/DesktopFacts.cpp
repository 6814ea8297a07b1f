#include "core/user/DesktopFacts.h"

#include <vector>

#include "core/kernel/InstalledService.h"

namespace {

// No display attached: nothing to measure and nowhere to put a window.
class NoDesktop : public core::DesktopFacts {
 public:
  LOGFONTW MessageFont() const override { return LOGFONTW{}; }
  int Dpi() const override { return 96; }  // the logical resolution the platform assumes by default
  SIZE ScreenSize() const override { return SIZE{0, 0}; }
  RECT WorkArea() const override { return RECT{0, 0, 0, 0}; }
  int ScrollBarWidth() const override { return 0; }
  int ScrollBarHeight() const override { return 0; }
  core::FontMetrics MeasureFont(const LOGFONTW&) const override { return core::FontMetrics{0, 0}; }
};

core::InstalledService<const core::DesktopFacts> installedFacts;

}  // namespace

std::shared_ptr<const core::DesktopFacts> core::CurrentDesktopFacts() {
  return installedFacts.CurrentOrDefault<NoDesktop>();
}

std::shared_ptr<const core::DesktopFacts> core::InstallDesktopFacts(std::shared_ptr<const DesktopFacts> facts) {
  return installedFacts.Install(std::move(facts));
}

void BroadcastSettingChange(UINT action, LPCWSTR section) {
  // A snapshot, so that a window may come or go while it is told.
  std::vector<HWND> topLevel;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) topLevel.push_back(w);
  for (HWND w : topLevel)
    if (IsWindow(w)) SendMessageW(w, WM_SETTINGCHANGE, action, reinterpret_cast<LPARAM>(section));
}
