// A desktop whose facts are plain fields, so that sizes in tests are exact. The defaults: 96
// dots per inch, a 1920 x 1080 screen with a 40-pixel task bar at the bottom, 17-pixel
// scroll bars, "Segoe UI" at -12 as the message font, and characters 6/11 of the font's pixel
// height wide and 13/11 high (so 8 points at 96 dots per inch, 11 pixels, give the classic
// 6 x 13 dialog base units).
#pragma once

#include "core/user/DesktopFacts.h"

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

// The test program's desktop, installed before its first test (InstallTestDefaults); a test
// may change it and puts it back when done.
FixedDesktopFacts& DefaultDesktopFacts();
