// GTK key events as the platform's key messages: the virtual keys that accelerators test
// (F5 above all), the same key whatever the case or keypad, and the key data of a release
// and of a key held with Alt.
#include <gtest/gtest.h>

#include "gtk/KeyMessage.h"

namespace {

TEST(KeyMessageTest, KeyValuesBecomeVirtualKeys) {
  struct Case {
    guint keyval;
    UINT key;
  } cases[] = {
      {GDK_KEY_F5, VK_F5},        {GDK_KEY_F1, VK_F1},         {GDK_KEY_F12, 0x7B},
      {GDK_KEY_a, 'A'},           {GDK_KEY_A, 'A'},            {GDK_KEY_z, 'Z'},
      {GDK_KEY_5, '5'},           {GDK_KEY_KP_5, '5'},         {GDK_KEY_Tab, VK_TAB},
      {GDK_KEY_ISO_Left_Tab, VK_TAB},  // Shift+Tab
      {GDK_KEY_Return, VK_RETURN}, {GDK_KEY_KP_Enter, VK_RETURN}, {GDK_KEY_Escape, VK_ESCAPE},
      {GDK_KEY_Shift_R, VK_SHIFT}, {GDK_KEY_Control_L, VK_CONTROL}, {GDK_KEY_Alt_L, VK_MENU},
      {GDK_KEY_Left, 0x25},       {GDK_KEY_Page_Down, 0x22},   {GDK_KEY_eacute, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(gtkui::VirtualKeyOf(c.keyval), c.key) << gdk_keyval_name(c.keyval);
}

TEST(KeyMessageTest, MessagesCarryThePlatformsKeyData) {
  GdkEventKey event{};
  event.type = GDK_KEY_PRESS;
  event.keyval = GDK_KEY_F5;
  event.hardware_keycode = 71;  // evdev 63 + 8
  const HWND window = reinterpret_cast<HWND>(0x1234);
  MSG message = gtkui::KeyMessageOf(event, window);
  EXPECT_EQ(message.hwnd, window);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(message.wParam, static_cast<WPARAM>(VK_F5));
  EXPECT_EQ(static_cast<DWORD>(message.lParam), 0x003F0001u);  // repeat 1, scan code 63

  event.type = GDK_KEY_RELEASE;
  event.state = GDK_MOD1_MASK;
  message = gtkui::KeyMessageOf(event, window);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_SYSKEYUP));
  EXPECT_EQ(static_cast<DWORD>(message.lParam), 0xE03F0001u);  // context (Alt), previous state, transition

  event.keyval = GDK_KEY_eacute;
  EXPECT_EQ(gtkui::KeyMessageOf(event, window).message, 0u) << "no virtual key, no message";
}

}  // namespace
