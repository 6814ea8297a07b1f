#include "core/user/DesktopFacts.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<const DesktopFacts*> installed{nullptr};

// No display attached: nothing to measure and nowhere to put a window.
class NoDesktop : public DesktopFacts {
 public:
  LOGFONTW MessageFont() const override { return LOGFONTW{}; }
  int Dpi() const override { return 96; }  // the logical resolution the platform assumes by default
  SIZE ScreenSize() const override { return SIZE{0, 0}; }
  RECT WorkArea() const override { return RECT{0, 0, 0, 0}; }
  int ScrollBarWidth() const override { return 0; }
  int ScrollBarHeight() const override { return 0; }
  FontMetrics MeasureFont(const LOGFONTW&) const override { return FontMetrics{0, 0}; }
};

}  // namespace

const DesktopFacts& CurrentDesktopFacts() {
  static const NoDesktop none;
  const DesktopFacts* facts = installed.load();
  return facts != nullptr ? *facts : none;
}

void InstallDesktopFacts(const DesktopFacts* facts) { installed.store(facts); }

void BroadcastSettingChange(UINT action, LPCWSTR section) {
  // A snapshot, so that a window may come or go while it is told.
  std::vector<HWND> topLevel;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) topLevel.push_back(w);
  for (HWND w : topLevel)
    if (IsWindow(w)) SendMessageW(w, WM_SETTINGCHANGE, action, reinterpret_cast<LPARAM>(section));
}
