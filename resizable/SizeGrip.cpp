#include "resizable/SizeGrip.h"

CSizeGrip::~CSizeGrip() = default;

SIZE CSizeGrip::MetricsSize() { return SIZE{::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)}; }

BOOL CSizeGrip::PreCreateWindow(CREATESTRUCT& cs) {
  // The grip is as big as a scroll bar is thick, whatever rectangle the caller gave.
  gripSize_ = MetricsSize();
  cs.cx = gripSize_.cx;
  cs.cy = gripSize_.cy;
  return CScrollBar::PreCreateWindow(cs);
}

void CSizeGrip::SetTriangular(BOOL enable) {
  triangular_ = enable;
  if (!m_hWnd) return;
  if (enable) {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    const LONG w = r.right - r.left;
    const LONG h = r.bottom - r.top;
    const POINT corner[3] = {{0, h}, {w, h}, {w, 0}};
    // The window owns the region from here on.
    ::SetWindowRgn(m_hWnd, ::CreatePolygonRgn(corner, 3, WINDING), ::IsWindowVisible(m_hWnd));
  } else {
    ::SetWindowRgn(m_hWnd, nullptr, ::IsWindowVisible(m_hWnd));
  }
}

void CSizeGrip::FollowMetrics() {
  const SIZE old = gripSize_;
  gripSize_ = MetricsSize();
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  // Keep the lower right corner where it is.
  r.left += old.cx - gripSize_.cx;
  r.top += old.cy - gripSize_.cy;
  ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&r), 2);
  ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  // The triangle is cut for the new size, after the move; cut before it, it would keep the
  // old size and sit off the corner of a grip that grew.
  if (triangular_) SetTriangular(TRUE);
}

LRESULT CSizeGrip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      // Right-to-left windows have their grip, and their resizing corner, at the lower left.
      return (GetExStyle() & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETFOCUS:
      return 0;
    case WM_SETTINGCHANGE:
      FollowMetrics();
      break;
    default:
      break;
  }
  return CScrollBar::WindowProc(message, wParam, lParam);
}
