// Fonts in device contexts: selection, metrics and extents from the desktop's font facts.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Core's fixed desktop: characters 6/11 of the font's pixel height wide and 13/11 high.
TEST(TextMetrics, ComeFromTheSelectedFont) {
  const HDC screen = GetDC(nullptr);
  LOGFONTW font{};
  font.lfHeight = -22;
  font.lfWeight = FW_NORMAL;
  const HFONT made = CreateFontIndirectW(&font);
  const HGDIOBJ starting = SelectObject(screen, made);
  ASSERT_NE(starting, nullptr);
  TEXTMETRICW metrics{};
  ASSERT_TRUE(GetTextMetricsW(screen, &metrics));
  EXPECT_EQ(metrics.tmHeight, 26);
  EXPECT_EQ(metrics.tmAveCharWidth, 12);
  EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
  SIZE extent{};
  ASSERT_TRUE(GetTextExtentPoint32W(screen, u"abc", 3, &extent));
  EXPECT_EQ(extent.cx, 36);
  EXPECT_EQ(extent.cy, 26);
  // Back to the starting font: the desktop's message font, 12 pixels high.
  EXPECT_EQ(SelectObject(screen, starting), made);
  ASSERT_TRUE(GetTextMetricsW(screen, &metrics));
  EXPECT_EQ(metrics.tmHeight, 14);
  EXPECT_EQ(metrics.tmAveCharWidth, 7);
  DeleteObject(made);
  ReleaseDC(nullptr, screen);
}

TEST(TextMetrics, RefuseABadContextOrObject) {
  TEXTMETRICW metrics{};
  SIZE extent{};
  EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x1234), &metrics));
  EXPECT_FALSE(GetTextExtentPoint32W(reinterpret_cast<HDC>(0x1234), u"a", 1, &extent));
  const HDC screen = GetDC(nullptr);
  const HRGN region = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(SelectObject(screen, region), nullptr);
  EXPECT_FALSE(GetTextExtentPoint32W(screen, u"a", -1, &extent));
  DeleteObject(region);
  ReleaseDC(nullptr, screen);
}

}  // namespace
