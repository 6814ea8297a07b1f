#include "resizable/ResizableLayout.h"

#include <string>

#include <afxwin.h>

#include "WideText.h"

using namespace LayoutGeometry;

namespace {

// Every window that registers the name gets the same number, so controls of any module can
// answer; registered once and kept for the run.
UINT RegisterResizeSupport() { return RegisterWindowMessageW(WIDE("WMU_RESIZESUPPORT")); }

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

// One move of an arrangement, kept so that a failed deferral can be rebuilt without it.
struct PendingMove {
  HWND window;
  RECT rect;
  UINT flags;
};

}  // namespace

UINT ResizeSupportMessage() {
  static const UINT message = RegisterResizeSupport();
  return message;
}

CResizableLayout::~CResizableLayout() = default;

HWND CResizableLayout::HostHandle() {
  CWnd* host = GetHostWindow();
  return host ? host->GetSafeHwnd() : nullptr;
}

RECT CResizableLayout::ControlRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, HostHandle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void CResizableLayout::GetLayoutArea(RECT& area) { ::GetClientRect(HostHandle(), &area); }

bool CResizableLayout::SupplyCallbackLayout(LAYOUTINFO&) { return false; }

void CResizableLayout::ComputeOffsets(HWND window, LAYOUTINFO& entry) {
  RECT area{};
  GetLayoutArea(area);
  const AnchorOffsets offsets = LayoutGeometry::ComputeOffsets(area, ControlRect(window), entry.anchorTopLeft,
                                                               entry.anchorBottomRight, RunsAsClientUi());
  entry.offsetTopLeft = offsets.topLeft;
  entry.offsetBottomRight = offsets.bottomRight;
}

void CResizableLayout::AnchorControl(HWND window, AnchorPoint anchorTopLeft, AnchorPoint anchorBottomRight) {
  LAYOUTINFO entry;
  entry.window = window;
  entry.anchorTopLeft = anchorTopLeft;
  entry.anchorBottomRight = anchorBottomRight;
  ComputeOffsets(window, entry);
  ::GetClassNameW(window, entry.className, MAX_PATH);
  ProbeResizeProperties(entry);
  layoutList_.push_back(entry);
}

void CResizableLayout::ProbeResizeProperties(LAYOUTINFO& entry) {
  entry.answersQueries = ::SendMessageW(entry.window, ResizeSupportMessage(), ResizeQueryProperties,
                                        reinterpret_cast<LPARAM>(&entry.properties)) != 0;
  if (!entry.answersQueries) {
    entry.properties.askClipping = FALSE;
    entry.properties.cachedClipping = PrefersClipping(entry);
    entry.properties.askRefresh = TRUE;
  }
}

bool CResizableLayout::PrefersClipping(const LAYOUTINFO& entry) {
  if (entry.answersQueries) {
    BOOL clip = FALSE;
    if (::SendMessageW(entry.window, ResizeSupportMessage(), ResizeQueryClipping, reinterpret_cast<LPARAM>(&clip)))
      return clip != FALSE;
  }
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(entry.window, GWL_STYLE));
  switch (ClassifyControl(entry.className)) {
    case ControlClass::Button:
      switch (ButtonClippingRule(style)) {
        case ButtonClipping::Never:
          return false;
        case ButtonClipping::Always:
          return true;
        case ButtonClipping::ByHitTest:
          return OwnerDrawPrefersClipping(entry.window);
      }
      return true;
    case ControlClass::Static:
      return StaticPrefersClipping(style);
    case ControlClass::ListBox:
    case ControlClass::Other:
      break;
  }
  return true;
}

// An owner-drawn button may be transparent to the mouse at its client origin; the parent then
// draws there and must not be clipped.
bool CResizableLayout::OwnerDrawPrefersClipping(HWND button) {
  RECT r{};
  ::GetWindowRect(button, &r);
  ::SendMessageW(button, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
  return HitTestPrefersClipping(::SendMessageW(button, WM_NCHITTEST, 0, HitTestPoint(r.left, r.top)));
}

bool CResizableLayout::NeedsRepaint(const LAYOUTINFO& entry, const RECT& oldRect, const RECT& newRect) {
  if (entry.answersQueries) {
    RefreshQuery query{TRUE, oldRect, newRect};
    if (::SendMessageW(entry.window, ResizeSupportMessage(), ResizeQueryRefresh, reinterpret_cast<LPARAM>(&query)))
      return query.needsRefresh != FALSE;
  }
  const ControlClass kind = ClassifyControl(entry.className);
  DWORD style = 0;
  std::optional<ScrollRange> scroll;
  const LONG dW = Width(newRect) - Width(oldRect);
  if (kind == ControlClass::Static) {
    style = static_cast<DWORD>(::GetWindowLongW(entry.window, GWL_STYLE));
  } else if (kind == ControlClass::ListBox && dW > 0) {
    scroll = HorizontalScroll(entry.window);
  }
  return ClassNeedsRepaint(kind, style, oldRect, newRect, scroll);
}

std::optional<ScrollRange> CResizableLayout::HorizontalScroll(HWND listBox) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  // Without a horizontal range there is nothing the wider box could show beyond it.
  if (!::GetScrollInfo(listBox, SB_HORZ, &info)) return std::nullopt;
  return ScrollRange{info.nMax, info.nPage, info.nPos};
}

HDWP CResizableLayout::DeferEntry(HDWP batch, const LAYOUTINFO& entry, const RECT& area) {
  const RECT oldRect = ControlRect(entry.window);
  const RECT newRect = PlaceControl(area, entry.anchorTopLeft, {entry.offsetTopLeft, entry.offsetBottomRight},
                                    entry.anchorBottomRight);
  // Taken before the move flags, so a control that asks to be told is told at every pass.
  const bool repaint = entry.properties.askRefresh ? NeedsRepaint(entry, oldRect, newRect)
                                                   : entry.properties.cachedRefresh != FALSE;
  const UINT flags = MoveFlags(oldRect, newRect, repaint);
  if (LeavesControlAlone(flags)) return batch;
  const HDWP next = ::DeferWindowPos(batch, entry.window, nullptr, newRect.left, newRect.top, Width(newRect),
                                     Height(newRect), flags);
  // A failed entry (a window destroyed meanwhile) is left out; the batch stays usable, so the
  // other moves of this arrangement still happen.
  return next ? next : batch;
}

void CResizableLayout::ApplyLayout() {
  const std::size_t count = EntryCount();
  if (count == 0) return;
  RECT area{};
  GetLayoutArea(area);
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(count));
  for (const LAYOUTINFO& entry : layoutList_) batch = DeferEntry(batch, entry, area);
  for (const LAYOUTINFO& entry : callbackList_) {
    LAYOUTINFO copy = entry;
    if (SupplyCallbackLayout(copy)) batch = DeferEntry(batch, copy, area);
  }
  ::EndDeferWindowPos(batch);
}

void CResizableLayout::ClearLayout() {
  layoutList_.clear();
  callbackList_.clear();
}

void CResizableLayout::MergeControlRegion(const LAYOUTINFO& entry, HRGN region) {
  const RECT r = ControlRect(entry.window);
  HRGN control = ::CreateRectRgn(0, 0, 0, 0);
  const int kind = ::GetWindowRgn(entry.window, control);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    ::OffsetRgn(control, r.left, r.top);
  } else {
    ::SetRectRgn(control, r.left, r.top, r.right, r.bottom);
  }
  const bool clip = entry.properties.askClipping ? PrefersClipping(entry) : entry.properties.cachedClipping != FALSE;
  ::CombineRgn(region, region, control, clip ? RGN_DIFF : RGN_OR);
  ::DeleteObject(control);
}

BOOL CResizableLayout::ClipForErase(HDC dc) {
  const HWND host = HostHandle();
  if (::WindowFromDC(dc) != host) return FALSE;
  RECT client{};
  ::GetClientRect(host, &client);
  HRGN region = ::CreateRectRgnIndirect(&client);
  for (const LAYOUTINFO& entry : layoutList_) {
    if (::IsWindowVisible(entry.window)) MergeControlRegion(entry, region);
  }
  for (const LAYOUTINFO& entry : callbackList_) {
    LAYOUTINFO copy = entry;
    if (SupplyCallbackLayout(copy) && ::IsWindowVisible(copy.window)) MergeControlRegion(copy, region);
  }
  ::ExtSelectClipRgn(dc, region, RGN_AND);
  ::DeleteObject(region);
  return TRUE;
}

void CResizableLayout::MakeResizableFrame(CREATESTRUCTW* cs) {
  if (!NeedsResizableFrame(static_cast<DWORD>(cs->style))) return;
  const HWND host = HostHandle();
  RECT r{cs->x, cs->y, cs->x + cs->cx, cs->y + cs->cy};
  ::SendMessageW(host, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  const DWORD style = ResizableFrameStyle(static_cast<DWORD>(cs->style));
  // Only the style changes here; the size is set below, in one step.
  ::SetWindowLongW(host, GWL_STYLE, static_cast<LONG>(style));
  const HMENU menu = ::GetMenu(host);
  ::AdjustWindowRectEx(&r, style, menu != nullptr && ::IsMenu(menu), static_cast<DWORD>(::GetWindowLongW(host, GWL_EXSTYLE)));
  ::SetWindowPos(host, nullptr, 0, 0, Width(r), Height(r),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  cs->cx = Width(r);
  cs->cy = Height(r);
}

bool CResizableLayout::RunsAsClientUi() {
  static const bool clientUi = [] {
    WCHAR path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0) return false;
    // A path longer than the buffer arrives truncated but terminated.
    return IsClientUiExecutable(path, std::char_traits<WCHAR>::length(path));
  }();
  return clientUi;
}
