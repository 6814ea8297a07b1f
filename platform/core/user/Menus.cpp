// Menus exist only as handles: a top-level window's menu bar, made with CreateMenu, takes its
// row in the frame (SM_CYMENU); nothing else about menus is modelled.
#include "core/user/WindowManager.h"

#include <mutex>
#include <unordered_set>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

struct MenuTable {
  std::mutex mutex;
  std::unordered_set<HMENU> live;
  std::uintptr_t next = 0x00900000;
};

MenuTable& Menus() {
  static MenuTable table;
  return table;
}

}  // namespace

HMENU CreateMenu() {
  MenuTable& table = Menus();
  std::lock_guard lock(table.mutex);
  HMENU menu = reinterpret_cast<HMENU>(table.next += 4);
  table.live.insert(menu);
  return menu;
}

BOOL DestroyMenu(HMENU menu) {
  MenuTable& table = Menus();
  std::lock_guard lock(table.mutex);
  if (table.live.erase(menu) == 0) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  MenuTable& table = Menus();
  std::lock_guard lock(table.mutex);
  return table.live.count(menu) != 0;
}

HMENU GetMenu(HWND handle) {
  const Window* window = WindowOf(handle);
  if (window == nullptr || (window->style & WS_CHILD)) return nullptr;
  return window->menu;
}
