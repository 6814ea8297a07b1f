// The layout engine's arithmetic and class rules, case by case, without windows.
#include "resizable/LayoutGeometry.h"

#include <gtest/gtest.h>

#include <string_view>

#include <windows.h>

#include "WideText.h"

using namespace LayoutGeometry;

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

struct PlacementCase {
  const char* what;
  RECT area;          // where the control was anchored
  RECT control;
  AnchorPoint topLeft;
  AnchorPoint bottomRight;
  SIZE offsetTopLeft;
  SIZE offsetBottomRight;
  RECT laterArea;     // the area of a later arrangement
  RECT placed;        // where the control goes then
};

const PlacementCase kPlacements[] = {
    {"stretched with the window", {0, 0, 400, 300}, {10, 20, 390, 280}, AnchorTopLeft, AnchorBottomRight,
     {10, 20}, {-10, -20}, {0, 0, 600, 500}, {10, 20, 590, 480}},
    {"centred, half pixels truncate", {0, 0, 400, 300}, {150, 130, 250, 170}, AnchorMiddleCenter,
     AnchorMiddleCenter, {-50, -20}, {50, 20}, {0, 0, 401, 301}, {150, 130, 250, 170}},
    {"centred, whole pixels move", {0, 0, 400, 300}, {150, 130, 250, 170}, AnchorMiddleCenter,
     AnchorMiddleCenter, {-50, -20}, {50, 20}, {0, 0, 403, 303}, {151, 131, 251, 171}},
    {"bottom-right twice moves with the corner", {0, 0, 400, 300}, {300, 250, 380, 280}, AnchorBottomRight,
     AnchorBottomRight, {-100, -50}, {-20, -20}, {0, 0, 500, 350}, {400, 300, 480, 330}},
    {"a minimised area leaves the offsets alone", {0, 0, 400, 300}, {10, 20, 390, 280}, AnchorTopLeft,
     AnchorBottomRight, {10, 20}, {-10, -20}, {0, 0, 0, 0}, {10, 20, -10, -20}},
    // -150 x 401 / 100 is -601.5; the division truncates toward zero, to -601.
    {"anchors outside 0..100 truncate toward zero", {0, 0, 400, 300}, {0, 0, 10, 10}, {-150, 0}, {0, 0},
     {600, 0}, {10, 10}, {0, 0, 401, 300}, {-1, 0, 10, 10}},
    {"an area away from the origin", {20, 10, 420, 310}, {30, 30, 410, 290}, AnchorTopLeft, AnchorBottomRight,
     {10, 20}, {-10, -20}, {20, 10, 620, 510}, {30, 30, 610, 490}},
};

TEST(LayoutGeometry, OffsetsAndPlacement) {
  for (const PlacementCase& c : kPlacements) {
    SCOPED_TRACE(c.what);
    const AnchorOffsets offsets = ComputeOffsets(c.area, c.control, c.topLeft, c.bottomRight, false);
    EXPECT_EQ(offsets.topLeft.cx, c.offsetTopLeft.cx);
    EXPECT_EQ(offsets.topLeft.cy, c.offsetTopLeft.cy);
    EXPECT_EQ(offsets.bottomRight.cx, c.offsetBottomRight.cx);
    EXPECT_EQ(offsets.bottomRight.cy, c.offsetBottomRight.cy);
    // At the area it was anchored in, a control stays where it is.
    EXPECT_TRUE(Same(PlaceControl(c.area, c.topLeft, offsets, c.bottomRight), c.control));
    const RECT placed = PlaceControl(c.laterArea, c.topLeft, offsets, c.bottomRight);
    EXPECT_TRUE(Same(placed, c.placed)) << Text(placed);
  }
}

TEST(LayoutGeometry, ClientUiClampOfEdgesOutsideTheArea) {
  struct Case {
    const char* what;
    RECT control;
    AnchorPoint topLeft;
    RECT clamped;
  } const cases[] = {
      {"right edge, x anchored at 0: margin equals the left one", {12, 10, 510, 290}, {0, 0}, {12, 10, 488, 290}},
      {"right edge, x anchored off 0: the area's edge", {12, 10, 510, 290}, {50, 0}, {12, 10, 500, 290}},
      {"bottom edge, y anchored at 0", {10, 20, 100, 320}, {0, 0}, {10, 20, 100, 280}},
      {"bottom edge, y anchored off 0", {10, 20, 100, 320}, {0, 100}, {10, 20, 100, 300}},
      {"a control wholly right of the area stays", {600, 10, 700, 290}, {0, 0}, {600, 10, 700, 290}},
      {"a control inside the area stays", {12, 10, 490, 290}, {0, 0}, {12, 10, 490, 290}},
  };
  const RECT area{0, 0, 500, 300};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RECT clamped = ClampForClientUi(c.control, area, c.topLeft);
    EXPECT_TRUE(Same(clamped, c.clamped)) << Text(clamped);
  }
  // The clamp is part of the offsets only in the client UI.
  const RECT control{12, 10, 510, 290};
  EXPECT_EQ(ComputeOffsets(area, control, AnchorTopLeft, AnchorBottomRight, true).bottomRight.cx, 488 - 500);
  EXPECT_EQ(ComputeOffsets(area, control, AnchorTopLeft, AnchorBottomRight, false).bottomRight.cx, 510 - 500);
}

TEST(LayoutGeometry, ClientUiExecutableName) {
  struct Case {
    WStringView path;
    bool clientUi;
  } const cases[] = {
      {WIDE("C:\\Program Files\\Tessarin\\TsrClientUI.exe"), true},
      {WIDE("C:\\Program Files\\Tessarin\\tsrclientui.EXE"), true},
      {WIDE("TsrClientUI.exe"), true},  // no backslash: the whole text is the name
      {WIDE("C:\\Program Files\\Tessarin\\TsrClientUI.exe.bak"), false},
      {WIDE("C:\\TsrClientUI.exe\\TsrRunvane.exe"), false},
      {WIDE("C:\\Tessarin\\"), false},
      {WIDE(""), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsClientUiExecutable(c.path.data(), c.path.size()), c.clientUi)
        << std::string(c.path.begin(), c.path.end());
  }
}

TEST(LayoutGeometry, MoveFlags) {
  constexpr UINT kBase = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  struct Case {
    const char* what;
    RECT newRect;
    bool repaint;
    UINT flags;
  } const cases[] = {
      {"unchanged", {10, 10, 50, 30}, false, kBase | SWP_NOMOVE | SWP_NOSIZE},
      {"moved only", {20, 15, 60, 35}, false, kBase | SWP_NOSIZE},
      {"sized only", {10, 10, 80, 40}, false, kBase | SWP_NOMOVE},
      {"moved and sized, repainted", {0, 0, 80, 40}, true, kBase | SWP_NOCOPYBITS},
      {"same size elsewhere counts as a move", {-30, 10, 10, 30}, false, kBase | SWP_NOSIZE},
  };
  const RECT oldRect{10, 10, 50, 30};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MoveFlags(oldRect, c.newRect, c.repaint), c.flags);
  }
  EXPECT_TRUE(LeavesControlAlone(MoveFlags(oldRect, oldRect, true)));
  EXPECT_FALSE(LeavesControlAlone(MoveFlags(oldRect, RECT{10, 10, 51, 30}, false)));
}

TEST(LayoutGeometry, ClassNamesAreCaseSensitive) {
  EXPECT_EQ(ClassifyControl(WIDE("Static")), ControlClass::Static);
  EXPECT_EQ(ClassifyControl(WIDE("ListBox")), ControlClass::ListBox);
  EXPECT_EQ(ClassifyControl(WIDE("Button")), ControlClass::Button);
  EXPECT_EQ(ClassifyControl(WIDE("STATIC")), ControlClass::Other);
  EXPECT_EQ(ClassifyControl(WIDE("listbox")), ControlClass::Other);
  EXPECT_EQ(ClassifyControl(WIDE("Edit")), ControlClass::Other);
  EXPECT_EQ(ClassifyControl(WIDE("")), ControlClass::Other);
}

TEST(LayoutGeometry, StaticRepaintRules) {
  struct Case {
    const char* what;
    DWORD style;
    LONG dW, dH;
    bool repaint;
  } const cases[] = {
      {"left text wider", SS_LEFT, 5, 0, true},
      {"left text taller", SS_LEFT, 0, 5, false},
      {"centred text narrower", SS_CENTER, -5, 0, true},
      {"right text taller, centred image", SS_RIGHT | SS_CENTERIMAGE, 0, 5, true},
      {"no-wrap text wider without ellipsis", SS_LEFTNOWORDWRAP, 5, 0, false},
      {"no-wrap text wider with ellipsis", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, 5, 0, true},
      {"no-wrap text taller, centred image", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0, 5, true},
      {"no-wrap text taller", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, 0, 5, false},
      {"icon", SS_ICON, 0, 1, true},
      {"etched frame", SS_ETCHEDFRAME, 1, 0, true},
      {"bitmap", SS_BITMAP, 1, 1, true},
      {"black rectangle", SS_BLACKRECT, 5, 5, false},
      {"simple", SS_SIMPLE, 5, 0, false},
      {"owner-drawn", SS_OWNERDRAW, 5, 5, false},
      {"etched vertical line", SS_ETCHEDVERT, 5, 5, false},
      {"type 19, which has no name", 19, 5, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StaticNeedsRepaint(c.style, c.dW, c.dH), c.repaint);
  }
  // An unchanged size never repaints, whatever the class says.
  EXPECT_FALSE(ClassNeedsRepaint(ControlClass::Static, SS_ICON, {0, 0, 10, 10}, {5, 5, 15, 15}, std::nullopt));
  EXPECT_TRUE(ClassNeedsRepaint(ControlClass::Static, SS_ICON, {0, 0, 10, 10}, {0, 0, 15, 10}, std::nullopt));
  EXPECT_FALSE(ClassNeedsRepaint(ControlClass::Button, BS_PUSHBUTTON, {0, 0, 10, 10}, {0, 0, 15, 15}, std::nullopt));
}

TEST(LayoutGeometry, ListBoxRepaintRule) {
  struct Case {
    const char* what;
    LONG dW;
    std::optional<ScrollRange> range;
    bool repaint;
  } const cases[] = {
      {"scrolled to the end, widened", 30, ScrollRange{199, 100, 90}, true},  // maxPos 100, 120 > 100
      {"scrolled less far", 30, ScrollRange{199, 100, 60}, false},
      {"exactly at the end after widening", 10, ScrollRange{199, 100, 90}, false},
      {"narrower", -30, ScrollRange{199, 100, 90}, false},
      {"range shorter than a page", 30, ScrollRange{50, 100, 0}, false},
      {"no horizontal range", 30, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ListBoxNeedsRepaint(c.dW, c.range), c.repaint);
  }
}

TEST(LayoutGeometry, ClippingRules) {
  EXPECT_EQ(ButtonClippingRule(BS_GROUPBOX), ButtonClipping::Never);
  EXPECT_EQ(ButtonClippingRule(WS_CHILD | WS_VISIBLE | BS_GROUPBOX), ButtonClipping::Never);
  EXPECT_EQ(ButtonClippingRule(BS_OWNERDRAW), ButtonClipping::ByHitTest);
  EXPECT_EQ(ButtonClippingRule(BS_PUSHBUTTON), ButtonClipping::Always);
  EXPECT_EQ(ButtonClippingRule(BS_AUTOCHECKBOX), ButtonClipping::Always);
  EXPECT_FALSE(HitTestPrefersClipping(HTTRANSPARENT));
  EXPECT_TRUE(HitTestPrefersClipping(HTCLIENT));

  struct Case {
    DWORD style;
    bool clip;
  } const statics[] = {
      {SS_LEFT, true},
      {SS_CENTER, true},
      {SS_RIGHT, true},
      {SS_BLACKRECT, true},
      {SS_WHITERECT, true},
      {SS_LEFTNOWORDWRAP, true},
      {SS_BITMAP, true},
      {SS_ETCHEDHORZ, true},
      {SS_ETCHEDVERT, true},
      {SS_ICON, true},
      {SS_ICON | SS_CENTERIMAGE, false},
      {SS_ENHMETAFILE, true},
      {SS_ENHMETAFILE | SS_CENTERIMAGE, false},
      {SS_BLACKFRAME, false},
      {SS_WHITEFRAME, false},
      {SS_USERITEM, false},
      {SS_SIMPLE, false},
      {SS_OWNERDRAW, false},
      {SS_ETCHEDFRAME, false},
      {31, false},  // the highest type, which has no name
  };
  for (const Case& c : statics) EXPECT_EQ(StaticPrefersClipping(c.style), c.clip) << "static style " << c.style;
}

TEST(LayoutGeometry, HitTestPointIsCutTo16BitsEach) {
  EXPECT_EQ(HitTestPoint(10, 20), static_cast<LPARAM>(0x0014000A));
  EXPECT_EQ(HitTestPoint(-5, 70000), static_cast<LPARAM>(0x1170FFFB));
}

TEST(LayoutGeometry, ResizableFrame) {
  constexpr DWORD kPopupCaption = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  EXPECT_TRUE(NeedsResizableFrame(kPopupCaption | DS_MODALFRAME));
  EXPECT_FALSE(NeedsResizableFrame(WS_CHILD));
  EXPECT_FALSE(NeedsResizableFrame(kPopupCaption | WS_THICKFRAME));  // already sizing
  EXPECT_EQ(ResizableFrameStyle(kPopupCaption | DS_MODALFRAME | DS_SETFONT),
            static_cast<DWORD>(kPopupCaption | WS_THICKFRAME | DS_SETFONT));
}

}  // namespace
