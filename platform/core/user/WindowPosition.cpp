// Positions, sizes, z-order, showing, minimising and maximising, and deferred batches.
#include "core/user/WindowManager.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/kernel/HandleTable.h"
#include "core/user/DesktopFacts.h"
#include "core/user/WindowFrame.h"
#include "core/user/WindowObserver.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

constexpr UINT kNoChange = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 28;
constexpr LONG kMinimizedPosition = -32000;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ClientInParent(const Window& w) {
  return RECT{w.rect.left + w.client.left, w.rect.top + w.client.top, w.rect.left + w.client.right,
              w.rect.top + w.client.bottom};
}

bool Reorder(Window& window, HWND insertAfter) {
  Window* parent = FindWindowObject(window.parent);
  if (parent == nullptr) return false;
  auto& siblings = parent->children;
  const auto before = siblings;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window.handle), siblings.end());
  if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(window.handle);
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    siblings.insert(siblings.begin(), window.handle);
  } else {
    auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(it == siblings.end() ? siblings.begin() : it + 1, window.handle);
  }
  return siblings != before;
}

}  // namespace

WPARAM SizeKind(const Window& window) {
  if (window.style & WS_MINIMIZE) return SIZE_MINIMIZED;
  if (window.style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

LPARAM ClientSizeParam(const Window& window) {
  return MAKELPARAM(Width(window.client), Height(window.client));
}

LPARAM ClientOriginParam(const Window& window) {
  const RECT client = ClientInParent(window);
  return MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top));
}

void PrepareMove(PendingMove& move) {
  WINDOWPOS& pos = move.position;
  Window* window = FindWindowObject(pos.hwnd);
  if (window == nullptr || window->destroying) {
    move.valid = false;
    return;
  }
  if (pos.flags & SWP_NOSIZE) {
    pos.cx = Width(window->rect);
    pos.cy = Height(window->rect);
  }
  if (pos.flags & SWP_NOMOVE) {
    pos.x = window->rect.left;
    pos.y = window->rect.top;
  }
  pos.cx = std::max(pos.cx, 0);
  pos.cy = std::max(pos.cy, 0);
  if (!(pos.flags & SWP_NOSENDCHANGING)) {
    SendMessageW(pos.hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (FindWindowObject(pos.hwnd) == nullptr) move.valid = false;
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
  }
}

void ApplyMove(PendingMove& move) {
  if (!move.valid) return;
  WINDOWPOS& pos = move.position;
  Window* window = FindWindowObject(pos.hwnd);
  if (window == nullptr) {
    move.valid = false;
    return;
  }
  const RECT oldRect = window->rect;
  const RECT oldClient = ClientInParent(*window);
  RECT newRect = oldRect;
  if (!(pos.flags & SWP_NOMOVE)) OffsetRect(&newRect, pos.x - oldRect.left, pos.y - oldRect.top);
  if (!(pos.flags & SWP_NOSIZE)) {
    newRect.right = newRect.left + pos.cx;
    newRect.bottom = newRect.top + pos.cy;
  }
  const bool sized = Width(newRect) != Width(oldRect) || Height(newRect) != Height(oldRect);
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  RECT newClient{oldClient.left + newRect.left - oldRect.left, oldClient.top + newRect.top - oldRect.top,
                 oldClient.right + newRect.left - oldRect.left, oldClient.bottom + newRect.top - oldRect.top};
  if (sized || (pos.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{{newRect, oldRect, oldClient}, &pos};
    SendMessageW(pos.hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if ((window = FindWindowObject(pos.hwnd)) == nullptr) {
      move.valid = false;
      return;
    }
    newClient = params.rgrc[0];
  }
  window->rect = newRect;
  window->client = RECT{newClient.left - newRect.left, newClient.top - newRect.top, newClient.right - newRect.left,
                        newClient.bottom - newRect.top};
  bool reordered = false;
  if (!(pos.flags & SWP_NOZORDER)) reordered = Reorder(*window, pos.hwndInsertAfter);
  bool shownOrHidden = false;
  if ((pos.flags & SWP_SHOWWINDOW) && !(window->style & WS_VISIBLE)) {
    window->style |= WS_VISIBLE;
    shownOrHidden = true;
  } else if ((pos.flags & SWP_HIDEWINDOW) && (window->style & WS_VISIBLE)) {
    window->style &= ~WS_VISIBLE;
    shownOrHidden = true;
    ForgetFocusWithin(pos.hwnd);
  }
  if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient)) pos.flags |= SWP_NOCLIENTSIZE;
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) pos.flags |= SWP_NOCLIENTMOVE;
  pos.x = newRect.left;
  pos.y = newRect.top;
  pos.cx = Width(newRect);
  pos.cy = Height(newRect);
  move.moved = sized || moved;
  move.shownOrHidden = shownOrHidden;
  move.changed = sized || moved || reordered || shownOrHidden || (pos.flags & SWP_FRAMECHANGED) ||
                 (pos.flags & kNoChange) != kNoChange;
}

void NotifyMove(PendingMove& move) {
  if (!move.valid || !move.changed || FindWindowObject(move.position.hwnd) == nullptr) return;
  if (const std::shared_ptr<core::WindowObserver> observer = core::CurrentWindowObserver()) {
    const Window& window = *FindWindowObject(move.position.hwnd);
    if (move.moved) observer->WindowMoved(move.position.hwnd, WindowRectOnScreen(window));
    if (move.shownOrHidden) observer->WindowVisibilityChanged(move.position.hwnd, (window.style & WS_VISIBLE) != 0);
  }
  SendMessageW(move.position.hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&move.position));
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  if (window == &DesktopWindow()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  PendingMove move{WINDOWPOS{handle, insertAfter, x, y, cx, cy, flags}};
  PrepareMove(move);
  ApplyMove(move);
  NotifyMove(move);
  return TRUE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(handle, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

// ---- Deferred batches ---------------------------------------------------------------------

namespace {

// A batch's entries in the order they were deferred, and where each window's entry is, so
// that naming a window again costs no search (batches can hold thousands of controls).
struct Batch {
  std::vector<WINDOWPOS> entries;
  std::unordered_map<HWND, std::size_t> indexOf;
};

using Batches = core::HandleTable<HDWP, Batch>;

Batches& DeferredBatches() {
  static auto* batches = Batches::Make(0x00500008, 8, ERROR_INVALID_DWP_HANDLE);
  return *batches;
}

// A window named twice in one batch: the later call's fields win where its flags give them.
void Merge(WINDOWPOS& earlier, const WINDOWPOS& later) {
  if (!(later.flags & SWP_NOMOVE)) {
    earlier.x = later.x;
    earlier.y = later.y;
    earlier.flags &= ~SWP_NOMOVE;
  }
  if (!(later.flags & SWP_NOSIZE)) {
    earlier.cx = later.cx;
    earlier.cy = later.cy;
    earlier.flags &= ~SWP_NOSIZE;
  }
  if (!(later.flags & SWP_NOZORDER)) {
    earlier.hwndInsertAfter = later.hwndInsertAfter;
    earlier.flags &= ~SWP_NOZORDER;
  }
  const UINT movement = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
  earlier.flags = (earlier.flags & movement) | (later.flags & ~movement);
}

}  // namespace

HDWP BeginDeferWindowPos(int numWindows) {
  if (numWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Batch batch;
  batch.entries.reserve(static_cast<std::size_t>(numWindows));
  batch.indexOf.reserve(static_cast<std::size_t>(numWindows));
  return DeferredBatches().Add(std::move(batch));
}

HDWP DeferWindowPos(HDWP batch, HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Batches& batches = DeferredBatches();
  if (batches.Find(batch) == nullptr) {
    batches.ReportBadHandle();
    return nullptr;
  }
  // Unlike the platform, a bad entry does not end the batch: it is left out, the batch keeps
  // its handle, and the moves deferred before and after it still take effect.
  Window* window = WindowOf(handle);
  if (window == nullptr) return nullptr;
  if (window == &DesktopWindow()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const WINDOWPOS entry{handle, insertAfter, x, y, cx, cy, flags};
  // The batch is changed with its table locked, so that a batch ended meanwhile on another
  // thread is reported instead of changed after its end.
  return batches.Visit(batch, [&](Batch* entries) -> HDWP {
    if (entries == nullptr) {
      batches.ReportBadHandle();
      return nullptr;
    }
    const auto [at, added] = entries->indexOf.emplace(handle, entries->entries.size());
    if (added)
      entries->entries.push_back(entry);
    else
      Merge(entries->entries[at->second], entry);
    return batch;
  });
}

BOOL EndDeferWindowPos(HDWP batch) {
  std::optional<Batch> ended = DeferredBatches().Take(batch);
  if (!ended) {
    DeferredBatches().ReportBadHandle();
    return FALSE;
  }
  const std::vector<WINDOWPOS>& entries = ended->entries;
  // All windows are asked first, then all take their new places, then all are told: no
  // window sees a sibling of the batch half moved.
  std::vector<PendingMove> moves;
  moves.reserve(entries.size());
  for (const WINDOWPOS& entry : entries) moves.push_back(PendingMove{entry});
  for (PendingMove& move : moves) PrepareMove(move);
  for (PendingMove& move : moves) ApplyMove(move);
  for (PendingMove& move : moves) NotifyMove(move);
  return TRUE;
}

// ---- Showing, minimising, maximising ------------------------------------------------------

namespace {

// Where a maximised window goes: its client area fills the work area (a child's, its
// parent's client area), the border lying outside.
MINMAXINFO DefaultMinMax(const Window& window) {
  RECT area = core::CurrentDesktopFacts()->WorkArea();
  if (!IsTopLevel(window)) {
    if (const Window* parent = FindWindowObject(window.parent))
      area = RECT{0, 0, Width(parent->client), Height(parent->client)};
  }
  const FrameInsets frame = WindowFrameInsets(window.style, window.exStyle, false);
  const int border = frame.left;
  MINMAXINFO info{};
  info.ptMaxSize = POINT{Width(area) + 2 * border, Height(area) + 2 * border};
  info.ptMaxPosition = POINT{area.left - border, area.top - border};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return info;
}

bool IsNormal(const Window& window) { return !(window.style & (WS_MINIMIZE | WS_MAXIMIZE)); }

// A window already in the state asked for does not move; it is only shown or hidden.
void ShowInPlace(HWND handle, UINT showFlag) {
  if (showFlag) SetWindowPos(handle, nullptr, 0, 0, 0, 0, showFlag | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Maximize(HWND handle, UINT showFlag) {
  Window* window = FindWindowObject(handle);
  if (window->style & WS_MAXIMIZE) {
    ShowInPlace(handle, showFlag);
    return;
  }
  if (IsNormal(*window)) window->normalRect = window->rect;
  MINMAXINFO info = DefaultMinMax(*window);
  SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  if ((window = FindWindowObject(handle)) == nullptr) return;
  window->style = (window->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
  window->restoreToMaximized = false;
  window->maxPosition = info.ptMaxPosition;
  SetWindowPos(handle, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x, info.ptMaxSize.y,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | showFlag);
}

void Minimize(HWND handle, UINT showFlag) {
  Window* window = FindWindowObject(handle);
  if (window->style & WS_MINIMIZE) {
    ShowInPlace(handle, showFlag);
    return;
  }
  if (IsNormal(*window)) window->normalRect = window->rect;
  window->restoreToMaximized = (window->style & WS_MAXIMIZE) != 0;
  window->style = (window->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
  window->minPosition = POINT{kMinimizedPosition, kMinimizedPosition};
  ForgetFocusWithin(handle);
  SetWindowPos(handle, nullptr, kMinimizedPosition, kMinimizedPosition, kMinimizedWidth, kMinimizedHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | showFlag);
}

void Restore(HWND handle, UINT showFlag) {
  Window* window = FindWindowObject(handle);
  if (IsNormal(*window)) {
    ShowInPlace(handle, showFlag);
    return;
  }
  const RECT normal = window->normalRect;
  window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  window->restoreToMaximized = false;
  SetWindowPos(handle, nullptr, normal.left, normal.top, Width(normal), Height(normal),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | showFlag);
}

}  // namespace

BOOL ShowWindow(HWND handle, int command) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  const bool wasVisible = (window->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    SendMessageW(handle, WM_SHOWWINDOW, FALSE, 0);
    SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
  }
  if (!wasVisible) {
    SendMessageW(handle, WM_SHOWWINDOW, TRUE, 0);
    if ((window = FindWindowObject(handle)) == nullptr) return FALSE;
  }
  const UINT show = wasVisible ? 0 : SWP_SHOWWINDOW;
  switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      Minimize(handle, show);
      break;
    case SW_SHOWMAXIMIZED:
      Maximize(handle, show);
      break;
    case SW_RESTORE:
      if ((window->style & WS_MINIMIZE) && window->restoreToMaximized)
        Maximize(handle, show);
      else
        Restore(handle, show);
      break;
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      Restore(handle, show);
      break;
    default:  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE
      if (show) SetWindowPos(handle, nullptr, 0, 0, 0, 0, show | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
  for (const Window* window = FindWindowObject(handle); window != nullptr; window = FindWindowObject(window->parent)) {
    if (!(window->style & WS_VISIBLE)) return FALSE;
    if (window == &DesktopWindow()) break;
  }
  return FindWindowObject(handle) != nullptr;
}

BOOL IsIconic(HWND handle) {
  const Window* window = FindWindowObject(handle);
  return window != nullptr && (window->style & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND handle) {
  const Window* window = FindWindowObject(handle);
  return window != nullptr && (window->style & WS_MAXIMIZE) != 0;
}

BOOL BringWindowToTop(HWND handle) {
  return SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

// Placements of top-level windows are in workspace coordinates: relative to the work area.
BOOL GetWindowPlacement(HWND handle, WINDOWPLACEMENT* placement) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  if (placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  placement->flags = ((window->style & WS_MINIMIZE) && window->restoreToMaximized) ? WPF_RESTORETOMAXIMIZED : 0;
  placement->showCmd = (window->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                       : (window->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                       : SW_SHOWNORMAL;
  placement->ptMinPosition = window->minPosition;
  placement->ptMaxPosition = window->maxPosition;
  RECT normal = IsNormal(*window) ? window->rect : window->normalRect;
  if (IsTopLevel(*window) && !(window->exStyle & WS_EX_TOOLWINDOW)) {
    const RECT work = core::CurrentDesktopFacts()->WorkArea();
    OffsetRect(&normal, -work.left, -work.top);
  }
  placement->rcNormalPosition = normal;
  return TRUE;
}

BOOL SetWindowPlacement(HWND handle, const WINDOWPLACEMENT* placement) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  if (placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT normal = placement->rcNormalPosition;
  if (IsTopLevel(*window) && !(window->exStyle & WS_EX_TOOLWINDOW)) {
    const RECT work = core::CurrentDesktopFacts()->WorkArea();
    OffsetRect(&normal, work.left, work.top);
  }
  if (placement->flags & WPF_SETMINPOSITION) window->minPosition = placement->ptMinPosition;
  window->maxPosition = placement->ptMaxPosition;
  if (IsNormal(*window))
    SetWindowPos(handle, nullptr, normal.left, normal.top, Width(normal), Height(normal), SWP_NOZORDER | SWP_NOACTIVATE);
  else
    window->normalRect = normal;
  if ((window = FindWindowObject(handle)) == nullptr) return FALSE;
  window->restoreToMaximized = (placement->flags & WPF_RESTORETOMAXIMIZED) != 0;
  ShowWindow(handle, static_cast<int>(placement->showCmd));
  return TRUE;
}
