// Window regions and the painting requests. Headless, nothing is drawn; a request for an
// immediate erase sends WM_ERASEBKGND with a device context of the window, as the platform does.
#include "core/user/WindowManager.h"

#include "core/gdi/GdiObjects.h"
#include "errhandlingapi.h"
#include "winerror.h"

int SetWindowRgn(HWND handle, HRGN region, BOOL redraw) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return 0;
  if (region != nullptr && RegionOf(region) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (window->region != nullptr && window->region != region) {
    SetRegionOwnedByWindow(window->region, false);
    FreeRegionObject(window->region);
  }
  window->region = region;
  if (region != nullptr) SetRegionOwnedByWindow(region, true);
  if (redraw && IsWindowVisible(handle)) RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
  return 1;
}

int GetWindowRgn(HWND handle, HRGN region) {
  Window* window = WindowOf(handle);
  if (window == nullptr || window->region == nullptr) return ERROR;
  pixman_region32_t* target = RegionOf(region);
  pixman_region32_t* source = RegionOf(window->region);
  if (target == nullptr || source == nullptr) return ERROR;
  pixman_region32_copy(target, source);
  return RegionKind(target);
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) { return handle == nullptr || WindowOf(handle) != nullptr; }

BOOL UpdateWindow(HWND handle) { return WindowOf(handle) != nullptr; }

BOOL RedrawWindow(HWND handle, const RECT* rect, HRGN region, UINT flags) {
  if (handle != nullptr && WindowOf(handle) == nullptr) return FALSE;
  if (handle != nullptr && (flags & RDW_ERASE) && (flags & RDW_ERASENOW) && IsWindowVisible(handle)) {
    HDC dc = GetDC(handle);
    SendMessageW(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(handle, dc);
  }
  return TRUE;
}
