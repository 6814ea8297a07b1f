// The handle table and the coordinate spaces of windows. Handles are never reused, so a
// destroyed window's handle stays invalid for the rest of the run.
#include "core/user/WindowManager.h"

#include "core/kernel/HandleTable.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

using WindowTable = core::HandleTable<HWND, std::unique_ptr<Window>>;

WindowTable& Table() {
  static auto* table = WindowTable::Make(0x00010010, 0x10, ERROR_INVALID_WINDOW_HANDLE);
  return *table;
}

}  // namespace

HWND AddWindowObject(std::unique_ptr<Window> window) {
  Window* added = window.get();
  HWND handle = Table().Add(std::move(window));
  added->handle = handle;
  return handle;
}

void RemoveWindowObject(HWND handle) { Table().Remove(handle); }

Window* FindWindowObject(HWND handle) {
  if (handle == nullptr) return nullptr;
  std::unique_ptr<Window>* window = Table().Find(handle);
  return window != nullptr ? window->get() : nullptr;
}

Window* WindowOf(HWND handle) {
  Window* window = FindWindowObject(handle);
  if (window == nullptr) Table().ReportBadHandle();
  return window;
}

Window& DesktopWindow() {
  static Window* desktop = [] {
    auto window = std::make_unique<Window>();
    window->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    window->rect = RECT{0, 0, cx, cy};
    window->client = RECT{0, 0, cx, cy};
    window->text = u"";
    window->procedure = DefWindowProcW;
    Window* raw = window.get();
    AddWindowObject(std::move(window));
    return raw;
  }();
  return *desktop;
}

HWND GetDesktopWindow() { return DesktopWindow().handle; }

bool IsTopLevel(const Window& window) { return window.parent == DesktopWindow().handle; }

POINT ClientOriginOnScreen(const Window& window) {
  POINT origin{window.rect.left + window.client.left, window.rect.top + window.client.top};
  if (&window == &DesktopWindow()) return POINT{0, 0};
  if (const Window* parent = FindWindowObject(window.parent)) {
    const POINT parentOrigin = ClientOriginOnScreen(*parent);
    origin.x += parentOrigin.x;
    origin.y += parentOrigin.y;
  }
  return origin;
}

RECT WindowRectOnScreen(const Window& window) {
  RECT rect = window.rect;
  if (&window != &DesktopWindow())
    if (const Window* parent = FindWindowObject(window.parent)) {
      const POINT origin = ClientOriginOnScreen(*parent);
      OffsetRect(&rect, origin.x, origin.y);
    }
  return rect;
}

// As on the platform, a window stays a window until its last message (WM_NCDESTROY) is done.
BOOL IsWindow(HWND handle) { return FindWindowObject(handle) != nullptr; }

BOOL GetWindowRect(HWND handle, LPRECT rect) {
  Window* window = WindowOf(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = WindowRectOnScreen(*window);
  return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
  Window* window = WindowOf(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = RECT{0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND handle, LPPOINT point) {
  Window* window = WindowOf(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*window);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND handle, LPPOINT point) {
  Window* window = WindowOf(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*window);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT fromOrigin{0, 0};
  POINT toOrigin{0, 0};
  if (from != nullptr) {
    Window* window = WindowOf(from);
    if (window == nullptr) return 0;
    fromOrigin = ClientOriginOnScreen(*window);
  }
  if (to != nullptr) {
    Window* window = WindowOf(to);
    if (window == nullptr) return 0;
    toOrigin = ClientOriginOnScreen(*window);
  }
  const LONG dx = fromOrigin.x - toOrigin.x;
  const LONG dy = fromOrigin.y - toOrigin.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  // The platform's answer: the horizontal shift in the low word, the vertical in the high.
  SetLastError(NO_ERROR);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}
