#include "support/FixedDesktopFacts.h"

#include <windows.h>

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

FixedDesktopFacts& DefaultDesktopFacts() {
  static FixedDesktopFacts facts;
  return facts;
}
