// The system's control classes, as far as a headless window manager has them: their answers
// to hit tests and dialog-code queries, their texts, and scroll information.
#include "core/user/WindowManager.h"

#include <algorithm>

#include "errhandlingapi.h"
#include "winerror.h"

#ifndef ERROR_NO_SCROLLBARS
#define ERROR_NO_SCROLLBARS 1447L
#endif

LRESULT CALLBACK StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  switch (message) {
    case WM_NCCREATE: {
      // A numbered title (an icon's resource number) is no text.
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs != nullptr && cs->lpszName != nullptr && cs->lpszName[0] == 0xFFFF) return TRUE;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_NCHITTEST:
      // Static controls let the mouse through unless they notify their parent.
      return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  switch (message) {
    case WM_NCHITTEST:
      if (type == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETDLGCODE:
      switch (type) {
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ScrollBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  switch (message) {
    case WM_LBUTTONDOWN:
      // A size box sizes its top-level window from the lower right corner.
      if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
        const HWND top = GetAncestor(window, GA_ROOT);
        if (top != nullptr && !IsZoomed(top)) SendMessageW(top, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, lParam);
        return 0;
      }
      return 0;
    case WM_GETDLGCODE:
      return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) ? 0 : DLGC_WANTARROWS;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_WANTARROWS | DLGC_WANTCHARS;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

// The bar that holds a window's scroll information: a scroll-bar control's own, or the
// window's horizontal or vertical bar.
ScrollBarState* BarOf(Window& window, int bar) {
  if (bar == SB_HORZ || bar == SB_VERT) return &window.scrollBars[bar];
  if (bar == SB_CTL && window.windowClass != nullptr && window.windowClass->procedure == ScrollBarProcedure)
    return &window.scrollBars[SB_CTL];
  return nullptr;
}

bool HasBar(const Window& window, int bar, const ScrollBarState& state) {
  if (bar == SB_CTL) return true;
  return state.set || (window.style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL));
}

void Clamp(ScrollBarState& state) {
  const int range = state.max - state.min + 1;
  if (range > 0 && state.page > static_cast<UINT>(range)) state.page = static_cast<UINT>(range);
  const int highest = state.max - std::max<int>(static_cast<int>(state.page) - 1, 0);
  state.pos = std::clamp(state.pos, state.min, std::max(state.min, highest));
}

}  // namespace

BOOL GetScrollInfo(HWND handle, int bar, LPSCROLLINFO info) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return FALSE;
  if (info == nullptr || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ScrollBarState* state = BarOf(*window, bar);
  if (state == nullptr || !HasBar(*window, bar, *state)) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return FALSE;
  }
  if (info->fMask & SIF_RANGE) {
    info->nMin = state->min;
    info->nMax = state->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state->page;
  if (info->fMask & SIF_POS) info->nPos = state->pos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) info->nTrackPos = state->trackPos;
  return (info->fMask & SIF_ALL) != 0;
}

int SetScrollInfo(HWND handle, int bar, LPCSCROLLINFO info, BOOL redraw) {
  Window* window = WindowOf(handle);
  if (window == nullptr || info == nullptr) return 0;
  ScrollBarState* state = BarOf(*window, bar);
  if (state == nullptr) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return 0;
  }
  state->set = true;
  if (info->fMask & SIF_RANGE) {
    state->min = info->nMin;
    state->max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) state->page = info->nPage;
  if (info->fMask & SIF_POS) state->pos = info->nPos;
  Clamp(*state);
  return state->pos;
}
