// The arithmetic and the per-class decision tables of the layout engine. Everything here takes
// plain integers, rectangles, class names and style bits and touches no window, so the rules
// can be checked case by case; CResizableLayout feeds them what it reads from the windows.
#pragma once

#include <cstddef>
#include <optional>

#include <windows.h>
#include <windef.h>
#include <winuser.h>

// A point of the layout area in percent: x 0 is its left edge, 100 its right edge; y 0 its
// top edge, 100 its bottom edge. Values outside 0..100 are allowed.
struct AnchorPoint {
  LONG x;
  LONG y;
};

inline constexpr AnchorPoint AnchorTopLeft{0, 0};
inline constexpr AnchorPoint AnchorTopCenter{50, 0};
inline constexpr AnchorPoint AnchorTopRight{100, 0};
inline constexpr AnchorPoint AnchorMiddleLeft{0, 50};
inline constexpr AnchorPoint AnchorMiddleCenter{50, 50};
inline constexpr AnchorPoint AnchorMiddleRight{100, 50};
inline constexpr AnchorPoint AnchorBottomLeft{0, 100};
inline constexpr AnchorPoint AnchorBottomCenter{50, 100};
inline constexpr AnchorPoint AnchorBottomRight{100, 100};

namespace LayoutGeometry {

// The flags of every move of an arrangement: no change of z-order (the control's or its
// owner's) and no activation. MoveFlags adds SWP_NOMOVE, SWP_NOSIZE and SWP_NOCOPYBITS.
inline constexpr UINT kMoveBaseFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// The fixed pixel offsets of a control's two corners from their anchors.
struct AnchorOffsets {
  SIZE topLeft;
  SIZE bottomRight;
};

// The right and bottom edges of a control that sticks out of the area, as the client UI takes
// them: the area's edge when the top-left anchor is off that side's origin, else a margin
// equal to the opposite one. Compares against area.right / area.bottom as they are.
RECT ClampForClientUi(RECT r, const RECT& area, AnchorPoint anchorTopLeft);

// Offsets of a control from its anchors; controlRect is in host client coordinates.
AnchorOffsets ComputeOffsets(const RECT& area, const RECT& controlRect, AnchorPoint anchorTopLeft,
                             AnchorPoint anchorBottomRight, bool clientUi);

// Where the anchors and offsets put a control for the given area, in host client coordinates.
RECT PlaceControl(const RECT& area, AnchorPoint anchorTopLeft, const AnchorOffsets& offsets,
                  AnchorPoint anchorBottomRight);

// The flags of the deferred move from oldRect to newRect.
UINT MoveFlags(const RECT& oldRect, const RECT& newRect, bool repaint);
// A move that neither moves nor sizes is not made at all.
inline bool LeavesControlAlone(UINT flags) {
  return (flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE);
}

// The window classes that have rules of their own; names compare case-sensitively, as the
// platform reports them.
enum class ControlClass { Static, ListBox, Button, Other };
ControlClass ClassifyControl(const WCHAR* className);

// Whether a static control whose size changes by (dW, dH) must repaint all of its area.
bool StaticNeedsRepaint(DWORD style, LONG dW, LONG dH);

// The horizontal scroll state of a list box.
struct ScrollRange {
  int nMax;
  UINT nPage;
  int nPos;
};
// Whether a list box widened by dW would show space beyond the end of its scroll range. A list
// box without a horizontal range (no ScrollRange) never needs it.
bool ListBoxNeedsRepaint(LONG dW, const std::optional<ScrollRange>& range);

// The class rules of the repaint decision; scroll is consulted for list boxes only.
bool ClassNeedsRepaint(ControlClass kind, DWORD style, const RECT& oldRect, const RECT& newRect,
                       const std::optional<ScrollRange>& scroll);

// How a button answers the clipping question: owner-drawn ones by their hit test.
enum class ButtonClipping { Never, Always, ByHitTest };
ButtonClipping ButtonClippingRule(DWORD style);
// An owner-drawn button that is transparent to the mouse is drawn over by the parent.
bool HitTestPrefersClipping(LRESULT hitTest);
bool StaticPrefersClipping(DWORD style);
// The second parameter of WM_NCHITTEST: x in the low 16 bits, y in the next 16, each cut.
LPARAM HitTestPoint(LONG x, LONG y);

// Whether the executable path names the client UI ("TsrClientUI.exe", any letter case).
bool IsClientUiExecutable(const WCHAR* path, std::size_t length);

// A top-level window without a sizing border gets one.
bool NeedsResizableFrame(DWORD style);
DWORD ResizableFrameStyle(DWORD style);

}  // namespace LayoutGeometry
