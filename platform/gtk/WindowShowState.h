// What the window manager's state of a GTK window means for the platform's window: shown
// normally, minimised or maximised, and so which kind of WM_SIZE its size change gives.
#pragma once

#include <gdk/gdk.h>

#include <windows.h>

namespace gtkui {

enum class WindowShowState { Normal, Minimized, Maximized };

// Iconified wins over everything (a maximised window can be iconified); maximised and full
// screen are both maximised; tiled, sticky, focused and the rest are normal.
WindowShowState ShowStateOf(GdkWindowState state);

// Brings the platform's window to the state and client rectangle (screen coordinates) that
// GTK reports, through the platform's own paths so that the window receives what a user's
// minimise, maximise, restore or resize would send it: ShowWindow for the state, then
// SetWindowPos for the size and place, whose WM_SIZE carries the kind of the state
// (SIZE_MINIMIZED, SIZE_MAXIMIZED, SIZE_RESTORED). A minimised window keeps its rectangle;
// nothing is sent for what already holds.
void ApplyGtkWindowState(HWND window, WindowShowState state, const RECT* clientOnScreen);

}  // namespace gtkui
