// Parents, owners, siblings and the searches over them.
#include "core/user/WindowManager.h"

#include <algorithm>

#include "core/kernel/CaseInsensitiveText.h"
#include "errhandlingapi.h"
#include "winerror.h"

#ifndef ERROR_CONTROL_ID_NOT_FOUND
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#endif

HWND GetParent(HWND handle) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return nullptr;
  if (window->style & WS_CHILD) return window->parent;
  if (window->style & WS_POPUP) return window->owner;
  return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* window = WindowOf(child);
  if (window == nullptr) return nullptr;
  Window* parent = newParent != nullptr ? WindowOf(newParent) : &DesktopWindow();
  if (parent == nullptr) return nullptr;
  const HWND previous = window->parent;
  if (Window* old = FindWindowObject(previous)) {
    auto& siblings = old->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
  }
  window->parent = parent->handle;
  parent->children.insert(parent->children.begin(), child);
  return previous;
}

HWND GetAncestor(HWND handle, UINT flags) {
  Window* window = WindowOf(handle);
  if (window == nullptr || window == &DesktopWindow()) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return window->parent;
    case GA_ROOT:
      while (!IsTopLevel(*window)) window = FindWindowObject(window->parent);
      return window->handle;
    case GA_ROOTOWNER: {
      while (!IsTopLevel(*window)) window = FindWindowObject(window->parent);
      while (Window* owner = FindWindowObject(window->owner)) window = owner;
      return window->handle;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetWindow(HWND handle, UINT relation) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return nullptr;
  if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  if (relation == GW_OWNER) return window->owner;
  Window* parent = FindWindowObject(window->parent);
  if (parent == nullptr) return nullptr;
  const auto& siblings = parent->children;
  auto it = std::find(siblings.begin(), siblings.end(), handle);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == siblings.begin() || it == siblings.end()) ? nullptr : *(it - 1);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

BOOL IsChild(HWND parent, HWND handle) {
  const Window* window = FindWindowObject(handle);
  while (window != nullptr && (window->style & WS_CHILD)) {
    if (window->parent == parent) return TRUE;
    window = FindWindowObject(window->parent);
  }
  return FALSE;
}

namespace {

// Depth first over a snapshot of the children, so that a callback may create or destroy
// windows; windows destroyed meanwhile are passed over.
bool EnumerateDescendants(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  const Window* window = FindWindowObject(parent);
  if (window == nullptr) return true;
  const std::vector<HWND> children = window->children;
  for (HWND child : children) {
    if (!IsWindow(child)) continue;
    if (!proc(child, lParam)) return false;
    if (!EnumerateDescendants(child, proc, lParam)) return false;
  }
  return true;
}

bool Matches(const Window& window, LPCWSTR className, LPCWSTR windowName) {
  if (className != nullptr) {
    if (window.windowClass == nullptr) return false;
    if (IS_INTRESOURCE(className)) {
      if (window.windowClass->atom != static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(className))) return false;
    } else if (!EqualsIgnoringCase(window.windowClass->name, std::u16string_view(className, TextLength(className)))) {
      return false;
    }
  }
  if (windowName != nullptr && !EqualsIgnoringCase(window.text, std::u16string_view(windowName, TextLength(windowName))))
    return false;
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC enumProc, LPARAM lParam) {
  if (enumProc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HWND root = parent != nullptr ? parent : DesktopWindow().handle;
  if (WindowOf(root) == nullptr) return FALSE;
  EnumerateDescendants(root, enumProc, lParam);
  return TRUE;
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
  const Window* window = parent != nullptr ? WindowOf(parent) : &DesktopWindow();
  if (window == nullptr) return nullptr;
  const auto& children = window->children;
  auto it = children.begin();
  if (childAfter != nullptr) {
    it = std::find(children.begin(), children.end(), childAfter);
    if (it == children.end()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    ++it;
  }
  for (; it != children.end(); ++it)
    if (const Window* child = FindWindowObject(*it); child != nullptr && !child->destroying &&
                                                      Matches(*child, className, windowName))
      return *it;
  SetLastError(NO_ERROR);
  return nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) { return FindWindowExW(nullptr, nullptr, className, windowName); }

HWND GetDlgItem(HWND dialog, int id) {
  const Window* window = WindowOf(dialog);
  if (window == nullptr) return nullptr;
  for (HWND child : window->children)
    if (const Window* c = FindWindowObject(child); c != nullptr && c->id == static_cast<UINT_PTR>(static_cast<UINT>(id)))
      return child;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int GetDlgCtrlID(HWND handle) {
  const Window* window = WindowOf(handle);
  if (window == nullptr || !(window->style & WS_CHILD)) return 0;
  return static_cast<int>(window->id);
}
