// Keyboard focus, the active window and enabling. There is one user-interface thread, so one
// focus window and one active window.
#include "core/user/WindowManager.h"

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

HWND focusWindow = nullptr;
HWND activeWindow = nullptr;

bool IsWithin(HWND window, HWND ancestor) {
  for (const Window* w = FindWindowObject(window); w != nullptr; w = FindWindowObject(w->parent)) {
    if (w->handle == ancestor) return true;
    if (w == &DesktopWindow()) break;
  }
  return false;
}

HWND TopLevelOf(HWND handle) {
  const Window* w = FindWindowObject(handle);
  while (w != nullptr && !IsTopLevel(*w) && w != &DesktopWindow()) w = FindWindowObject(w->parent);
  return w != nullptr ? w->handle : nullptr;
}

}  // namespace

void ForgetFocusWithin(HWND window) {
  if (focusWindow != nullptr && IsWithin(focusWindow, window)) focusWindow = nullptr;
  if (activeWindow != nullptr && IsWithin(activeWindow, window)) activeWindow = nullptr;
}

HWND GetFocus() { return IsWindow(focusWindow) ? focusWindow : nullptr; }

HWND SetFocus(HWND handle) {
  const HWND previous = GetFocus();
  if (handle == nullptr) {
    focusWindow = nullptr;
    if (previous != nullptr) SendMessageW(previous, WM_KILLFOCUS, 0, 0);
    return previous;
  }
  Window* window = WindowOf(handle);
  if (window == nullptr) return nullptr;
  // A disabled or minimised window's hierarchy does not take the focus.
  for (const Window* w = window; w != nullptr && w != &DesktopWindow(); w = FindWindowObject(w->parent))
    if (w->style & (WS_DISABLED | WS_MINIMIZE)) return nullptr;
  if (handle == previous) return previous;
  const HWND top = TopLevelOf(handle);
  if (top != activeWindow) SetActiveWindow(top);
  focusWindow = handle;
  if (previous != nullptr) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  if (GetFocus() == handle) SendMessageW(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND GetActiveWindow() { return IsWindow(activeWindow) ? activeWindow : nullptr; }

HWND SetActiveWindow(HWND handle) {
  const HWND previous = GetActiveWindow();
  if (handle != nullptr && WindowOf(handle) == nullptr) return nullptr;
  const HWND top = handle != nullptr ? TopLevelOf(handle) : nullptr;
  if (top == previous) return previous;
  activeWindow = top;
  if (previous != nullptr) SendMessageW(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top));
  if (top != nullptr) SendMessageW(top, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
  if (focusWindow != nullptr && !IsWithin(focusWindow, top)) focusWindow = nullptr;
  return previous;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL SetForegroundWindow(HWND handle) {
  if (WindowOf(handle) == nullptr) return FALSE;
  SetActiveWindow(handle);
  return TRUE;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  const BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    window->style &= ~WS_DISABLED;
    SendMessageW(handle, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    window->style |= WS_DISABLED;
    if (focusWindow != nullptr && IsWithin(focusWindow, handle)) SetFocus(nullptr);
    SendMessageW(handle, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle) {
  const Window* window = WindowOf(handle);
  return window != nullptr && !(window->style & WS_DISABLED);
}
