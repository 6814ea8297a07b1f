// Sizing a window the way the user does it, for the presenter: a drag of a border or of a
// size grip. The platform runs a sizing loop on WM_SYSCOMMAND SC_SIZE; headless, that command
// goes to a handler the presenter installs (to start its own drag), and each step of the
// drag comes back through SizeWindowByUser.
#pragma once

#include <windows.h>

// WM_ENTERSIZEMOVE; WM_SIZING with the edge (WMSZ_*) and the proposed rectangle in screen
// coordinates, which the window may change; the tracking limits of WM_GETMINMAXINFO, the
// dragged edges giving way; the move; WM_EXITSIZEMOVE. FALSE for a window that is not there
// or is minimised or maximised.
BOOL SizeWindowByUser(HWND window, UINT edge, RECT proposed);

// Called for WM_SYSCOMMAND SC_SIZE with the window and the edge (0 when the command names
// none). Answers the handler it replaces; null: the command does nothing.
typedef void (*SizeLoopHandler)(HWND window, UINT edge);
SizeLoopHandler SetSizeLoopHandler(SizeLoopHandler handler);
