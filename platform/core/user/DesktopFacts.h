// What the desktop tells the window manager: the message font, the screen's size, work area
// and dots per inch, the scroll-bar sizes, and how big a font's characters are. The desktop
// service installs the real facts at start-up (tests install a fixed desktop of their own).
#pragma once

#include <memory>

#include <windows.h>

namespace core {

struct FontMetrics {
  LONG averageCharWidth;  // of the letters A-Z and a-z, rounded as the dialog manager does
  LONG height;            // the character cell's height
};

class DesktopFacts {
 public:
  virtual ~DesktopFacts() = default;
  // lfHeight in pixels, negative for a character height.
  virtual LOGFONTW MessageFont() const = 0;
  virtual int Dpi() const = 0;
  virtual SIZE ScreenSize() const = 0;
  virtual RECT WorkArea() const = 0;
  virtual int ScrollBarWidth() const = 0;   // SM_CXVSCROLL
  virtual int ScrollBarHeight() const = 0;  // SM_CYHSCROLL
  // The metrics of a font whose lfHeight is in pixels (negative: character height).
  virtual FontMetrics MeasureFont(const LOGFONTW& font) const = 0;
};

// The facts in force. Before a desktop is installed (and after null is) there is no screen:
// every size is zero, the resolution is the platform's default 96 dots per inch and the
// message font has no face, so that nothing made then takes a size from a desktop that is not
// there.
std::shared_ptr<const DesktopFacts> CurrentDesktopFacts();
// Answers the facts it replaces.
std::shared_ptr<const DesktopFacts> InstallDesktopFacts(std::shared_ptr<const DesktopFacts> facts);

}  // namespace core

// Tells every top-level window that the desktop's settings changed (WM_SETTINGCHANGE with
// the action, SPI_SETNONCLIENTMETRICS for metrics and fonts, and the section name), as the
// platform does after a change of its parameters.
void BroadcastSettingChange(UINT action, LPCWSTR section);
