// Creating and destroying windows, with the platform's messages in the platform's order.
#include "core/user/WindowsHooks.h"

#include <algorithm>

#include "core/gdi/GdiObjects.h"
#include "core/user/WindowFrame.h"
#include "core/user/WindowObserver.h"
#include "core/user/WindowManager.h"
#include "errhandlingapi.h"
#include "winerror.h"

#ifndef ERROR_TLW_WITH_WSCHILD
#define ERROR_TLW_WITH_WSCHILD 1406L
#endif

namespace {

bool HasMenu(const Window& window) { return !(window.style & WS_CHILD) && window.menu != nullptr; }

// The client rectangle relative to the window, as the default WM_NCCALCSIZE gives it.
RECT ComputeClient(const Window& window) {
  const int width = window.rect.right - window.rect.left;
  const int height = window.rect.bottom - window.rect.top;
  if (window.style & WS_MINIMIZE) return RECT{0, 0, 0, 0};
  const FrameInsets insets = NonClientInsets(window.style, window.exStyle, HasMenu(window));
  RECT client{insets.left, insets.top, width - insets.right, height - insets.bottom};
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

// Asks the window for its client area (WM_NCCALCSIZE without the valid-area records) and keeps
// the answer relative to the window.
void CalculateClient(HWND handle) {
  Window* window = FindWindowObject(handle);
  if (window == nullptr) return;
  RECT rect = window->rect;
  SendMessageW(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
  if ((window = FindWindowObject(handle)) == nullptr) return;
  window->client = RECT{rect.left - window->rect.left, rect.top - window->rect.top, rect.right - window->rect.left,
                        rect.bottom - window->rect.top};
}

void Unlink(Window& window) {
  if (Window* parent = FindWindowObject(window.parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.handle), siblings.end());
  }
}

std::vector<HWND> OwnedWindows(HWND owner) {
  std::vector<HWND> owned;
  for (HWND top : DesktopWindow().children)
    if (const Window* w = FindWindowObject(top); w != nullptr && w->owner == owner) owned.push_back(top);
  return owned;
}

// First pass: WM_DESTROY to the window, then to each child before the child's own children.
void SendDestroy(HWND handle) {
  Window* window = FindWindowObject(handle);
  if (window == nullptr) return;
  window->destroying = true;
  SendMessageW(handle, WM_DESTROY, 0, 0);
  if ((window = FindWindowObject(handle)) == nullptr) return;
  const std::vector<HWND> children = window->children;
  for (HWND child : children) SendDestroy(child);
}

// Second pass: WM_NCDESTROY from the innermost windows out, then the object goes.
void Free(HWND handle) {
  Window* window = FindWindowObject(handle);
  if (window == nullptr) return;
  window->destroying = true;
  const std::vector<HWND> children = window->children;
  for (HWND child : children) Free(child);
  if ((window = FindWindowObject(handle)) == nullptr) return;
  // The children went without unlinking themselves (see below); those made meanwhile stay.
  std::erase_if(window->children, [](HWND child) { return FindWindowObject(child) == nullptr; });
  if (const std::shared_ptr<core::WindowObserver> observer = core::CurrentWindowObserver()) observer->WindowDestroying(handle);
  SendMessageW(handle, WM_NCDESTROY, 0, 0);
  if ((window = FindWindowObject(handle)) == nullptr) return;
  if (window->region != nullptr) {
    SetRegionOwnedByWindow(window->region, false);
    FreeRegionObject(window->region);
  }
  DiscardPostedMessages(handle);
  // A parent that goes too drops its list of children whole; unlinking one by one would cost
  // the square of their number.
  const Window* parent = FindWindowObject(window->parent);
  if (parent == nullptr || !parent->destroying || parent == &DesktopWindow()) Unlink(*window);
  RemoveWindowObject(handle);
}

void DestroyTree(HWND handle, bool sendDestroy) {
  for (HWND owned : OwnedWindows(handle)) DestroyWindow(owned);
  ForgetFocusWithin(handle);
  if (Window* window = FindWindowObject(handle)) window->style &= ~WS_VISIBLE;
  if (sendDestroy) SendDestroy(handle);
  Free(handle);
}

void ResolveDefaults(DWORD style, int& x, int& y, int& width, int& height) {
  const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
  if (x == CW_USEDEFAULT) {
    if (overlapped) {
      x = 26;
      y = 26;
    } else {
      x = 0;
      y = 0;
    }
  }
  if (width == CW_USEDEFAULT) {
    if (overlapped) {
      width = GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
      height = GetSystemMetrics(SM_CYSCREEN) * 3 / 4;
    } else {
      width = 0;
      height = 0;
    }
  }
}

// Top-level windows that can be sized or are overlapped learn their limits before creation;
// the size is held to them.
void ApplyCreationLimits(HWND handle, CREATESTRUCTW& cs) {
  if (!((cs.style & WS_THICKFRAME) || !(cs.style & (WS_POPUP | WS_CHILD)))) return;
  MINMAXINFO info{};
  info.ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMaxPosition = POINT{-(GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER)),
                             -(GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER))};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  cs.cx = std::min<int>(cs.cx, info.ptMaxTrackSize.x);
  cs.cy = std::min<int>(cs.cy, info.ptMaxTrackSize.y);
  cs.cx = std::max<int>(cs.cx, info.ptMinTrackSize.x);
  cs.cy = std::max<int>(cs.cy, info.ptMinTrackSize.y);
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param) {
  const WindowClass* windowClass = FindWindowClass(className);
  if (windowClass == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window& desktop = DesktopWindow();
  HWND parent = desktop.handle;
  HWND owner = nullptr;
  if (style & WS_CHILD) {
    if (parentHandle == nullptr || parentHandle == HWND_MESSAGE) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    if (WindowOf(parentHandle) == nullptr) return nullptr;
    parent = parentHandle;
  } else if (parentHandle != nullptr && parentHandle != HWND_MESSAGE) {
    if (WindowOf(parentHandle) == nullptr) return nullptr;
    // A window is owned by the top-level window of the one it names, never by a child.
    owner = GetAncestor(parentHandle, GA_ROOT);
  }
  ResolveDefaults(style, x, y, width, height);
  const bool initiallyVisible = (style & WS_VISIBLE) != 0;
  DWORD actualStyle = style & ~WS_VISIBLE;
  if (!(style & WS_CHILD)) {
    actualStyle |= WS_CLIPSIBLINGS;
    if (!(style & WS_POPUP)) actualStyle |= WS_CAPTION;
  }
  if ((exStyle & WS_EX_DLGMODALFRAME) || (actualStyle & WS_THICKFRAME) ||
      (actualStyle & (WS_DLGFRAME | WS_BORDER)) == WS_DLGFRAME)
    exStyle |= WS_EX_WINDOWEDGE;

  auto object = std::make_unique<Window>();
  object->windowClass = windowClass;
  object->style = actualStyle;
  object->exStyle = exStyle;
  object->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  object->parent = parent;
  object->owner = owner;
  if (style & WS_CHILD)
    object->id = reinterpret_cast<UINT_PTR>(menu);
  else
    object->menu = menu;
  object->instance = instance;
  object->procedure = windowClass->procedure;
  object->extra.assign(static_cast<std::size_t>(windowClass->windowExtra), 0);
  object->client = ComputeClient(*object);
  Window* raw = object.get();
  const HWND handle = AddWindowObject(std::move(object));
  // Children join at the bottom of their siblings (so creation order is tab order); top-level
  // windows come to the top.
  Window* parentWindow = FindWindowObject(parent);
  if (style & WS_CHILD)
    parentWindow->children.push_back(handle);
  else
    parentWindow->children.insert(parentWindow->children.begin(), handle);
  (void)raw;

  CREATESTRUCTW cs{param, instance, menu, parentHandle, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  // Children go to the bottom of their siblings, top-level windows to the top.
  if (CreationRefusedByHooks(handle, &cs, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP)) {
    DestroyTree(handle, false);
    return nullptr;
  }
  if (!(style & WS_CHILD)) {
    ApplyCreationLimits(handle, cs);
    if (Window* w = FindWindowObject(handle)) w->rect = RECT{cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
  }
  const CREATESTRUCTW passed = cs;
  if (!SendMessageW(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyTree(handle, false);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* window = FindWindowObject(handle);
  if (window == nullptr) return nullptr;
  // A handler may have changed the rectangle of the creation record: the window takes it.
  if (cs.x != passed.x || cs.y != passed.y || cs.cx != passed.cx || cs.cy != passed.cy)
    window->rect = RECT{cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0)};
  CalculateClient(handle);
  if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if ((window = FindWindowObject(handle)) == nullptr) return nullptr;
  SendMessageW(handle, WM_SIZE, SizeKind(*window), ClientSizeParam(*window));
  if ((window = FindWindowObject(handle)) == nullptr) return nullptr;
  SendMessageW(handle, WM_MOVE, 0, ClientOriginParam(*window));
  if ((window = FindWindowObject(handle)) == nullptr) return nullptr;
  if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, window->id), reinterpret_cast<LPARAM>(handle));
  if (const std::shared_ptr<core::WindowObserver> observer = core::CurrentWindowObserver(); observer != nullptr && IsWindow(handle))
    observer->WindowCreated(handle);
  if (initiallyVisible && IsWindow(handle)) ShowWindow(handle, SW_SHOW);
  return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  if (window == &DesktopWindow() || window->destroying) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if ((window->style & WS_CHILD) && !(window->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessageW(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, window->id), reinterpret_cast<LPARAM>(handle));
  DestroyTree(handle, true);
  return TRUE;
}
