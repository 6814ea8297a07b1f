// The dialog manager's focus moves between a dialog's controls (WM_NEXTDLGCTL).
#pragma once

#include <windows.h>

// WM_NEXTDLGCTL: with LOWORD(lParam) nonzero, wParam is the control to focus; otherwise the
// focus moves to the next tab stop (wParam 0) or the previous one (wParam nonzero) after the
// control that has it, wrapping around. Tab stops are the visible, enabled descendants with
// WS_TABSTOP, looking into children that are WS_EX_CONTROLPARENT.
LRESULT MoveDialogFocus(HWND dialog, WPARAM wParam, LPARAM lParam);
