// Regions, window regions and the clipping of device contexts.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/WindowTestSupport.h"

namespace {

// The pixels of a region inside a box, row by row, '#' for inside.
std::vector<std::string> Pixels(HRGN region, int width, int height) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) row += PtInRegion(region, x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(Regions, CombineGivesUnionIntersectionDifferenceAndTheirKinds) {
  HRGN a = CreateRectRgn(0, 0, 4, 4);
  HRGN b = CreateRectRgn(2, 2, 6, 6);
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int mode;
    int kind;
    std::vector<std::string> pixels;
  } cases[] = {
      {RGN_OR, COMPLEXREGION, {"####..", "####..", "######", "######", "..####", "..####"}},
      {RGN_AND, SIMPLEREGION, {"......", "......", "..##..", "..##..", "......", "......"}},
      {RGN_DIFF, COMPLEXREGION, {"####..", "####..", "##....", "##....", "......", "......"}},
      {RGN_XOR, COMPLEXREGION, {"####..", "####..", "##..##", "##..##", "..####", "..####"}},
      {RGN_COPY, SIMPLEREGION, {"####..", "####..", "####..", "####..", "......", "......"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind);
    EXPECT_EQ(Pixels(out, 6, 6), c.pixels);
  }
  // The destination may be a source; the difference of a region with itself is empty.
  EXPECT_EQ(CombineRgn(a, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_OR), ERROR);
  for (HRGN r : {a, b, out}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_FALSE(DeleteObject(a));
}

TEST(Regions, RectanglesNormaliseAndOffsetMoves) {
  HRGN r = CreateRectRgn(10, 10, 2, 4);  // corners swapped
  RECT box{};
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{2, 4, 10, 10}));
  EXPECT_EQ(OffsetRgn(r, -2, 6), SIMPLEREGION);
  GetRgnBox(r, &box);
  EXPECT_EQ(box, (RECT{0, 10, 8, 16}));
  SetRectRgn(r, 5, 5, 5, 9);  // no width
  EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
  const RECT indirect{1, 2, 3, 4};
  HRGN s = CreateRectRgnIndirect(&indirect);
  EXPECT_TRUE(PtInRegion(s, 2, 3));
  EXPECT_FALSE(PtInRegion(s, 3, 3));  // right edge excluded
  DeleteObject(r);
  DeleteObject(s);
}

TEST(Regions, PolygonsHoldThePixelsWhoseCentresLieInside) {
  // The size grip's triangle: lower right half of a 6 x 6 square, diagonal included.
  const POINT triangle[] = {{0, 6}, {6, 6}, {6, 0}};
  HRGN grip = CreatePolygonRgn(triangle, 3, WINDING);
  EXPECT_EQ(Pixels(grip, 6, 6), (std::vector<std::string>{".....#", "....##", "...###", "..####", ".#####", "######"}));
  // A self-overlapping star: the centre is in for WINDING, out for ALTERNATE.
  const POINT pentagram[] = {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}};
  HRGN winding = CreatePolygonRgn(pentagram, 5, WINDING);
  HRGN alternate = CreatePolygonRgn(pentagram, 5, ALTERNATE);
  EXPECT_TRUE(PtInRegion(winding, 5, 5));
  EXPECT_FALSE(PtInRegion(alternate, 5, 5));
  EXPECT_TRUE(PtInRegion(alternate, 5, 2));  // a point of the star, covered once
  EXPECT_EQ(CreatePolygonRgn(triangle, 1, WINDING), nullptr);
  for (HRGN r : {grip, winding, alternate}) DeleteObject(r);
}

TEST(Regions, AWindowOwnsItsRegionAndGetWindowRgnCopiesIt) {
  HWND w = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 6, 6, nullptr, nullptr, nullptr, nullptr);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, copy), ERROR);  // none yet
  const POINT triangle[] = {{0, 6}, {6, 6}, {6, 0}};
  HRGN region = CreatePolygonRgn(triangle, 3, WINDING);
  ASSERT_TRUE(SetWindowRgn(w, region, FALSE));
  EXPECT_FALSE(DeleteObject(region));  // the window's now
  EXPECT_EQ(GetWindowRgn(w, copy), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(copy, region));
  ASSERT_TRUE(SetWindowRgn(w, nullptr, FALSE));  // frees the old one
  EXPECT_FALSE(PtInRegion(region, 5, 5));
  EXPECT_EQ(GetWindowRgn(w, copy), ERROR);
  DestroyWindow(w);
  DeleteObject(copy);
}

TEST(Regions, ClippingOfAWindowsContextNarrowsWithinItsClientArea) {
  HWND w = CreateWindowExW(0, u"Static", u"", WS_POPUP | WS_BORDER, 0, 0, 12, 12, nullptr, nullptr, nullptr, nullptr);
  HDC dc = GetDC(w);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), w);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);  // no clip region yet
  // The erase region: the client area minus a control's rectangle.
  HRGN erase = CreateRectRgn(0, 0, 10, 10);
  HRGN control = CreateRectRgn(2, 2, 5, 5);
  CombineRgn(erase, erase, control, RGN_DIFF);
  EXPECT_EQ(ExtSelectClipRgn(dc, erase, RGN_AND), COMPLEXREGION);
  ASSERT_EQ(GetClipRgn(dc, clip), 1);
  EXPECT_TRUE(EqualRgn(clip, erase));
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  // A region reaching outside the client area is cut to it.
  HRGN wide = CreateRectRgn(-5, -5, 50, 50);
  EXPECT_EQ(ExtSelectClipRgn(dc, wide, RGN_COPY), SIMPLEREGION);
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);
  EXPECT_EQ(ReleaseDC(w, dc), 1);
  EXPECT_EQ(ReleaseDC(w, dc), 0);
  for (HRGN r : {clip, erase, control, wide}) DeleteObject(r);
  DestroyWindow(w);
}

}  // namespace
