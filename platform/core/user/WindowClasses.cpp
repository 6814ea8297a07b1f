// Window classes. Names compare without regard to letter case; GetClassNameW reports the name
// as it was registered, which is how the system classes spell themselves ("Static",
// "ScrollBar", "#32770").
#include "core/user/WindowManager.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "core/kernel/CaseInsensitiveText.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

struct ClassTable {
  std::mutex mutex;
  std::vector<std::unique_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC100;
};

ClassTable& Classes() {
  static ClassTable table;
  return table;
}

WindowClass* FindLocked(ClassTable& table, LPCWSTR nameOrAtom) {
  if (nameOrAtom == nullptr) return nullptr;
  if (IS_INTRESOURCE(nameOrAtom)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    for (auto& c : table.classes)
      if (c->atom == atom) return c.get();
    return nullptr;
  }
  const std::u16string_view name(nameOrAtom, TextLength(nameOrAtom));
  for (auto& c : table.classes)
    if (EqualsIgnoringCase(c->name, name)) return c.get();
  return nullptr;
}

ATOM Register(const WindowClass& windowClass, ATOM fixedAtom) {
  ClassTable& table = Classes();
  std::lock_guard lock(table.mutex);
  if (FindLocked(table, windowClass.name.c_str()) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto added = std::make_unique<WindowClass>(windowClass);
  added->atom = fixedAtom != 0 ? fixedAtom : table.nextAtom++;
  const ATOM atom = added->atom;
  table.classes.push_back(std::move(added));
  return atom;
}

WindowClass SystemClass(const char16_t* name, WNDPROC procedure, UINT style, int windowExtra) {
  return WindowClass{name, 0, style, procedure, 0, windowExtra, nullptr, nullptr, nullptr, nullptr, nullptr, true};
}

}  // namespace

void EnsureSystemClasses() {
  static const bool registered = [] {
    Register(SystemClass(u"Button", ButtonProcedure, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, 0), 0);
    Register(SystemClass(u"Edit", EditProcedure, CS_DBLCLKS | CS_PARENTDC, 0), 0);
    Register(SystemClass(u"Static", StaticProcedure, CS_DBLCLKS | CS_PARENTDC, 0), 0);
    Register(SystemClass(u"ListBox", ListBoxProcedure, CS_DBLCLKS | CS_PARENTDC, 0), 0);
    Register(SystemClass(u"ScrollBar", ScrollBarProcedure, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, 0), 0);
    // The dialog class's atom is the number WC_DIALOG stands for.
    Register(SystemClass(u"#32770", DefDlgProcW, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA),
             static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(WC_DIALOG)));
    return true;
  }();
  (void)registered;
}

const WindowClass* FindWindowClass(LPCWSTR nameOrAtom) {
  EnsureSystemClasses();
  ClassTable& table = Classes();
  std::lock_guard lock(table.mutex);
  return FindLocked(table, nameOrAtom);
}

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXW) || windowClass->lpszClassName == nullptr ||
      IS_INTRESOURCE(windowClass->lpszClassName) || windowClass->lpfnWndProc == nullptr ||
      windowClass->cbWndExtra < 0 || windowClass->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  EnsureSystemClasses();
  WindowClass added{windowClass->lpszClassName,
                    0,
                    windowClass->style,
                    windowClass->lpfnWndProc,
                    windowClass->cbClsExtra,
                    windowClass->cbWndExtra,
                    windowClass->hInstance,
                    windowClass->hIcon,
                    windowClass->hIconSm,
                    windowClass->hCursor,
                    windowClass->hbrBackground,
                    false};
  return Register(added, 0);
}

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
  if (windowClass == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW extended{sizeof(WNDCLASSEXW), windowClass->style, windowClass->lpfnWndProc, windowClass->cbClsExtra,
                       windowClass->cbWndExtra, windowClass->hInstance, windowClass->hIcon, windowClass->hCursor,
                       windowClass->hbrBackground, windowClass->lpszMenuName, windowClass->lpszClassName, nullptr};
  return RegisterClassExW(&extended);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  ClassTable& table = Classes();
  std::lock_guard lock(table.mutex);
  WindowClass* found = FindLocked(table, className);
  if (found == nullptr || found->system) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  // Windows of the class may still point at it; the record stays, under a name no lookup
  // can match.
  found->name.insert(0, 1, u'\0');
  found->atom = 0;
  return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* info) {
  const WindowClass* found = FindWindowClass(className);
  if (found == nullptr || info == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  *info = WNDCLASSEXW{sizeof(WNDCLASSEXW), found->style, found->procedure, found->classExtra, found->windowExtra,
                      found->instance, found->icon, found->cursor, found->background, nullptr,
                      found->name.c_str(), found->smallIcon};
  return found->atom;
}

int GetClassNameW(HWND handle, LPWSTR className, int maxCount) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return 0;
  if (className == nullptr || maxCount <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string name = window->windowClass != nullptr ? window->windowClass->name : u"#32769";
  const int n = std::min<int>(static_cast<int>(name.size()), maxCount - 1);
  name.copy(className, static_cast<std::size_t>(n));
  className[n] = 0;
  return n;
}
