#include "gtk/KeyMessage.h"

#include "core/user/KeyboardState.h"

namespace gtkui {

namespace {

// Virtual keys without a name in the platform's headers here.
constexpr UINT kVkClear = 0x0C;
constexpr UINT kVkPause = 0x13;
constexpr UINT kVkCapital = 0x14;
constexpr UINT kVkSpace = 0x20;
constexpr UINT kVkPrior = 0x21;
constexpr UINT kVkNext = 0x22;
constexpr UINT kVkEnd = 0x23;
constexpr UINT kVkHome = 0x24;
constexpr UINT kVkLeft = 0x25;
constexpr UINT kVkUp = 0x26;
constexpr UINT kVkRight = 0x27;
constexpr UINT kVkDown = 0x28;
constexpr UINT kVkInsert = 0x2D;
constexpr UINT kVkDelete = 0x2E;
constexpr UINT kVkApps = 0x5D;
constexpr UINT kVkF10 = 0x79;

}  // namespace

UINT VirtualKeyOf(guint keyval) {
  const guint upper = gdk_keyval_to_upper(keyval);
  if (upper >= GDK_KEY_A && upper <= GDK_KEY_Z) return 'A' + (upper - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + (keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return '0' + (keyval - GDK_KEY_KP_0);
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return VK_F1 + (keyval - GDK_KEY_F1);
  switch (keyval) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: case GDK_KEY_KP_Tab: return VK_TAB;
    case GDK_KEY_Clear: return kVkClear;
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: case GDK_KEY_ISO_Enter: return VK_RETURN;
    case GDK_KEY_Shift_L: case GDK_KEY_Shift_R: return VK_SHIFT;
    case GDK_KEY_Control_L: case GDK_KEY_Control_R: return VK_CONTROL;
    case GDK_KEY_Alt_L: case GDK_KEY_Alt_R: case GDK_KEY_Meta_L: case GDK_KEY_Meta_R: return VK_MENU;
    case GDK_KEY_Pause: return kVkPause;
    case GDK_KEY_Caps_Lock: return kVkCapital;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: case GDK_KEY_KP_Space: return kVkSpace;
    case GDK_KEY_Page_Up: case GDK_KEY_KP_Page_Up: return kVkPrior;
    case GDK_KEY_Page_Down: case GDK_KEY_KP_Page_Down: return kVkNext;
    case GDK_KEY_End: case GDK_KEY_KP_End: return kVkEnd;
    case GDK_KEY_Home: case GDK_KEY_KP_Home: return kVkHome;
    case GDK_KEY_Left: case GDK_KEY_KP_Left: return kVkLeft;
    case GDK_KEY_Up: case GDK_KEY_KP_Up: return kVkUp;
    case GDK_KEY_Right: case GDK_KEY_KP_Right: return kVkRight;
    case GDK_KEY_Down: case GDK_KEY_KP_Down: return kVkDown;
    case GDK_KEY_Insert: case GDK_KEY_KP_Insert: return kVkInsert;
    case GDK_KEY_Delete: case GDK_KEY_KP_Delete: return kVkDelete;
    case GDK_KEY_Menu: return kVkApps;
    default: return 0;
  }
}

MSG KeyMessageOf(const GdkEventKey& event, HWND window) {
  MSG msg{};
  msg.hwnd = window;
  msg.time = event.time;
  const UINT key = VirtualKeyOf(event.keyval);
  if (key == 0) return msg;
  const bool up = event.type == GDK_KEY_RELEASE;
  const bool alt = (event.state & GDK_MOD1_MASK) != 0;
  const bool system = alt || key == kVkF10;
  msg.message = up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
  msg.wParam = key;
  // X key codes are the evdev scan codes plus 8.
  const DWORD scan = event.hardware_keycode >= 8 ? (event.hardware_keycode - 8) & 0xFF : 0;
  DWORD data = 1 | (scan << 16);
  if (alt) data |= 1u << 29;
  if (up) data |= 3u << 30;
  msg.lParam = static_cast<LPARAM>(static_cast<LONG>(data));
  return msg;
}

void TrackKeyState(const GdkEventKey& event) {
  // The state carries the modifiers as they were before this event.
  SetVirtualKeyDown(VK_SHIFT, (event.state & GDK_SHIFT_MASK) != 0);
  SetVirtualKeyDown(VK_CONTROL, (event.state & GDK_CONTROL_MASK) != 0);
  SetVirtualKeyDown(VK_MENU, (event.state & GDK_MOD1_MASK) != 0);
  if (const UINT key = VirtualKeyOf(event.keyval)) SetVirtualKeyDown(static_cast<int>(key), event.type == GDK_KEY_PRESS);
}

}  // namespace gtkui
