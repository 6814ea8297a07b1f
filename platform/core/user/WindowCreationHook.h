// A hook that sees each new window before its first message, as the platform's CBT hook does
// with HCBT_CREATEWND: the framework attaches its window objects here, so that WM_NCCREATE
// already reaches them. One hook per thread.
#pragma once

#include <windows.h>

typedef void (*WindowCreationHook)(HWND window, CREATESTRUCTW* cs);

// Answers the hook it replaces.
WindowCreationHook SetWindowCreationHook(WindowCreationHook hook);
