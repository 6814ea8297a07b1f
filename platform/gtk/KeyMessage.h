// GTK key events as the platform's key messages, for the host's TranslateAccelerator and for
// the key state that GetKeyState reports.
#pragma once

#include <gdk/gdk.h>

#include <windows.h>

namespace gtkui {

// The virtual key of a GDK key value: letters (either case) 'A'-'Z', digits '0'-'9' (also
// the keypad's), F1-F24, and the named keys the platform's programs test (Tab, Return,
// Escape, arrows, Shift, Control, Alt ...); 0 for keys without one.
UINT VirtualKeyOf(guint keyval);

// WM_KEYDOWN / WM_KEYUP, or WM_SYSKEYDOWN / WM_SYSKEYUP while Alt is held (and for F10), for
// window, with the key data the platform packs into lParam (repeat count 1, scan code,
// context and transition bits). message is 0 for a key without a virtual key.
MSG KeyMessageOf(const GdkEventKey& event, HWND window);

// Keeps GetKeyState in step with the event: the key itself and the modifiers it carries.
void TrackKeyState(const GdkEventKey& event);

}  // namespace gtkui
