// The window manager's side of the thread's WH_CBT hooks: CreateWindowExW asks them about each
// new window before its first message.
#pragma once

#include <windows.h>

// Runs the calling thread's CBT hooks, newest first, with HCBT_CREATEWND; true when one of
// them refuses the window.
bool CreationRefusedByHooks(HWND window, CREATESTRUCTW* cs, HWND insertAfter);
