#include "core/user/UserSizing.h"

#include <algorithm>

#include "core/kernel/InstalledService.h"
#include "core/user/WindowManager.h"

namespace {

core::InstalledService<core::SizeLoop> installedLoop;

bool MovesLeftEdge(UINT edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool MovesTopEdge(UINT edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }

}  // namespace

std::shared_ptr<core::SizeLoop> core::InstallSizeLoop(std::shared_ptr<SizeLoop> loop) {
  return installedLoop.Install(std::move(loop));
}

// Used by DefWindowProcW for SC_SIZE.
void RunSizeLoop(HWND window, UINT edge) {
  if (const std::shared_ptr<core::SizeLoop> loop = installedLoop.Current()) loop->Run(window, edge);
}

BOOL SizeWindowByUser(HWND handle, UINT edge, RECT proposed) {
  Window* window = WindowOf(handle);
  if (window == nullptr || (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) return FALSE;
  SendMessageW(handle, WM_ENTERSIZEMOVE, 0, 0);
  SendMessageW(handle, WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed));
  MINMAXINFO info{};
  info.ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  const int width = std::clamp<int>(proposed.right - proposed.left, info.ptMinTrackSize.x,
                                    std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
  const int height = std::clamp<int>(proposed.bottom - proposed.top, info.ptMinTrackSize.y,
                                     std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
  if (MovesLeftEdge(edge))
    proposed.left = proposed.right - width;
  else
    proposed.right = proposed.left + width;
  if (MovesTopEdge(edge))
    proposed.top = proposed.bottom - height;
  else
    proposed.bottom = proposed.top + height;
  // Screen coordinates into the parent's client coordinates.
  POINT origin{proposed.left, proposed.top};
  if (!IsTopLevel(*window)) ScreenToClient(window->parent, &origin);
  SetWindowPos(handle, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsWindow(handle)) SendMessageW(handle, WM_EXITSIZEMOVE, 0, 0);
  return TRUE;
}
