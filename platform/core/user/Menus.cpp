// Menus exist only as handles: a top-level window's menu bar, made with CreateMenu, takes its
// row in the frame (SM_CYMENU); nothing else about menus is modelled.
#include "core/user/WindowManager.h"

#include "core/kernel/HandleTable.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

// Nothing is kept about a menu but that it exists.
struct MenuObject {};

core::HandleTable<HMENU, MenuObject>& Menus() {
  static auto* table = core::HandleTable<HMENU, MenuObject>::Make(0x00900004, 4, ERROR_INVALID_MENU_HANDLE);
  return *table;
}

}  // namespace

HMENU CreateMenu() { return Menus().Add(MenuObject{}); }

BOOL DestroyMenu(HMENU menu) {
  if (!Menus().Remove(menu)) {
    Menus().ReportBadHandle();
    return FALSE;
  }
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return Menus().Find(menu) != nullptr; }

HMENU GetMenu(HWND handle) {
  const Window* window = WindowOf(handle);
  if (window == nullptr || (window->style & WS_CHILD)) return nullptr;
  return window->menu;
}
