#include "resizable/LayoutGeometry.h"

#include <cstdint>
#include <string_view>

#include "WideText.h"

namespace LayoutGeometry {
namespace {

// The platform computes anchors in signed 32-bit arithmetic; wrap the same way without the
// undefined behaviour of a signed overflow.
LONG Mul32(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
LONG Add32(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
LONG Sub32(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
// Percent of an extent; the division truncates toward zero.
LONG PercentOf(LONG extent, LONG percent) { return Mul32(extent, percent) / 100; }

LONG Width(const RECT& r) { return Sub32(r.right, r.left); }
LONG Height(const RECT& r) { return Sub32(r.bottom, r.top); }

// One side of the client-UI clamp: the far edge of a control that sticks out of the area.
LONG ClampEdge(LONG nearEdge, LONG farEdge, LONG areaFar, LONG anchorNear) {
  if (farEdge > areaFar && areaFar > nearEdge) {
    return anchorNear != 0 ? areaFar : Sub32(areaFar, nearEdge);
  }
  return farEdge;
}

enum class StaticRepaint { Width, WidthIfEllipsis, Always, Never };

StaticRepaint StaticRepaintRule(DWORD type) {
  switch (type) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
      return StaticRepaint::Width;
    case SS_LEFTNOWORDWRAP:
      return StaticRepaint::WidthIfEllipsis;
    case SS_ICON:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
    case SS_ETCHEDFRAME:
      return StaticRepaint::Always;
    default:
      return StaticRepaint::Never;
  }
}

}  // namespace

RECT ClampForClientUi(RECT r, const RECT& area, AnchorPoint anchorTopLeft) {
  r.right = ClampEdge(r.left, r.right, area.right, anchorTopLeft.x);
  r.bottom = ClampEdge(r.top, r.bottom, area.bottom, anchorTopLeft.y);
  return r;
}

AnchorOffsets ComputeOffsets(const RECT& area, const RECT& controlRect, AnchorPoint anchorTopLeft,
                             AnchorPoint anchorBottomRight, bool clientUi) {
  const LONG w = Width(area);
  const LONG h = Height(area);
  RECT r{Sub32(controlRect.left, area.left), Sub32(controlRect.top, area.top),
         Sub32(controlRect.right, area.left), Sub32(controlRect.bottom, area.top)};
  if (clientUi) r = ClampForClientUi(r, area, anchorTopLeft);
  AnchorOffsets offsets;
  offsets.topLeft = SIZE{Sub32(r.left, PercentOf(w, anchorTopLeft.x)), Sub32(r.top, PercentOf(h, anchorTopLeft.y))};
  offsets.bottomRight =
      SIZE{Sub32(r.right, PercentOf(w, anchorBottomRight.x)), Sub32(r.bottom, PercentOf(h, anchorBottomRight.y))};
  return offsets;
}

RECT PlaceControl(const RECT& area, AnchorPoint anchorTopLeft, const AnchorOffsets& offsets,
                  AnchorPoint anchorBottomRight) {
  const LONG w = Width(area);
  const LONG h = Height(area);
  return RECT{Add32(Add32(offsets.topLeft.cx, PercentOf(w, anchorTopLeft.x)), area.left),
              Add32(Add32(offsets.topLeft.cy, PercentOf(h, anchorTopLeft.y)), area.top),
              Add32(Add32(offsets.bottomRight.cx, PercentOf(w, anchorBottomRight.x)), area.left),
              Add32(Add32(offsets.bottomRight.cy, PercentOf(h, anchorBottomRight.y)), area.top)};
}

UINT MoveFlags(const RECT& oldRect, const RECT& newRect, bool repaint) {
  UINT flags = kMoveBaseFlags;
  if (repaint) flags |= SWP_NOCOPYBITS;
  if (newRect.left == oldRect.left && newRect.top == oldRect.top) flags |= SWP_NOMOVE;
  if (Width(newRect) == Width(oldRect) && Height(newRect) == Height(oldRect)) flags |= SWP_NOSIZE;
  return flags;
}

ControlClass ClassifyControl(const WCHAR* className) {
  const WStringView name = className ? WStringView(className) : WStringView();
  if (name == WIDE("Static")) return ControlClass::Static;
  if (name == WIDE("ListBox")) return ControlClass::ListBox;
  if (name == WIDE("Button")) return ControlClass::Button;
  return ControlClass::Other;
}

bool StaticNeedsRepaint(DWORD style, LONG dW, LONG dH) {
  const bool centerImage = (style & SS_CENTERIMAGE) != 0;
  switch (StaticRepaintRule(style & SS_TYPEMASK)) {
    case StaticRepaint::Width:
      return dW != 0 || (centerImage && dH != 0);
    case StaticRepaint::WidthIfEllipsis:
      return (dW != 0 && (style & SS_ELLIPSISMASK) != 0) || (centerImage && dH != 0);
    case StaticRepaint::Always:
      return true;
    case StaticRepaint::Never:
      break;
  }
  return false;
}

bool ListBoxNeedsRepaint(LONG dW, const std::optional<ScrollRange>& range) {
  if (dW <= 0 || !range) return false;
  const std::int64_t maxPos = static_cast<std::int64_t>(range->nMax) - (static_cast<std::int64_t>(range->nPage) - 1);
  return maxPos > 0 && static_cast<std::int64_t>(range->nPos) + dW > maxPos;
}

bool ClassNeedsRepaint(ControlClass kind, DWORD style, const RECT& oldRect, const RECT& newRect,
                       const std::optional<ScrollRange>& scroll) {
  const LONG dW = Sub32(Width(newRect), Width(oldRect));
  const LONG dH = Sub32(Height(newRect), Height(oldRect));
  if (dW == 0 && dH == 0) return false;
  switch (kind) {
    case ControlClass::Static:
      return StaticNeedsRepaint(style, dW, dH);
    case ControlClass::ListBox:
      return ListBoxNeedsRepaint(dW, scroll);
    case ControlClass::Button:
    case ControlClass::Other:
      break;
  }
  return false;
}

ButtonClipping ButtonClippingRule(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
      return ButtonClipping::Never;
    case BS_OWNERDRAW:
      return ButtonClipping::ByHitTest;
    default:
      return ButtonClipping::Always;
  }
}

bool HitTestPrefersClipping(LRESULT hitTest) { return hitTest != HTTRANSPARENT; }

bool StaticPrefersClipping(DWORD style) {
  const DWORD type = style & SS_TYPEMASK;
  if (type == SS_ICON || type == SS_ENHMETAFILE) return (style & SS_CENTERIMAGE) == 0;
  if (type >= SS_BLACKFRAME && type <= SS_SIMPLE) return false;  // the frames, SS_USERITEM, SS_SIMPLE
  if (type == SS_OWNERDRAW || type >= SS_ETCHEDFRAME) return false;  // and the types after SS_ETCHEDFRAME
  return true;
}

LPARAM HitTestPoint(LONG x, LONG y) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(x) & 0xFFFF) | ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16);
  return static_cast<LPARAM>(packed);
}

bool IsClientUiExecutable(const WCHAR* path, std::size_t length) {
  static constexpr WStringView kClientUi = WIDE("TsrClientUI.exe");
  WStringView text(path, length);
  const std::size_t slash = text.rfind(WIDE('\\'));
  if (slash != WStringView::npos) text.remove_prefix(slash + 1);
  if (text.size() != kClientUi.size()) return false;
  auto lower = [](WCHAR c) { return (c >= WIDE('A') && c <= WIDE('Z')) ? static_cast<WCHAR>(c + 32) : c; };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lower(text[i]) != lower(kClientUi[i])) return false;
  }
  return true;
}

bool NeedsResizableFrame(DWORD style) { return (style & (WS_CHILD | WS_THICKFRAME)) == 0; }

DWORD ResizableFrameStyle(DWORD style) {
  return (style & ~static_cast<DWORD>(DS_MODALFRAME)) | static_cast<DWORD>(WS_THICKFRAME);
}

}  // namespace LayoutGeometry
