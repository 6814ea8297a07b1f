// A browser view's events reach its host from the message loop, where the host runs for every
// other message, and never from inside the engine's own call. The view queues its events and
// posts to a hidden child of its window; the loop's dispatch of that message calls the view
// back. The child goes with the view's window, which may be gone before the view.
#pragma once

#include <functional>

#include <windows.h>

namespace core {

class EventDeliveryWindow {
 public:
  // deliver runs once for each posted message the loop dispatches.
  EventDeliveryWindow(HWND parent, std::function<void()> deliver);
  // Nothing is delivered after this; the child is destroyed unless it is already on its way out.
  ~EventDeliveryWindow();
  EventDeliveryWindow(const EventDeliveryWindow&) = delete;
  EventDeliveryWindow& operator=(const EventDeliveryWindow&) = delete;

  // Posts one delivery; false once the child is gone.
  bool Post() const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The child while it still calls this object.
  HWND LiveWindow() const;

  std::function<void()> deliver_;
  HWND window_ = nullptr;
};

}  // namespace core
