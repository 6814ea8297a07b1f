// What the desktop tells the window manager: the message font, the screen's size, work area
// and dots per inch, the scroll-bar sizes, and how big a font's characters are. Core starts
// with a fixed desktop (FixedDesktopFacts) so that tests are exact; the desktop service
// installs the real facts at start-up.
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

// The facts in force, core's own fixed desktop while none are installed.
std::shared_ptr<const DesktopFacts> CurrentDesktopFacts();
// Answers the facts it replaces; null goes back to core's own fixed desktop.
std::shared_ptr<const DesktopFacts> InstallDesktopFacts(std::shared_ptr<const DesktopFacts> facts);

}  // namespace core

// A desktop whose facts are plain fields. The defaults: 96 dots per inch, a 1920 x 1080
// screen with a 40-pixel task bar at the bottom, 17-pixel scroll bars, "Segoe UI" at -12 as
// the message font, and characters 6/11 of the font's pixel height wide and 13/11 high (so
// 8 points at 96 dots per inch, 11 pixels, give the classic 6 x 13 dialog base units).
class FixedDesktopFacts : public core::DesktopFacts {
 public:
  FixedDesktopFacts();
  LOGFONTW MessageFont() const override { return messageFont; }
  int Dpi() const override { return dpi; }
  SIZE ScreenSize() const override { return screenSize; }
  RECT WorkArea() const override { return workArea; }
  int ScrollBarWidth() const override { return scrollBarWidth; }
  int ScrollBarHeight() const override { return scrollBarHeight; }
  core::FontMetrics MeasureFont(const LOGFONTW& font) const override;

  // Sets the message font's face (truncated to 31 units) and pixel height.
  void SetMessageFont(const char16_t* face, LONG height);

  LOGFONTW messageFont;
  int dpi;
  SIZE screenSize;
  RECT workArea;
  int scrollBarWidth;
  int scrollBarHeight;
};

// Core's own fixed desktop, which tests may change.
FixedDesktopFacts& DefaultDesktopFacts();

// Tells every top-level window that the desktop's settings changed (WM_SETTINGCHANGE with
// the action, SPI_SETNONCLIENTMETRICS for metrics and fonts, and the section name), as the
// platform does after a change of its parameters.
void BroadcastSettingChange(UINT action, LPCWSTR section);
