// The default processing of window messages.
#include "core/user/WindowManager.h"

#include <algorithm>
#include <cstring>

#include "core/user/WindowFrame.h"
#include "core/user/WindowObserver.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

bool HasMenu(const Window& window) { return !(window.style & WS_CHILD) && window.menu != nullptr; }

// The client rectangle inside a window rectangle under the window's style.
void ClientWithin(const Window& window, RECT& rect) {
  if (window.style & WS_MINIMIZE) {
    rect.right = rect.left;
    rect.bottom = rect.top;
    return;
  }
  const FrameInsets insets = NonClientInsets(window.style, window.exStyle, HasMenu(window));
  rect.left += insets.left;
  rect.top += insets.top;
  rect.right -= insets.right;
  rect.bottom -= insets.bottom;
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
}

LRESULT HitTest(const Window& window, LPARAM lParam) {
  const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT rect = WindowRectOnScreen(window);
  if (!PtInRect(&rect, p)) return HTNOWHERE;
  const POINT origin = ClientOriginOnScreen(window);
  const RECT client{origin.x, origin.y, origin.x + (window.client.right - window.client.left),
                    origin.y + (window.client.bottom - window.client.top)};
  if (PtInRect(&client, p)) return HTCLIENT;
  if (window.style & WS_THICKFRAME) {
    const FrameInsets frame = WindowFrameInsets(window.style & ~WS_CAPTION, window.exStyle, false);
    const bool left = p.x < rect.left + frame.left;
    const bool right = p.x >= rect.right - frame.right;
    const bool top = p.y < rect.top + frame.top;
    const bool bottom = p.y >= rect.bottom - frame.bottom;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  if ((window.style & WS_CAPTION) == WS_CAPTION && p.y < client.top) return HTCAPTION;
  return HTBORDER;
}

// Resizable and overlapped top-level windows are held to their tracking limits.
void ApplyTrackingLimits(HWND handle, WINDOWPOS& pos) {
  const Window* window = FindWindowObject(handle);
  if (window == nullptr || (pos.flags & SWP_NOSIZE) || (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  if (!((window->style & WS_THICKFRAME) || !(window->style & (WS_POPUP | WS_CHILD)))) return;
  MINMAXINFO info{};
  info.ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  pos.cx = std::clamp<int>(pos.cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
  pos.cy = std::clamp<int>(pos.cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

LRESULT CopyText(const Window& window, WPARAM capacity, LPARAM buffer) {
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  if (out == nullptr || capacity == 0) return 0;
  const std::size_t n = std::min<std::size_t>(window.text.size(), capacity - 1);
  window.text.copy(out, n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT DefWindowProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(handle);
  if (window == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        window->text.assign(cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (rect != nullptr) ClientWithin(*window, *rect);
      return 0;
    }
    case WM_NCHITTEST:
      return HitTest(*window, lParam);
    case WM_SETTEXT:
      window->text = lParam != 0 ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
      if (const std::shared_ptr<core::WindowObserver> observer = core::CurrentWindowObserver()) observer->WindowTextChanged(handle);
      return TRUE;
    case WM_GETTEXT:
      return CopyText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->text.size());
    case WM_SETFONT:
      window->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(window->font);
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
      const HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      if (const std::shared_ptr<core::WindowObserver> observer = core::CurrentWindowObserver()) observer->WindowIconChanged(handle);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
      if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(window->bigIcon);
      if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(window->smallIcon);
      return reinterpret_cast<LRESULT>(window->smallIcon != nullptr ? window->smallIcon : window->bigIcon);
    case WM_WINDOWPOSCHANGING:
      ApplyTrackingLimits(handle, *reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
      if (!(flags & SWP_NOCLIENTMOVE)) SendMessageW(handle, WM_MOVE, 0, ClientOriginParam(*window));
      if ((window = FindWindowObject(handle)) == nullptr) return 0;
      if (!(flags & SWP_NOCLIENTSIZE)) SendMessageW(handle, WM_SIZE, SizeKind(*window), ClientSizeParam(*window));
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_ERASEBKGND:
      return window->windowClass != nullptr && window->windowClass->background != nullptr ? 1 : 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageW(handle, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(handle, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(handle, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(handle, SW_RESTORE); break;
        case SC_SIZE: RunSizeLoop(handle, static_cast<UINT>(wParam & 0x000F)); break;
        default: break;
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    default:
      return 0;
  }
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (procedure == nullptr) return 0;
  return procedure(handle, message, wParam, lParam);
}
