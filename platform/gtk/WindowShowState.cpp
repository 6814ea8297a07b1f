#include "gtk/WindowShowState.h"

namespace gtkui {

WindowShowState ShowStateOf(GdkWindowState state) {
  if (state & GDK_WINDOW_STATE_ICONIFIED) return WindowShowState::Minimized;
  if (state & (GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_FULLSCREEN)) return WindowShowState::Maximized;
  return WindowShowState::Normal;
}

namespace {

void EnterState(HWND window, WindowShowState state) {
  switch (state) {
    case WindowShowState::Minimized:
      if (!IsIconic(window)) ShowWindow(window, SW_MINIMIZE);
      break;
    case WindowShowState::Maximized:
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      if (IsWindow(window) && !IsZoomed(window)) ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case WindowShowState::Normal:
      // A window minimised from maximised restores to maximised first.
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      if (IsWindow(window) && IsZoomed(window)) ShowWindow(window, SW_RESTORE);
      break;
  }
}

void FitClientRect(HWND window, const RECT& clientOnScreen) {
  RECT wanted = clientOnScreen;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  AdjustWindowRectEx(&wanted, style, GetMenu(window) != nullptr, exStyle);
  RECT now{};
  GetWindowRect(window, &now);
  if (EqualRect(&now, &wanted)) return;
  SetWindowPos(window, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ApplyGtkWindowState(HWND window, WindowShowState state, const RECT* clientOnScreen) {
  if (!IsWindow(window)) return;
  EnterState(window, state);
  if (state == WindowShowState::Minimized || clientOnScreen == nullptr || !IsWindow(window)) return;
  FitClientRect(window, *clientOnScreen);
}

}  // namespace gtkui
