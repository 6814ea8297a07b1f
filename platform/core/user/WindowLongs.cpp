// The window's long values and texts.
#include "core/user/WindowManager.h"

#include <cstring>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

bool RefuseIndex() {
  SetLastError(ERROR_INVALID_INDEX);
  return false;
}

// Whether the window's extra bytes hold `size` bytes at `index`; an index outside them is refused.
bool ExtraFits(const Window& window, int index, std::size_t size) {
  if (index >= 0 && static_cast<std::size_t>(index) + size <= window.extra.size()) return true;
  return RefuseIndex();
}

// The 32-bit calls: pointer-sized values do not fit, so the platform refuses them in its
// 64-bit form; a non-negative index must hold a whole LONG.
bool LongIndexUsable(const Window& window, int index) {
  if (index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT) return RefuseIndex();
  return index < 0 || ExtraFits(window, index, sizeof(LONG));
}

// The extra bytes need not be aligned for T, hence the copies.
template <class T>
T ReadExtra(const Window& window, int index) {
  T value;
  std::memcpy(&value, window.extra.data() + index, sizeof(value));
  return value;
}

template <class T>
void WriteExtra(Window& window, int index, T value) {
  std::memcpy(window.extra.data() + index, &value, sizeof(value));
}

void ChangeStyle(HWND handle, int index, DWORD newValue) {
  Window* window = FindWindowObject(handle);
  STYLESTRUCT change{index == GWL_STYLE ? window->style : window->exStyle, newValue};
  SendMessageW(handle, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  if ((window = FindWindowObject(handle)) == nullptr) return;
  if (index == GWL_STYLE)
    window->style = change.styleNew;
  else
    window->exStyle = change.styleNew;
  SendMessageW(handle, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND handle, int index) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWLP_ID: return static_cast<LONG_PTR>(window->id);
    case GWLP_USERDATA: return window->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>((window->style & WS_CHILD) ? window->parent : window->owner);
    default:
      if (!ExtraFits(*window, index, sizeof(LONG_PTR))) return 0;
      return ReadExtra<LONG_PTR>(*window, index);
  }
}

LONG_PTR SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return 0;
  const LONG_PTR previous = GetWindowLongPtrW(handle, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
      // The style changes at once; the frame follows with the next size change or
      // SWP_FRAMECHANGED, as on the platform.
      ChangeStyle(handle, index, static_cast<DWORD>(value));
      break;
    case GWLP_ID: window->id = static_cast<UINT_PTR>(value); break;
    case GWLP_USERDATA: window->userData = value; break;
    case GWLP_WNDPROC: window->procedure = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
      if (!(window->style & WS_CHILD)) window->owner = reinterpret_cast<HWND>(value);
      break;
    default:
      if (!ExtraFits(*window, index, sizeof(LONG_PTR))) return 0;
      WriteExtra(*window, index, value);
      break;
  }
  SetLastError(NO_ERROR);
  return previous;
}

LONG GetWindowLongW(HWND handle, int index) {
  Window* window = WindowOf(handle);
  if (window == nullptr || !LongIndexUsable(*window, index)) return 0;
  if (index >= 0) return ReadExtra<LONG>(*window, index);
  return static_cast<LONG>(GetWindowLongPtrW(handle, index));
}

LONG SetWindowLongW(HWND handle, int index, LONG value) {
  Window* window = WindowOf(handle);
  if (window == nullptr || !LongIndexUsable(*window, index)) return 0;
  if (index >= 0) {
    const LONG previous = ReadExtra<LONG>(*window, index);
    WriteExtra(*window, index, value);
    return previous;
  }
  const LONG_PTR extended = (index == GWL_STYLE || index == GWL_EXSTYLE) ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                                         : static_cast<LONG_PTR>(value);
  return static_cast<LONG>(SetWindowLongPtrW(handle, index, extended));
}

BOOL SetWindowTextW(HWND handle, LPCWSTR text) {
  if (WindowOf(handle) == nullptr) return FALSE;
  return SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextW(HWND handle, LPWSTR text, int maxCount) {
  if (WindowOf(handle) == nullptr || text == nullptr || maxCount <= 0) return 0;
  return static_cast<int>(SendMessageW(handle, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND handle) {
  if (WindowOf(handle) == nullptr) return 0;
  return static_cast<int>(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0));
}
