#include "core/com/EventDeliveryWindow.h"

#include <utility>

#include "core/user/WindowTeardown.h"

namespace core {

namespace {

constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr char16_t kWindowClass[] = u"BrowserViewEvents";

}  // namespace

EventDeliveryWindow::EventDeliveryWindow(HWND parent, std::function<void()> deliver) : deliver_(std::move(deliver)) {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &EventDeliveryWindow::Procedure;
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  if (!registered) return;
  window_ = CreateWindowExW(0, kWindowClass, u"", WS_CHILD, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
  if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

EventDeliveryWindow::~EventDeliveryWindow() {
  const HWND window = LiveWindow();
  if (window == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!IsBeingDestroyed(window)) DestroyWindow(window);
}

bool EventDeliveryWindow::Post() const {
  const HWND window = LiveWindow();
  return window != nullptr && PostMessageW(window, kDeliverMessage, 0, 0) != FALSE;
}

HWND EventDeliveryWindow::LiveWindow() const {
  if (window_ == nullptr || !IsWindow(window_)) return nullptr;
  return GetWindowLongPtrW(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this) ? window_ : nullptr;
}

LRESULT CALLBACK EventDeliveryWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kDeliverMessage) return DefWindowProcW(window, message, wParam, lParam);
  const auto* events = reinterpret_cast<const EventDeliveryWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (events == nullptr) return 0;
  // What is delivered may end the view and this object with it: the call runs on a copy.
  const std::function<void()> deliver = events->deliver_;
  deliver();
  return 0;
}

}  // namespace core
