#include "core/user/DesktopFacts.h"

#include <vector>

#include "core/kernel/InstalledService.h"
#include "winbase.h"

FixedDesktopFacts::FixedDesktopFacts()
    : messageFont{}, dpi(96), screenSize{1920, 1080}, workArea{0, 0, 1920, 1040}, scrollBarWidth(17), scrollBarHeight(17) {
  SetMessageFont(u"Segoe UI", -12);
}

void FixedDesktopFacts::SetMessageFont(const char16_t* face, LONG height) {
  messageFont = LOGFONTW{};
  messageFont.lfHeight = height;
  messageFont.lfWeight = FW_NORMAL;
  messageFont.lfCharSet = DEFAULT_CHARSET;
  int i = 0;
  for (; i < LF_FACESIZE - 1 && face[i] != 0; ++i) messageFont.lfFaceName[i] = face[i];
  messageFont.lfFaceName[i] = 0;
}

core::FontMetrics FixedDesktopFacts::MeasureFont(const LOGFONTW& font) const {
  // A positive height is the cell's height, a negative one the characters' height; this
  // desktop's fonts have no internal leading, so both give the same size.
  const LONG pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight == 0 ? 11 : font.lfHeight;
  return core::FontMetrics{MulDiv(pixels, 6, 11), MulDiv(pixels, 13, 11)};
}

namespace {

core::InstalledService<const core::DesktopFacts> installedFacts;

// Made on first use and never torn down, like the slot that may hand it out.
const std::shared_ptr<FixedDesktopFacts>& DefaultFacts() {
  static const auto* const facts = new std::shared_ptr<FixedDesktopFacts>(std::make_shared<FixedDesktopFacts>());
  return *facts;
}

}  // namespace

FixedDesktopFacts& DefaultDesktopFacts() { return *DefaultFacts(); }

std::shared_ptr<const core::DesktopFacts> core::CurrentDesktopFacts() {
  if (std::shared_ptr<const DesktopFacts> facts = installedFacts.Current()) return facts;
  return DefaultFacts();
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
