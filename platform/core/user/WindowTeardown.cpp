#include "core/user/WindowTeardown.h"

#include "core/user/WindowManager.h"

bool IsBeingDestroyed(HWND window) {
  for (const Window* w = FindWindowObject(window); w != nullptr; w = FindWindowObject(w->parent))
    if (w->destroying) return true;
  return false;
}
