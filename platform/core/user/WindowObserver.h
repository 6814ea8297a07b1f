// What the presenter learns about windows: each change of a window's existence, place, size
// or visibility, after the window manager has made it. Core calls the one installed observer
// on the user-interface thread; with none installed nothing is told.
#pragma once

#include <memory>

#include <windows.h>

namespace core {

class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  // After CreateWindowExW has sent the window its creation messages.
  virtual void WindowCreated(HWND window) {}
  // Before the window's WM_NCDESTROY; the window can still be queried.
  virtual void WindowDestroying(HWND window) {}
  // After its rectangle changed (in any way SetWindowPos, a batch or ShowWindow moves it).
  // Children that move along with their parent get no notice of their own.
  virtual void WindowMoved(HWND window, const RECT& windowRectOnScreen) {}
  // After WS_VISIBLE of the window itself changed.
  virtual void WindowVisibilityChanged(HWND window, bool visible) {}
  // After the window's text changed.
  virtual void WindowTextChanged(HWND window) {}
  // After WM_SETICON gave the window a big or small icon (or took it away).
  virtual void WindowIconChanged(HWND window) {}
};

// Answers the observer it replaces; null stops the notifications.
std::shared_ptr<WindowObserver> InstallWindowObserver(std::shared_ptr<WindowObserver> observer);
// The installed observer, or null.
std::shared_ptr<WindowObserver> CurrentWindowObserver();

}  // namespace core
